#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel {

// One team the Global Edit dialog offers.
struct TeamChoice {
    std::string name; // without the NULs and spaces that pad it in the league file
    int teamId = 0;
};

// The distinct team names of the Team table in name order, each with the TeamID of its first row
// in table order. Names are compared without their padding, so "Bears" padded with spaces and
// "Bears" padded with NULs are one team, and a name of padding only is left out, as an empty one
// is. The caller adds "All" and "Free Agents".
// Throws LeagueError naming the working database when it cannot be read.
std::vector<TeamChoice> ReadTeamChoices(const std::filesystem::path& workingDb);

} // namespace tavrel
