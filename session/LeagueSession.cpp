#include "session/LeagueSession.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "fileformat/TeamScan.h"
#include "league/BackupChanges.h"
#include "league/LeagueSave.h"
#include "safety/LeagueLock.h"
#include "safety/LeagueOrigin.h"
#include "safety/PlayerFileBackup.h"
#include "store/WorkingDatabase.h"

#include <algorithm>
#include <future>
#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOpening = "Opening the league";

bool Exists(const fs::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

const char* AccessWords(LeagueAccess access) {
    return access == LeagueAccess::Read ? "the league is open read only"
                                        : "the league is open to be copied, not changed";
}

std::string Joined(const std::vector<std::string>& parts, const char* between) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : between) + part;
    return text;
}

} // namespace

LeagueSession::LeagueSession(const fs::path& workingDb, SessionOptions options)
    : options_(std::move(options)), workingDb_(workingDb) {}

LeagueSession::LeagueSession(const fs::path& leagueFile, const fs::path& workingDb,
                             const SessionOptions& options)
    : LeagueSession(workingDb, options) {
    league_.leagueFile = leagueFile;
    league_.playerFile = PlayerFilePath(leagueFile.native());
    struct stat info {};
    if (stat(leagueFile.c_str(), &info) != 0)
        throw LeagueError(kOpening, leagueFile, "no such league: the league file does not exist");
    LockWorkingDatabase(kOpening);
    if (options_.access == LeagueAccess::Write) {
        leagueLock_ = std::make_unique<LeagueLock>(leagueFile, options_.program);
        leagueLock_->Lock(kOpening);
        // The .sw$ copy is made on a thread of its own: the import only reads the player file
        // too, and the league shows without waiting for the copy to reach the disk. The first
        // save waits for it (SettleBackup), before anything replaces the player file.
        if (options_.importPlayers && options_.backUpAtOpen)
            backup_ =
                std::async(std::launch::async, [file = leagueFile] { BackUpPlayerFile(file); });
    }
    if (options_.importPlayers)
        league_ = LoadLeague(league_.playerFile, leagueFile, workingDb_, options_.progress,
                             options_.importEdit);
}

std::unique_ptr<LeagueSession> LeagueSession::Recover(const fs::path& workingDb,
                                                      std::string program, Progress* progress) {
    constexpr const char* operation = "Recovering the unsaved changes of";
    std::unique_ptr<LeagueSession> session(new LeagueSession(
        workingDb, SessionOptions{LeagueAccess::Write, std::move(program), true, progress}));
    session->swapBackupTaken_ = true; // taken when the league was opened before the crash
    session->LockWorkingDatabase(operation);
    const std::optional<RecoveryCheck> check = CheckForUnsavedChanges(workingDb);
    if (!check)
        throw LeagueError(operation, workingDb, "it holds no unsaved changes of a league");
    session->leagueLock_ =
        std::make_unique<LeagueLock>(check->origin.leagueFile, session->options_.program);
    session->leagueLock_->Lock(operation);
    session->league_ = RecoverLeague(workingDb);
    return session;
}

LeagueSession::~LeagueSession() = default;

void LeagueSession::SettleBackup() {
    if (backup_.valid()) {
        try {
            backup_.get();
            swapBackupTaken_ = true;
        } catch (const std::exception&) {
            // Tried once more below: a copy that still cannot be made stops the save.
        }
    }
    if (!swapBackupTaken_) {
        BackUpPlayerFile(league_.leagueFile);
        swapBackupTaken_ = true;
    }
}

void LeagueSession::LockWorkingDatabase(const std::string& operation) {
    workingDbLock_ = std::make_unique<WorkingDatabaseLock>(workingDb_);
    if (!workingDbLock_->TryLock())
        throw LeagueError(operation, workingDb_,
                          "the working database is in use by another running copy of the "
                          "program");
}

void LeagueSession::Require(LeagueAccess least, const std::string& operation) const {
    // Write allows everything, Copy all but writing the league's own files, Read nothing.
    const auto rank = [](LeagueAccess a) {
        return a == LeagueAccess::Write ? 2 : a == LeagueAccess::Copy ? 1 : 0;
    };
    if (rank(options_.access) < rank(least))
        throw LeagueError(operation, league_.leagueFile, AccessWords(options_.access));
}

void LeagueSession::Apply(const CellChanges& changes, CellSide side) {
    Require(LeagueAccess::Copy, "Changing the players of");
    WriteCellChanges(workingDb_, changes, side);
}

void LeagueSession::Edit(const std::string& operation,
                         const std::function<void(const fs::path&)>& pass) {
    Require(LeagueAccess::Copy, operation);
    pass(workingDb_);
}

void LeagueSession::NoteUnsavedChanges(bool unsaved) {
    if (options_.access == LeagueAccess::Write)
        MarkUnsavedChanges(workingDb_, unsaved);
}

std::size_t LeagueSession::Save(const std::function<void()>& beforeReplace) {
    Require(LeagueAccess::Write, "Saving the players into");
    SettleBackup();
    std::vector<fs::path> keep;
    if (restoredFrom_)
        keep.push_back(*restoredFrom_);
    return SaveLeagueInPlace(league_, workingDb_, options_.progress, keep, beforeReplace);
}

