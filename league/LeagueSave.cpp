#include "league/LeagueSave.h"

#include "league/LeagueBackups.h"
#include "league/LeagueError.h"
#include "league/LeagueOrigin.h"
#include "league/LeaguePaths.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

namespace tavrel {

void SaveLeagueInPlace(const LoadedLeague& league, const std::filesystem::path& workingDb,
                       Progress* progress) {
    KeepLeagueBackup(league.leagueFile);
    SaveLeague(league.playerFile, league, workingDb, progress);
    try {
        RecordSavedPlayerFile(workingDb);
    } catch (const LeagueError&) {
        // The save itself succeeded. Without an origin the database is never offered for
        // recovery, which is the safe side.
        std::error_code ignored;
        std::filesystem::remove(LeagueOriginFile(workingDb), ignored);
    }
}

LoadedLeague LoadLeagueBackup(const std::filesystem::path& leagueFile,
                              const std::filesystem::path& backupFile,
                              const std::filesystem::path& workingDb, Progress* progress) {
    LoadedLeague league = LoadLeague(backupFile, leagueFile, workingDb, progress);
    league.playerFile = PlayerFilePath(leagueFile.native());
    LeagueOrigin origin{leagueFile, league.playerFile, StampPlayerFile(league.playerFile), true,
                        backupFile};
    WriteLeagueOrigin(workingDb, origin);
    return league;
}

LoadedLeague RecoverLeague(const std::filesystem::path& workingDb) {
    constexpr const char* operation = "Recovering the unsaved changes of";
    const std::optional<RecoveryCheck> check = CheckForUnsavedChanges(workingDb);
    if (!check)
        throw LeagueError(operation, workingDb, "it holds no unsaved changes of a league");
    if (check->playerFileChanged)
        throw LeagueError(operation, workingDb,
                          "the league's player file \"" + check->origin.playerFile.native() +
                              "\" has changed since they were made");
    LoadedLeague league{check->origin.leagueFile, check->origin.playerFile,
                        ReadPlayerFile(check->origin.playerFile), 0};
    try {
        SQLite::Database db(workingDb.native(), SQLite::OPEN_READONLY);
        league.teamCount =
            static_cast<std::size_t>(db.execAndGet("SELECT COUNT(*) FROM Team").getInt64());
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }
    return league;
}

} // namespace tavrel
