#pragma once

#include "store/PlayersTable.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// One entry of the window's team list.
struct TeamChoice {
    std::string name; // TeamName without its padding
    int teamId = 0;
};

// The teams of the working database in name order, each distinct non-empty name once with the
// TeamID of its first row in table order. Throws LeagueError naming the database on failure.
std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb);

// The names of the league's team numbers, for texts that name a player's team: 0 is the free
// agents, a number the Team table holds has the name of its first row (without padding).
class TeamNames {
public:
    // The Team table of the working database. Throws LeagueError naming the database.
    static TeamNames Read(const std::filesystem::path& workingDb);
    // A number's first name counts; later ones are ignored, as the lists ignore them.
    void Add(int teamId, std::string name);
    // "Free Agents" for 0, the team's name, or nothing for a number no team has.
    std::optional<std::string> Name(int teamId) const;
    // "Bears (1)", "Free Agents (0)", or "team 40" for a number no team has.
    std::string Shown(int teamId) const;

private:
    std::map<int, std::string> names_;
};

// A value in the user's words where the number stands for something: the team's name and number
// for Team ("Bears (1)"), the position's abbreviation for Position ("QB"; "position code 20" for
// a number no position has). Nothing for any other column or a value that is not a number.
std::optional<std::string> NamedValue(int playersColumn, const Value& value,
                                      const TeamNames& teams);

} // namespace tavrel
