#include "store/TeamChoices.h"

#include "base/LeagueError.h"
#include "store/ListingDatabase.h"
#include "store/Text.h"

#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {

std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb) {
    try {
        SQLite::Database db = OpenForListing(workingDb);
        SQLite::Statement query(db, "SELECT TeamID, TeamName FROM Team "
                                    "ORDER BY UNPADDED(TeamName) COLLATE NOCASE, rowid");
        std::vector<TeamChoice> teams;
        while (query.executeStep()) {
            if (query.getColumn(1).isNull())
                continue;
            std::string name = WithoutTrailingPadding(query.getColumn(1).getString());
            if (name.empty() || (!teams.empty() && teams.back().name == name))
                continue;
            teams.push_back({std::move(name), query.getColumn(0).getInt()});
        }
        return teams;
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the teams of", workingDb, e);
    }
}

} // namespace tavrel
