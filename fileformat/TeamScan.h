#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace tavrel {

// A team record of the league file follows the marker "TMS:" and one byte that is skipped:
// 7 bytes not read, the team name (20), the coach (30) and the team number (1).
inline constexpr std::size_t kTeamRecordSize = 58;

struct TeamRecord {
    int teamId = 0;
    std::string teamName; // all 20 characters, padding included, as UTF-8
    std::string coach;    // all 30 characters
};

// Decodes one team record; text is taken whole from Windows-1252.
TeamRecord ReadTeamRecord(std::span<const std::uint8_t, kTeamRecordSize> record);

// The team records of a league file, in the order their markers appear. The scan matches the
// marker byte by byte, and a byte that breaks a partial match is consumed, so a "T" right before a
// marker hides it, and the scan resumes after each team record, so a marker inside one is not seen.
// A file that ends inside a marker, the skipped byte or a team record ends the scan; the incomplete
// record gives no team.
std::vector<TeamRecord> ScanTeamRecords(std::span<const std::uint8_t> leagueFile);

// Reads the league file and appends one Team row per team record to `db`, in file order, within
// whatever transaction the caller holds. Returns the number of teams. Throws LeagueError naming
// the league file (missing, a folder, unreadable) or the database.
std::size_t LoadTeams(const std::filesystem::path& leagueFile, SQLite::Database& db);

} // namespace tavrel
