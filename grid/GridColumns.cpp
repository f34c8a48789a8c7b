#include "grid/GridColumns.h"

#include "store/PlayersTable.h"
#include "store/Vocabulary.h"

#include <array>

namespace tavrel::grid {
namespace {

// Grid column of each rating's actual, by rating index (record order); its potential stands next.
const std::array<int, kRatingCount>& ActualColumnsOfRatings() {
    static const std::array<int, kRatingCount> columns = [] {
        std::array<int, kRatingCount> c{};
        int next = kFirstRatingColumn;
        for (const RatingBand& band : kRatingBands)
            for (const std::string_view code : band) {
                c[static_cast<std::size_t>(*RatingIndex(code))] = next;
                next += 2;
            }
        return c;
    }();
    return columns;
}

} // namespace

const std::vector<GridColumn>& GridColumns() {
    static const std::vector<GridColumn> columns = [] {
        const auto at = [](const std::string& name) { return *PlayersColumnIndex(name); };
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
        c.resize(kGridColumnCount);
        for (int k = 0; k < kRatingCount; ++k) {
            const std::string code(kRatings[k].code);
            const int actual = at(ActualColumn(k)), potential = at(PotentialColumn(k));
            c[static_cast<std::size_t>(ActualGridColumn(k))] = {code, ColumnCaption(actual), actual,
                                                                GridColumnKind::Number, true};
            c[static_cast<std::size_t>(PotentialGridColumn(k))] = {
                code + " pot.", ColumnCaption(potential), potential, GridColumnKind::Number, true};
        }
        return c;
    }();
    return columns;
}

bool IsRatingColumn(int gridColumn) {
    return gridColumn >= kFirstRatingColumn && gridColumn < kGridColumnCount;
}

int ActualGridColumn(int ratingIndex) {
    return ActualColumnsOfRatings().at(static_cast<std::size_t>(ratingIndex));
}

int PotentialGridColumn(int ratingIndex) {
    return ActualGridColumn(ratingIndex) + 1;
}

bool IsNameColumn(int gridColumn) {
    return gridColumn >= kTeamColumn && gridColumn <= kFirstNameColumn;
}

std::string_view ColumnKey(int gridColumn) {
    return kPlayersColumns[static_cast<std::size_t>(GridColumns()
                                                        .at(static_cast<std::size_t>(gridColumn))
                                                        .playersColumn)]
        .name;
}

std::optional<int> GridColumnAtFormerPosition(int position) {
    if (position < 0 || position >= kGridColumnCount)
        return std::nullopt;
    if (position < kFirstRatingColumn)
        return position;
    const int k = position - kFirstRatingColumn;
    return k < kRatingCount ? ActualGridColumn(k) : PotentialGridColumn(k - kRatingCount);
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

std::optional<int> GridColumnNamed(std::string_view playersColumnName) {
    const std::optional<int> players = PlayersColumnIndex(playersColumnName);
    return players ? GridColumnOf(*players) : std::nullopt;
}

} // namespace tavrel::grid
