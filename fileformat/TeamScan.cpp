#include "fileformat/TeamScan.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/Windows1252.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {
namespace {

constexpr std::uint8_t kMarker[] = {'T', 'M', 'S', ':'};

std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    return DecodeWindows1252(
        std::string_view(reinterpret_cast<const char*>(bytes.data() + offset), width));
}

} // namespace

TeamRecord ReadTeamRecord(std::span<const std::uint8_t, kTeamRecordSize> record) {
    return TeamRecord{record[57], TextAt(record, 7, 20), TextAt(record, 27, 30)};
}

std::vector<TeamRecord> ScanTeamRecords(std::span<const std::uint8_t> file) {
    std::vector<TeamRecord> teams;
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t matched = 0;
        // Each byte read either extends the match or ends this attempt; it is never tested again.
        while (matched < sizeof kMarker && pos < file.size() && file[pos++] == kMarker[matched])
            ++matched;
        if (matched < sizeof kMarker)
            continue;
        const std::size_t record = pos + 1; // past the skipped byte
        if (record > file.size() || file.size() - record < kTeamRecordSize)
            break;
        teams.push_back(ReadTeamRecord(file.subspan(record).first<kTeamRecordSize>()));
        pos = record + kTeamRecordSize;
    }
    return teams;
}

std::size_t LoadTeams(const std::filesystem::path& leagueFile, SQLite::Database& db) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(leagueFile, "Reading the league file");
    const std::vector<TeamRecord> teams = ScanTeamRecords(bytes);
    try {
        SQLite::Statement insert(db, "INSERT INTO Team (TeamID, TeamName, Coach) VALUES (?, ?, ?)");
        for (const TeamRecord& team : teams) {
            insert.bind(1, team.teamId);
            insert.bind(2, team.teamName);
            insert.bind(3, team.coach);
            insert.exec();
            insert.reset();
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Adding the teams to the working database", db.getFilename(), e);
    }
    return teams.size();
}

} // namespace tavrel
