#pragma once

#include <filesystem>
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

} // namespace tavrel
