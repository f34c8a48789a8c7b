#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel {

// One team the Global Edit dialog offers.
struct TeamChoice {
    std::string name; // as stored, trailing NULs removed
    int teamId = 0;
};

// The distinct team names of the Team table in name order, each with the TeamID of its first row
// in table order; rows with an empty name are left out. The caller adds "All" and "Free Agents".
// Throws LeagueError naming the working database when it cannot be read.
std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb);

} // namespace tavrel
