#include "globaledit/TeamChoices.h"

#include "league/LeagueError.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {
namespace {

// A team name without the NULs and spaces that fill its field in the league file.
std::string WithoutPadding(std::string name) {
    const std::size_t end = name.find_last_not_of(std::string_view("\0 ", 2));
    name.erase(end == std::string::npos ? 0 : end + 1);
    return name;
}

} // namespace

std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb) {
    const char* operation = "Reading the team list from";
    std::vector<TeamChoice> choices;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        // rowid keeps rows of equal names in table order, so the first row's TeamID is taken.
        SQLite::Statement query(db, "SELECT TeamID, TeamName FROM Team ORDER BY TeamName, rowid");
        std::string previous;
        while (query.executeStep()) {
            const SQLite::Column column = query.getColumn(1);
            const std::string name = WithoutPadding(column.isNull() ? "" : column.getString());
            if (name == previous)
                continue;
            previous = name;
            if (query.getColumn(0).isNull())
                throw LeagueError(operation, workingDb, "the team \"" + name + "\" has no TeamID");
            choices.push_back({name, query.getColumn(0).getInt()});
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }
    return choices;
}

} // namespace tavrel
