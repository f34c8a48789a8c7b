#include "store/TeamChoices.h"

#include "base/LeagueError.h"
#include "store/ListingDatabase.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

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

TeamNames TeamNames::Read(const std::filesystem::path& workingDb) {
    try {
        SQLite::Database db = OpenForListing(workingDb);
        SQLite::Statement query(db, "SELECT TeamID, TeamName FROM Team ORDER BY rowid");
        TeamNames teams;
        while (query.executeStep())
            if (!query.getColumn(0).isNull() && !query.getColumn(1).isNull())
                teams.Add(query.getColumn(0).getInt(),
                          WithoutTrailingPadding(query.getColumn(1).getString()));
        return teams;
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the teams of", workingDb, e);
    }
}

void TeamNames::Add(int teamId, std::string name) {
    if (teamId != 0)
        names_.emplace(teamId, std::move(name));
}

std::optional<std::string> TeamNames::Name(int teamId) const {
    if (teamId == 0)
        return "Free Agents";
    const auto found = names_.find(teamId);
    if (found == names_.end())
        return std::nullopt;
    return found->second;
}

std::string TeamNames::Shown(int teamId) const {
    const std::optional<std::string> name = Name(teamId);
    return name ? *name + " (" + std::to_string(teamId) + ")" : "team " + std::to_string(teamId);
}

std::optional<std::string> NamedValue(int playersColumn, const Value& value,
                                      const TeamNames& teams) {
    static const int kTeam = *PlayersColumnIndex("Team");
    static const int kPosition = *PlayersColumnIndex("Position");
    const auto* number = std::get_if<std::int64_t>(&value);
    if (!number || (playersColumn != kTeam && playersColumn != kPosition))
        return std::nullopt;
    if (playersColumn == kTeam)
        return *number >= 0 && *number <= 255 ? teams.Shown(static_cast<int>(*number))
                                              : "team " + std::to_string(*number);
    if (*number >= 0 && *number < kPositionCount)
        return PositionText(static_cast<int>(*number));
    return "position code " + std::to_string(*number);
}

} // namespace tavrel