std::size_t LeagueSession::SaveAs(const fs::path& playerFile,
                                  const std::function<void()>& beforeReplace) {
    constexpr const char* operation = "Saving the players into";
    Require(LeagueAccess::Copy, operation);
    if (IsSameFile(playerFile, league_.leagueFile) || IsSameFile(playerFile, league_.playerFile))
        throw LeagueError(operation, playerFile,
                          "this is one of the league's own files; a copy goes into another file");
    // Another league's player file is that league's to guard: its lock, then its dated backup.
    std::unique_ptr<LeagueLock> otherLock;
    if (const std::optional<fs::path> other = LeagueOfPlayerFile(playerFile)) {
        otherLock = std::make_unique<LeagueLock>(*other, options_.program);
        otherLock->Lock(operation);
        KeepLeagueBackup(*other);
    }
    return SaveLeague(playerFile, league_, workingDb_, options_.progress, beforeReplace);
}

fs::path LeagueSession::ChooseBackup(const std::string& fileOrNumber) const {
    if (fileOrNumber.empty() || fileOrNumber.find_first_not_of("0123456789") != std::string::npos ||
        Exists(fileOrNumber))
        return fileOrNumber;
    const std::vector<LeagueBackup> backups = ListLeagueBackups(league_.leagueFile);
    const std::size_t digits = fileOrNumber.find_first_not_of('0');
    const bool inRange = digits != std::string::npos && fileOrNumber.size() - digits <= 6 &&
                         std::stoul(fileOrNumber) <= backups.size();
    if (!inRange)
        throw LeagueError(
            "Restoring the player file from a backup", LeagueBackupsFolder(league_.leagueFile),
            "there is no backup number " + fileOrNumber + " of this league (there " +
                (backups.size() == 1 ? "is " : "are ") + std::to_string(backups.size()) + ")");
    return backups[std::stoul(fileOrNumber) - 1].file;
}

std::vector<std::string> LeagueSession::DoubtsAbout(const PlayerFileImage& backup) const {
    std::optional<PlayerFileImage> current;
    std::optional<std::vector<int>> teamIds;
    try {
        current = ReadPlayerFile(league_.playerFile);
    } catch (const LeagueError&) {
    }
    try {
        const std::vector<std::uint8_t> bytes =
            ReadFileBytes(league_.leagueFile, "Reading the league file");
        teamIds.emplace();
        for (const TeamRecord& team : ScanTeamRecords(bytes))
            teamIds->push_back(team.teamId);
    } catch (const LeagueError&) {
    }
    return DoubtsAboutBackup(backup, current ? &*current : nullptr, teamIds ? &*teamIds : nullptr);
}

RestoreOutcome LeagueSession::RestorePlayerFile(const fs::path& backupFile, bool force) {
    constexpr const char* operation = "Restoring the player file from a backup";
    Require(LeagueAccess::Write, operation);
    if (backup_.valid())
        backup_.wait(); // the copy reads the player file that the restore replaces
    const PlayerFileImage backup = ReadBackupToRestore(backupFile);
    if (const std::vector<std::string> doubts = DoubtsAbout(backup); !doubts.empty() && !force)
        throw LeagueError(operation, backupFile,
                          "it does not look like a backup of this league: " + Joined(doubts, "; ") +
                              ". Nothing was restored; ask for it with --force if you are sure");
    restoredFrom_ = backupFile;
    return {backupFile, RestoreLeagueBackup(league_.leagueFile, backupFile, backup)};
}

std::optional<CellChanges> LeagueSession::LoadBackup(const fs::path& backupFile) {
    Require(LeagueAccess::Write, "Restoring the player file from a backup");
    const PlayerFileImage backup = ReadBackupToRestore(backupFile);
    std::optional<CellChanges> changes = ChangesToBackup(league_, workingDb_, backup);
    if (!changes)
        league_ = LoadLeagueBackup(league_.leagueFile, backupFile, workingDb_, options_.progress);
    restoredFrom_ = backupFile;
    return changes;
}

fs::path WorkingDatabaseFor(const fs::path& folder, const fs::path& leagueFile) {
    return folder / ("Tavrel-" + LeagueKey(leagueFile) + ".tmp");
}

std::vector<fs::path> WorkingDatabasesWithUnsavedChanges(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().native();
        if (name.starts_with("Tavrel") && name.ends_with(".tmp") &&
            CheckForUnsavedChanges(entry.path()))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void DiscardUnsavedChanges(const fs::path& workingDb) {
    MarkUnsavedChanges(workingDb, false);
}

std::optional<fs::path> LeagueOfPlayerFile(const fs::path& playerFile) {
    std::error_code ec;
    fs::path file = fs::weakly_canonical(playerFile, ec);
    if (ec)
        file = playerFile;
    const std::string name = file.native();
    if (!name.ends_with("ply"))
        return std::nullopt;
    const fs::path league = name.substr(0, name.size() - 3) + "lge";
    if (Exists(fs::path(name + ".lock")) || Exists(league))
        return league;
    return std::nullopt;
}

} // namespace tavrel
