#include "stats/RatingDistribution.h"

#include "base/LeagueError.h"
#include "store/PlayerRows.h"
#include "store/Vocabulary.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <vector>

namespace tavrel {
namespace {

void Take(const SQLite::Statement& select, int column, std::vector<std::int64_t>& values) {
    if (const SQLite::Column c = select.getColumn(column); c.isInteger()) {
        values.push_back(c.getInt64());
        return;
    }
    const Value v = ReadValue(select, column);
    if (const auto* n = std::get_if<std::int64_t>(&v))
        values.push_back(*n);
}

} // namespace

RatingSpread ReadRatingSpread(const std::filesystem::path& workingDb, const PlayerGroup& group,
                              int ratingIndex) {
    std::string sql = "SELECT " + ActualColumn(ratingIndex) + ", " + PotentialColumn(ratingIndex) +
                      " FROM Players WHERE 1";
    if (group.team)
        sql += " AND Team = :team";
    if (group.positionCode)
        sql += " AND Position = :position";
    std::vector<std::int64_t> actual, potential;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        SQLite::Statement select(db, sql);
        if (group.team)
            select.bind(":team", *group.team);
        if (group.positionCode)
            select.bind(":position", *group.positionCode);
        while (select.executeStep()) {
            Take(select, 0, actual);
            Take(select, 1, potential);
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the " + std::string(kRatings[ratingIndex].longName) +
                              " ratings from",
                          workingDb, e.what());
    }
    return {Summarise(actual), Summarise(potential)};
}

} // namespace tavrel
