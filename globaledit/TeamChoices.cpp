#include "globaledit/TeamChoices.h"

#include "league/LeagueError.h"
#include "store/Text.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {

std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb) {
    const char* operation = "Reading the team list from";
    std::vector<TeamChoice> choices;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        // rowid keeps rows of equal names in table order, so the first row's TeamID is taken.
        SQLite::Statement query(db, "SELECT TeamID, TeamName FROM Team ORDER BY TeamName, rowid");
        std::string previous;
        while (query.executeStep()) {
            const SQLite::Column name = query.getColumn(1);
            const std::string text = name.isNull() ? std::string() : name.getString();
            if (text == previous)
                continue;
            previous = text;
            if (query.getColumn(0).isNull())
                throw LeagueError(operation, workingDb, "the team \"" + text + "\" has no TeamID");
            std::string shown = text;
            choices.push_back({StripTrailingNulls(shown), query.getColumn(0).getInt()});
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }
    return choices;
}

} // namespace tavrel
