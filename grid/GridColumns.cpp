#include "grid/GridColumns.h"

#include "store/PlayersTable.h"
#include "store/Vocabulary.h"

#include <array>

namespace tavrel::grid {

const std::vector<GridColumn>& GridColumns() {
    static const std::vector<GridColumn> columns = [] {
        const auto at = [](const char* name) { return *PlayersColumnIndex(name); };
        std::vector<GridColumn> c = {
            {"Team", "", at("Team"), GridColumnKind::Team, true},
            {"PID", "", at("PID"), GridColumnKind::Number, false},
            {"Last Name", "", at("LastName"), GridColumnKind::Text, true},
            {"First Name", "", at("FirstName"), GridColumnKind::Text, true},
            {"Position", "", at("PositionTXT"), GridColumnKind::Text, false},
            {"Years", "", at("Years"), GridColumnKind::Number, false},
            {"Weight", "", at("Weight"), GridColumnKind::Number, false},
            {"College", "", at("College"), GridColumnKind::Text, false},
        };
        for (int k = 0; k < kRatingCount; ++k)
            c.push_back({std::string(kRatings[k].code),
                         "Actual " + std::string(kRatings[k].longName), at(ActualColumn(k).c_str()),
                         GridColumnKind::Number, true});
        for (int k = 0; k < kRatingCount; ++k)
            c.push_back({std::string(kRatings[k].code) + " pot.",
                         "Potential " + std::string(kRatings[k].longName),
                         at(PotentialColumn(k).c_str()), GridColumnKind::Number, true});
        return c;
    }();
    return columns;
}

bool IsRatingColumn(int gridColumn) {
    return gridColumn >= kFirstActualColumn && gridColumn < kGridColumnCount;
}

std::optional<int> GridColumnOf(int playersColumn) {
    static const std::array<int, kPlayersColumnCount> lookup = [] {
        std::array<int, kPlayersColumnCount> l;
        l.fill(-1);
        for (int g = 0; g < kGridColumnCount; ++g)
            l[static_cast<std::size_t>(GridColumns()[static_cast<std::size_t>(g)].playersColumn)] =
                g;
        return l;
    }();
    if (playersColumn < 0 || playersColumn >= kPlayersColumnCount ||
        lookup[static_cast<std::size_t>(playersColumn)] < 0)
        return std::nullopt;
    return lookup[static_cast<std::size_t>(playersColumn)];
}

} // namespace tavrel::grid
