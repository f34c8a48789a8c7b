#pragma once

#include "league/League.h"
#include "safety/LeagueBackups.h"
#include "store/CellChanges.h"

#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

class LeagueLock;
class WorkingDatabaseLock;

// How a session may treat the league it opened.
enum class LeagueAccess {
    // The league's lock is held and its player file copied to the .sw$ backup: the working copy
    // may change, and saves and restores write the league's own player file.
    Write,
    // The league's files are only read: the working copy may change, and goes out only into
    // another player file (SaveAs).
    Copy,
    // Nothing changes: no lock, no backup, no change to the working copy, no file written.
    Read,
};

struct SessionOptions {
    LeagueAccess access = LeagueAccess::Write;
    // How the holder of a lock names itself to other writers ("Tavrel", "tavrel-cli").
    std::string program = "Tavrel";
    // False opens without reading the player file, for a restore that must work when the player
    // file is broken or gone; League() then holds no records.
    bool importPlayers = true;
    Progress* progress = nullptr;
    // False: the .sw$ copy of a Write session is made by its first Save instead of at open, so a
    // command that ends without saving (its input refused) leaves the last one as it was.
    bool backUpAtOpen = true;
    // A change made to every player row as the league is imported (see LoadLeague).
    ImportedRowEdit importEdit = {};
};

// What RestorePlayerFile did.
struct RestoreOutcome {
    std::filesystem::path restoredFrom;
    std::optional<std::filesystem::path> keptAs; // the dated backup of the file it replaced
};

// One league's life cycle, the same for the window and every command of tavrel-cli: open (lock,
// .sw$ backup, import into the session's own working database), change, save in place (dated
// backup first, then the safe save), save into another player file, restore a backup, recover
// after a crash, close. Each step is done here, in this order, and nowhere else. A session that
// may not do a step (read only, say) refuses it with one LeagueError and changes nothing.
// The working database is the caller's choice: one per league (WorkingDatabaseFor) lets one user
// keep several leagues open; tavrel-cli uses a private one per run. It is locked against other
// programs for the session's life.
class LeagueSession {
public:
    // Opens `leagueFile` into `workingDb`. Throws LeagueError: no such league, the working
    // database in use by another program, the league locked by another writer (named), a backup
    // or import that failed.
    LeagueSession(const std::filesystem::path& leagueFile, const std::filesystem::path& workingDb,
                  const SessionOptions& options);
    // Takes up the unsaved changes a working database holds after the program ended without
    // saving them (CheckForUnsavedChanges): the working database and league locks are taken and
    // the rows kept as they are. Throws LeagueError, changing nothing, when either lock is held
    // or the changes cannot be recovered (see RecoverLeague); they are then still there.
    static std::unique_ptr<LeagueSession> Recover(const std::filesystem::path& workingDb,
                                                  std::string program,
                                                  Progress* progress = nullptr);
    ~LeagueSession(); // lets go of the locks
    LeagueSession(const LeagueSession&) = delete;
    LeagueSession& operator=(const LeagueSession&) = delete;

    LeagueAccess Access() const { return options_.access; }
    bool IsReadOnly() const { return options_.access == LeagueAccess::Read; }
    const std::filesystem::path& LeagueFile() const { return league_.leagueFile; }
    const std::filesystem::path& WorkingDb() const { return workingDb_; }
    const LoadedLeague& League() const { return league_; }

    // Writes one side of a change set into the working copy, as one transaction: all of it or,
    // when it fails, none. Refused in read-only sessions.
    void Apply(const CellChanges& changes, CellSide side = CellSide::After);
    // Runs a bulk pass (Global Edit) that writes the working copy itself. Refused in read-only
    // sessions before the pass runs.
    void Edit(const std::string& operation,
              const std::function<void(const std::filesystem::path& workingDb)>& pass);
    // Notes whether the working copy differs from the player file, for recovery after a crash.
    // A read-only session notes nothing: it never has anything to recover.
    void NoteUnsavedChanges(bool unsaved);

    // Saves the working copy into the league's player file: a dated backup of the file first
    // (never rotating away the backup this session was restored from), then the safe save.
    // `beforeReplace` runs once the new file is on disk, just before it replaces the old one
    // (a command prints its report there: a failed save then prints none). Returns the records
    // written. Only in Write sessions.
    std::size_t Save(const std::function<void()>& beforeReplace = {});
    // Saves the working copy into another player file. When that file is another league's player
    // file (a lock beside it, or its league file), that league's lock is taken and its dated
    // backup kept first. The league's own files are refused. Refused in read-only sessions.
    std::size_t SaveAs(const std::filesystem::path& playerFile,
                       const std::function<void()>& beforeReplace = {});

    // A backup file, or its number in the list of backups (1 = newest), looked up under the
    // session's lock so that no save in between shifts the numbers.
    std::filesystem::path ChooseBackup(const std::string& fileOrNumber) const;
    // Why the backup may not be this league's (see DoubtsAboutBackup); empty when none.
    std::vector<std::string> DoubtsAbout(const PlayerFileImage& backup) const;
    // Puts a backup in place of the league's player file on disk (tavrel-cli restore): it must be
    // a whole player file; with doubts about it (another league's, it seems) it is refused unless
    // `force`. Write sessions only. The working copy is not re-read.
    RestoreOutcome RestorePlayerFile(const std::filesystem::path& backupFile, bool force);
    // Loads a backup into the working copy, for the window's Restore Backup (Save then writes
    // it): the cell changes that make it, when they say everything (the caller applies them as
    // one step to undo), or nothing after the backup was imported whole. Write sessions only.
    std::optional<CellChanges> LoadBackup(const std::filesystem::path& backupFile);

private:
    LeagueSession(const std::filesystem::path& workingDb, SessionOptions options);
    void Require(LeagueAccess least, const std::string& operation) const;
    void LockWorkingDatabase(const std::string& operation);
    // Waits for the .sw$ copy begun at open, or makes it when it failed or was never begun;
    // throws LeagueError when it cannot be made.
    void SettleBackup();

    SessionOptions options_;
    std::filesystem::path workingDb_;
    LoadedLeague league_;
    std::unique_ptr<WorkingDatabaseLock> workingDbLock_;
    std::unique_ptr<LeagueLock> leagueLock_;
    std::optional<std::filesystem::path> restoredFrom_;
    bool swapBackupTaken_ = false;
    // The .sw$ copy being made since the league was opened; last, so that closing waits for it
    // before the locks go.
    std::future<void> backup_;
};

// The working database of one league in `folder`, named after the league's full path:
// "Tavrel-<league name>-<8 hex digits>.tmp", so that one user may keep several leagues open.
std::filesystem::path WorkingDatabaseFor(const std::filesystem::path& folder,
                                         const std::filesystem::path& leagueFile);

// The working databases in `folder` that hold unsaved changes of a league (a program that
// ended without saving them), whether or not they can still be recovered.
std::vector<std::filesystem::path>
WorkingDatabasesWithUnsavedChanges(const std::filesystem::path& folder);

// Drops the unsaved changes a working database holds: it is no longer offered for recovery.
void DiscardUnsavedChanges(const std::filesystem::path& workingDb);

// The league whose player file `playerFile` is, judged from beside it: a lock file of a league
// or a league file whose name gives this player file. Nothing for a file of no league.
std::optional<std::filesystem::path> LeagueOfPlayerFile(const std::filesystem::path& playerFile);

} // namespace tavrel
