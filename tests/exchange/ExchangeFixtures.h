#pragma once

// Small leagues made byte by byte for the exchange tests: every player clean (actual below
// potential, ratings at most 99, names plain, on a listed team) unless a test spoils him.

#include "TestPlayers.h"
#include "fileformat/PlayerFile.h"
#include "fileformat/Windows1252.h"

#include <string>
#include <vector>

namespace tavrel::testing {

inline Bytes CleanHeader() {
    return {'P', 'L', 'Y', 0x1A, 2, 0, 12, 0, 0x6E, 0x01, 0xA5, 0x5A}; // record size 366
}

// A clean record: PID, team, Windows-1252 names padded with NULs, actual 50 and potential 60.
inline Bytes CleanRecord(int pid, int team, const std::string& first, const std::string& last) {
    Bytes r(kPlayerRecordSize, 0);
    r[0] = std::uint8_t(pid & 0xFF);
    r[1] = std::uint8_t((pid >> 8) & 0xFF);
    r[4] = std::uint8_t(team);
    Put(r, 8, EncodeWindows1252(first));
    Put(r, 23, EncodeWindows1252(last));
    Put(r, 48, "State   "); // padded with spaces, as an earlier save leaves it
    r[86] = 210;
    for (int k = 0; k < 24; ++k) {
        r[175 + 2 * k] = 50;
        r[243 + 2 * k] = 60;
        r[176 + 2 * k] = std::uint8_t(k + 1); // a byte no column carries
    }
    return r;
}

// Three players of team 1 and a free agent: PIDs 10, 11, 12 (twice: records 3 and 4).
inline std::vector<Bytes> FourPlayers() {
    return {CleanRecord(10, 1, "John", "Smith"), CleanRecord(11, 1, "José", "Muñoz"),
            CleanRecord(12, 1, "Al", "Jones"), CleanRecord(12, 0, "Bo", "Jones")};
}

// The bytes of a player file: header, records, then whatever follows the last record.
inline Bytes FileBytes(const std::vector<Bytes>& records, const Bytes& tail = {},
                       Bytes header = CleanHeader()) {
    for (const Bytes& r : records)
        Append(header, r);
    Append(header, tail);
    return header;
}

inline PlayerFileImage Image(const std::vector<Bytes>& records, const Bytes& tail = {},
                             const Bytes& header = CleanHeader()) {
    return PlayerFileImage(FileBytes(records, tail, header), "test.ply");
}

} // namespace tavrel::testing
