#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tavrel {

class PlayerFileImage;

// Dated copies of a league's player file, kept before every save of it, so that a save the user
// regrets can be undone. They live in "<base>/<league name>-<hash>/", the league name being the
// league file's name without its extension and the hash eight hex digits of its full path, and are
// named by the time they were taken (UTC, "20261206-162518-123.ply"). The newest kBackupsKept of
// each league are kept.
inline constexpr std::size_t kBackupsKept = 20;

// The folder that holds every league's backups: $TAVREL_BACKUP_DIR when set (tests, or a user who
// wants them elsewhere), otherwise "backups" in the per-user data folder of the window program
// (QStandardPaths::GenericDataLocation / "tavrel" / "backups", which is the window's
// AppDataLocation), the same for the window and tavrel-cli.
std::filesystem::path BackupsFolder();
std::filesystem::path LeagueBackupsFolder(const std::filesystem::path& leagueFile);

struct LeagueBackup {
    std::filesystem::path file;
    std::uint64_t size = 0;
    std::chrono::system_clock::time_point taken;
};

// The league's backups, newest first. None when there are none (or no folder).
std::vector<LeagueBackup> ListLeagueBackups(const std::filesystem::path& leagueFile);

// Copies the league's player file as it is now into a new backup, then removes all but the newest
// kBackupsKept. Returns the new backup, or nothing when there is no player file to keep yet.
// Callers: every save of the league's own player file, before it is replaced. Throws
// LeagueError when the copy cannot be made (the save must then not go on).
std::optional<std::filesystem::path> KeepLeagueBackup(const std::filesystem::path& leagueFile);

// How many players differ between two player files: records compared by their place in the file,
// plus every record one file has and the other has not.
std::size_t CountDifferingPlayers(const PlayerFileImage& a, const PlayerFileImage& b);

// One backup as the lists of backups show it: how many players differ from `current` (the
// player file as it is now, or as a save would write it); nothing when there is no `current` or
// the backup cannot be read.
struct BackupComparison {
    LeagueBackup backup;
    std::optional<std::size_t> differingPlayers;
};
// The league's backups, newest first, each compared with `current` (may be null).
std::vector<BackupComparison> CompareLeagueBackups(const std::filesystem::path& leagueFile,
                                                   const PlayerFileImage* current);

// Puts a backup in place of the league's player file: keeps a backup of the player file it
// replaces, then replaces it whole or not at all. The backup must be a player file (at least its
// header). The caller holds the league's LeagueLock. Returns the backup of the replaced file
// (nothing when there was no player file). Throws LeagueError.
std::optional<std::filesystem::path> RestoreLeagueBackup(const std::filesystem::path& leagueFile,
                                                         const std::filesystem::path& backupFile);

} // namespace tavrel
