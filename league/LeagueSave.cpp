#include "league/LeagueSave.h"

#include "league/LeagueBackups.h"
#include "league/LeagueError.h"
#include "league/LeagueOrigin.h"
#include "league/LeaguePaths.h"

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
    LeagueOrigin origin{leagueFile, league.playerFile, StampPlayerFile(league.playerFile), true};
    WriteLeagueOrigin(workingDb, origin);
    return league;
}

} // namespace tavrel
