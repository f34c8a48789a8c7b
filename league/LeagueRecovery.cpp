#include "league/LeagueRecovery.h"

#include "league/LeagueError.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {
namespace {

constexpr const char* kRecovering = "Recovering the unsaved changes to";

// Import numbers the rows 1..N after the N records; a save drops the records of rows without an
// identifier, after which the saved file no longer lines up with the rows.
bool RowsMatchRecords(const std::filesystem::path& workingDb, std::size_t records) {
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        SQLite::Statement rows(db, "SELECT count(*), coalesce(max(rowid), 0) FROM Players");
        rows.executeStep();
        const auto count = static_cast<std::uint64_t>(rows.getColumn(0).getInt64());
        const auto last = static_cast<std::uint64_t>(rows.getColumn(1).getInt64());
        return count == records && last == records;
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kRecovering, workingDb, e.what());
    }
}

} // namespace

LoadedLeague ResumeLeague(const LeagueOrigin& origin, const std::filesystem::path& workingDb) {
    const std::filesystem::path& from =
        origin.recordsFile.empty() ? origin.playerFile : origin.recordsFile;
    LoadedLeague league{origin.leagueFile, origin.playerFile, ReadPlayerFile(from), 0};
    const PlayerFileStamp now = origin.recordsFile.empty()
                                    ? StampPlayerFile(origin.playerFile, league.image)
                                    : StampPlayerFile(origin.playerFile);
    if (now.size != origin.stamp.size || now.sha1 != origin.stamp.sha1)
        throw LeagueError(kRecovering, origin.playerFile,
                          "the player file has changed since they were made");
    if (!RowsMatchRecords(workingDb, league.image.RecordCount()))
        throw LeagueError(kRecovering, from,
                          "the working database no longer holds one row per record of this file");
    return league;
}

} // namespace tavrel
