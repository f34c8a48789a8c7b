#include "globaledit/GlobalEditRun.h"

#include "base/LeagueError.h"
#include "globaledit/PlayerSelection.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>

namespace tavrel {

std::vector<int> InCheckBoxOrder(std::span<const int> positionCodes) {
    std::vector<int> ordered;
    for (const int code : kGlobalEditPositionCodes)
        if (std::find(positionCodes.begin(), positionCodes.end(), code) != positionCodes.end())
            ordered.push_back(code);
    return ordered;
}

std::vector<EditedRatingMean> EditedRatingMeans(const std::filesystem::path& workingDb,
                                                int positionCode, const GlobalEditInputs& inputs) {
    const std::vector<int> edited = EditedRatings(inputs);
    std::string sql = "SELECT COUNT(*)";
    for (const int k : edited)
        sql += ", AVG(" + ActualColumn(k) + "), AVG(" + PotentialColumn(k) + ")";
    sql += " FROM Players" + SelectionCondition(inputs.team);

    std::vector<EditedRatingMean> means;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        SQLite::Statement select(db, sql);
        BindSelection(select, inputs.team, positionCode);
        if (!select.executeStep() || select.getColumn(0).getInt64() == 0)
            return means;
        for (std::size_t j = 0; j < edited.size(); ++j) {
            const int column = 1 + 2 * int(j);
            means.push_back({edited[j], select.getColumn(column).getDouble(),
                             select.getColumn(column + 1).getDouble()});
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the ratings of " + PositionText(positionCode) + " in", workingDb,
                          e);
    }
    return means;
}

} // namespace tavrel
