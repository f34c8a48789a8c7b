#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

class PlayerFileImage;

// Dated copies of a league's player file, kept before every save of it, so that a save the user
// regrets can be undone. They live in "<base>/<league name>-<hash>/", the league name being the
// league file's name without its extension and the hash eight hex digits of its full path, and are
// named by a sequence number and the time they were taken (UTC, "000042-20261206-162518-123.ply").
// The sequence orders them, not the clock, which may be set back or change its zone: the newest
// backup is always the one taken last. Backups named by the time alone, as older versions named
// them, count as older than every numbered one. The newest kBackupsKept of each league are kept.
inline constexpr std::size_t kBackupsKept = 20;

// The folder that holds every league's backups: $TAVREL_BACKUP_DIR when set (tests, or a user who
// wants them elsewhere), otherwise "backups" in the per-user data folder of the window program
// (QStandardPaths::GenericDataLocation / "tavrel" / "backups", which is the window's
// AppDataLocation), the same for the window and tavrel-cli.
std::filesystem::path BackupsFolder();
std::filesystem::path LeagueBackupsFolder(const std::filesystem::path& leagueFile);

// "<league name>-<8 hex digits of the league file's full path>": what names a league's own files
// in folders shared by every league (its backups, its working database), so that leagues of one
// name in different folders (a league kept per season) never meet.
std::string LeagueKey(const std::filesystem::path& leagueFile);

struct LeagueBackup {
    std::filesystem::path file;
    std::uint64_t size = 0;
    std::chrono::system_clock::time_point taken;
    std::uint64_t sequence = 0; // 0 for a backup named by its time alone
};

// The league's backups, newest first. None when there are none (or no folder).
std::vector<LeagueBackup> ListLeagueBackups(const std::filesystem::path& leagueFile);

// Copies the league's player file as it is now into a new backup, then removes all but the newest
// kBackupsKept, never the new one nor any listed in `keep` (the backup the league being saved was
// restored from). New files of backups that a killed writer left in the folder are removed first.
// When the newest backup already holds the player file's bytes, it is not copied again.
// Returns the new backup (or that newest one), or nothing when there is no player file to keep yet.
// Callers: every save of the league's own player file, before it is replaced, under the league's
// lock. Throws LeagueError when the copy cannot be made (the save must then not go on).
std::optional<std::filesystem::path>
KeepLeagueBackup(const std::filesystem::path& leagueFile,
                 const std::vector<std::filesystem::path>& keep = {});

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

// Reads a file to restore as the league's player file: it must be a whole player file, its
// 12-byte header and nothing but whole records after it. Throws LeagueError naming the file and
// why it is not one.
PlayerFileImage ReadBackupToRestore(const std::filesystem::path& backupFile);

// Why a backup may not be this league's at all, one sentence each: its record count far from that
// of the league's player file (under half or over twice), or many of its players (over a tenth)
// on team numbers the league has no team for. Empty when it looks like the league's own.
// `current` is the league's player file and `leagueTeamIds` the team numbers of its league file,
// each when it can be read.
std::vector<std::string> DoubtsAboutBackup(const PlayerFileImage& backup,
                                           const PlayerFileImage* current,
                                           const std::vector<int>* leagueTeamIds);

// Puts a backup, read by ReadBackupToRestore, in place of the league's player file: keeps a
// backup of the player file it replaces (never rotating `backupFile` itself away), then replaces
// it whole or not at all. The caller holds the league's LeagueLock. Returns the backup of the
// replaced file (nothing when there was no player file). Throws LeagueError.
std::optional<std::filesystem::path> RestoreLeagueBackup(const std::filesystem::path& leagueFile,
                                                         const std::filesystem::path& backupFile,
                                                         const PlayerFileImage& backup);

} // namespace tavrel
