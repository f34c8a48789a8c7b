#pragma once

#include <filesystem>

namespace tavrel {

// A league made by our own code, the same every time for the same options: teams with plausible
// names and coaches, players (free agents among them) with plausible names, positions and
// ratings. Some names are padded with spaces, some with NULs, some carry accented letters.
struct DemoLeagueOptions {
    int teams = 32;
    int players = 1700;
    unsigned seed = 1;
};

struct DemoLeagueFiles {
    std::filesystem::path leagueFile; // dir/Demo.lge
    std::filesystem::path playerFile; // dir/Demo.ply
};

// Writes Demo.lge and Demo.ply into `dir` (created if missing). Throws LeagueError on failure.
DemoLeagueFiles WriteDemoLeague(const std::filesystem::path& dir,
                                const DemoLeagueOptions& options = {});

} // namespace tavrel
