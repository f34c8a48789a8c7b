#include "league/LeagueSave.h"

#include "base/LeagueError.h"
#include "fileformat/LeaguePaths.h"
#include "safety/LeagueBackups.h"
#include "safety/LeagueOrigin.h"
#include "safety/SafeSave.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {

std::size_t SaveLeagueInPlace(const LoadedLeague& league, const std::filesystem::path& workingDb,
                              Progress* progress, const std::vector<std::filesystem::path>& keep,
                              const std::function<void()>& beforeReplace) {
    KeepLeagueBackup(league.leagueFile, keep);
    const std::size_t written =
        SaveLeague(league.playerFile, league, workingDb, progress, beforeReplace);
    try {
        RecordSavedPlayerFile(workingDb);
    } catch (const LeagueError&) {
        // The save itself succeeded. Without an origin the database is never offered for
        // recovery, which is the safe side.
        std::error_code ignored;
        std::filesystem::remove(LeagueOriginFile(workingDb), ignored);
    }
    return written;
}

std::filesystem::path RecordsCopyFile(const std::filesystem::path& workingDb) {
    return std::filesystem::path(workingDb) += ".records";
}

LoadedLeague LoadLeagueBackup(const std::filesystem::path& leagueFile,
                              const std::filesystem::path& backupFile,
                              const std::filesystem::path& workingDb, Progress* progress) {
    // The rows are built on the backup's records, and so is every later save and a recovery after
    // a crash; the rotation of backups may remove the backup itself, so they use a copy of it.
    const std::filesystem::path records = RecordsCopyFile(workingDb);
    CopyFileSafely(backupFile, records, "Keeping a copy of the backup beside the working database");
    LoadedLeague league = LoadLeague(records, leagueFile, workingDb, progress);
    league.playerFile = PlayerFilePath(leagueFile.native());
    LeagueOrigin origin{leagueFile, league.playerFile, StampPlayerFile(league.playerFile), true,
                        records};
    WriteLeagueOrigin(workingDb, origin);
    return league;
}

LoadedLeague RecoverLeague(const std::filesystem::path& workingDb) {
    constexpr const char* operation = "Recovering the unsaved changes of";
    const std::optional<RecoveryCheck> check = CheckForUnsavedChanges(workingDb);
    if (!check)
        throw LeagueError(operation, workingDb, "it holds no unsaved changes of a league");
    const LeagueOrigin& origin = check->origin;
    const std::string changed = "the league's player file \"" + origin.playerFile.native() +
                                "\" has changed since they were made";
    if (check->playerFileChanged)
        throw LeagueError(operation, workingDb, changed);
    // A save rebuilds each row on the record it was imported from: a restored backup's when the
    // rows came from one, else the player file's, which must still be the bytes checked.
    const std::filesystem::path& from =
        origin.recordsFile.empty() ? origin.playerFile : origin.recordsFile;
    LoadedLeague league{origin.leagueFile, origin.playerFile, ReadPlayerFile(from), 0};
    if (origin.recordsFile.empty() &&
        StampPlayerFile(origin.playerFile, league.image).hash != origin.stamp.hash)
        throw LeagueError(operation, workingDb, changed);
    const auto records = static_cast<std::int64_t>(league.image.RecordCount());
    try {
        SQLite::Database db(workingDb.native(), SQLite::OPEN_READONLY);
        league.teamCount =
            static_cast<std::size_t>(db.execAndGet("SELECT COUNT(*) FROM Team").getInt64());
        // Import numbers the rows 1..N; a save drops the records of rows without an identifier,
        // after which the saved file no longer lines up with the rows.
        SQLite::Statement rows(db, "SELECT count(*), coalesce(max(rowid), 0) FROM Players");
        rows.executeStep();
        if (rows.getColumn(0).getInt64() != records || rows.getColumn(1).getInt64() != records)
            throw LeagueError(operation, workingDb,
                              "its rows no longer match the records of \"" + from.native() +
                                  "\" one for one");
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }
    return league;
}

} // namespace tavrel
