#include "safety/PlayerFileBackup.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "safety/SafeSave.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

} // namespace

void BackUpPlayerFile(const fs::path& leagueFile) {
    constexpr const char* operation = "Backing up the player file";
    const fs::path playerFile = PlayerFilePath(leagueFile.native());
    const fs::path backup = BackupFilePath(leagueFile.native());
    if (IsSameFile(playerFile, leagueFile))
        throw LeagueError(operation, playerFile,
                          "the player file would be the league file itself; rename the league "
                          "so that it does not end in \"ply\"");
    if (IsSameFile(backup, leagueFile) || IsSameFile(backup, playerFile))
        throw LeagueError(operation, backup,
                          "the backup would overwrite one of the league's own files; rename the "
                          "league so that it does not end in \"sw$\"");
    // A link would have the copy written wherever it points.
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(backup, error)))
        throw LeagueError(operation, backup,
                          "the backup is a link, not a regular file; it was left alone");
    CopyFileSafely(playerFile, backup, operation);
}

} // namespace tavrel
