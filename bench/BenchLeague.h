#pragma once

#include "demo/DemoLeague.h"

#include <filesystem>

namespace tavrel {

inline constexpr int kBenchTeams = 32;
inline constexpr int kBenchPlayers = 32000;

// The full-size league the benchmarks use: the demo league of 32 teams and 32,000 players.
inline DemoLeagueFiles WriteBenchLeague(const std::filesystem::path& dir) {
    return WriteDemoLeague(dir, {kBenchTeams, kBenchPlayers, 1});
}

} // namespace tavrel
