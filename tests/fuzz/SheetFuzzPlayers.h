#pragma once

// The player file the sheet fuzz targets import into: three players, PIDs 10, 11 and 11.
#include "exchange/PlayerList.h"

#include <vector>

namespace tavrel::fuzz {

inline const PlayerList& Players() {
    static const PlayerList players = [] {
        std::vector<std::uint8_t> bytes = {'P', 'L', 'Y', 0x1A, 2, 0, 12, 0, 0x6E, 0x01, 0, 0};
        for (const int pid : {10, 11, 11}) {
            std::vector<std::uint8_t> record(kPlayerRecordSize, 0);
            record[0] = std::uint8_t(pid);
            record[8] = 'A';
            record[23] = 'B';
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        return PlayerList::FromFile(PlayerFileImage(std::move(bytes), "fuzz.ply"));
    }();
    return players;
}

} // namespace tavrel::fuzz
