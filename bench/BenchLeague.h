#pragma once

#include "league/DemoLeague.h"
#include "league/PlayerRecord.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavrel {

inline constexpr int kBenchTeams = 32;
inline constexpr int kBenchPlayers = 32767;

// The full-size league the benchmarks use: the demo league of 32 teams, its player file grown to
// 32,767 records (the demo generator stops at 32,000) with copies of its first records under new
// identifiers 32001 and up.
inline DemoLeagueFiles WriteBenchLeague(const std::filesystem::path& dir) {
    constexpr int kDemoPlayers = 32000;
    const DemoLeagueFiles files = WriteDemoLeague(dir, {kBenchTeams, kDemoPlayers, 1});
    std::string bytes;
    {
        std::ifstream in(files.playerFile, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (int n = 0; n < kBenchPlayers - kDemoPlayers; ++n) {
        std::string record =
            bytes.substr(kPlayerFileHeaderSize + n * kPlayerRecordSize, kPlayerRecordSize);
        const int id = kDemoPlayers + 1 + n;
        record[0] = static_cast<char>(id & 0xFF);
        record[1] = static_cast<char>(id >> 8);
        bytes += record;
    }
    std::ofstream(files.playerFile, std::ios::binary | std::ios::trunc) << bytes;
    return files;
}

} // namespace tavrel
