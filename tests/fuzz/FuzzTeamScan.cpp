// The team scan over any bytes: never reads outside them, and every team it finds is a whole
// record that followed a marker.
#include "fileformat/TeamScan.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::vector<tavrel::TeamRecord> teams = tavrel::ScanTeamRecords(file);
    // Each team takes its marker, the skipped byte and the record.
    if (teams.size() * (4 + 1 + tavrel::kTeamRecordSize) > size)
        std::abort();
    for (const tavrel::TeamRecord& team : teams)
        if (team.teamId < 0 || team.teamId > 255)
            std::abort();
    return 0;
}
