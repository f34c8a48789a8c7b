#include "ui/document/LeagueDocument.h"

#include "base/LeagueError.h"
#include "league/BackupChanges.h"
#include "league/LeagueLock.h"
#include "league/LeaguePaths.h"
#include "league/LeagueSave.h"
#include "league/PlayerFileBackup.h"
#include "league/ProgramInfo.h"
#include "store/WorkingDatabase.h"
#include "ui/main/ChangeCellsCommand.h"

#include <QTimer>
#include <QUndoStack>

namespace fs = std::filesystem;

namespace {
QString Text(const std::exception& e) {
    return QString::fromStdString(e.what());
}
QString Text(const fs::path& path) {
    return QString::fromStdString(path.string());
}
} // namespace

LeagueDocument::LeagueDocument(fs::path workingDirectory, QObject* parent)
    : QObject(parent), workingDirectory_(std::move(workingDirectory)),
      folderLock_(std::make_unique<tavrel::WorkingDatabaseLock>(WorkingDatabase())),
      history_(new QUndoStack(this)) {
    // Recovery after a crash looks for this mark: set while the league differs from its player
    // file, cleared when it is saved or undone back to it.
    connect(history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (IsEditable())
            MarkUnsaved(!clean);
    });
}

LeagueDocument::~LeagueDocument() = default;

fs::path LeagueDocument::WorkingDatabase() const {
    return tavrel::WorkingDatabasePath(workingDirectory_);
}

bool LeagueDocument::HasUnsavedChanges() const {
    return !history_->isClean();
}

bool LeagueDocument::ClaimWorkingFolder() {
    return folderLock_->IsLocked() || folderLock_->TryLock();
}

std::optional<QString> LeagueDocument::ClaimLeague(const fs::path& leagueFile) {
    std::error_code ec;
    if (leagueLock_ && league_ &&
        fs::equivalent(tavrel::PlayerFilePath(leagueFile.string()), league_->playerFile, ec))
        return std::nullopt; // the open league again: its lock is ours already
    auto lock = std::make_unique<tavrel::LeagueLock>(leagueFile, tavrel::kProgramName);
    try {
        if (lock->TryLock()) {
            // The open league's lock once it has opened; let go of when it fails to.
            claimedLock_ = std::move(lock);
            return std::nullopt;
        }
    } catch (const std::exception& e) {
        return Text(e);
    }
    const std::optional<tavrel::LeagueLockHolder>& holder = lock->Holder();
    return QStringLiteral("The league \"%1\" is being changed by %2.")
        .arg(Text(leagueFile), holder ? QString::fromStdString(tavrel::DescribeLockHolder(*holder))
                                      : QStringLiteral("another program"));
}

void LeagueDocument::TakeClaimedLock(bool readOnly) {
    // Read only, the league before is not ours any more and this one never was.
    if (readOnly)
        leagueLock_.reset();
    else if (claimedLock_)
        leagueLock_ = std::move(claimedLock_);
    claimedLock_.reset();
}

template <typename Import> void LeagueDocument::Replace(Import import) {
    // The import replaces the working database: nothing of ours may hold it open meanwhile.
    emit workingDatabaseClosing();
    store_.reset();
    try {
        import();
    } catch (...) {
        claimedLock_.reset(); // the league that did not open is not ours
        // A failed import leaves the working database before in place: go on with it.
        if (league_) {
            try {
                OpenStore();
            } catch (const std::exception&) {
            }
            rows_.reset();
            emit workingDatabaseOpened(false);
        }
        throw;
    }
}

void LeagueDocument::Open(const QString& leagueFile, bool readOnly, tavrel::Progress* progress) {
    const fs::path file = leagueFile.toStdString();
    std::optional<std::vector<tavrel::RowKey>> rows;
    Replace([&] {
        league_ = ImportLeague(file, readOnly, progress);
        rows = tavrel::RowKeysOfImport(league_->image);
    });
    TakeClaimedLock(readOnly);
    leagueFile_ = leagueFile;
    readOnly_ = readOnly;
    currentPlayer_.reset();
    NewHistory(true); // the steps belong to the league before
    OpenStore();
    emit stateChanged();
    rows_ = std::move(rows);
    emit workingDatabaseOpened(true);
}

std::size_t LeagueDocument::Save(tavrel::Progress* progress) {
    if (!IsEditable())
        throw tavrel::LeagueError("Saving the league", leagueFile_.toStdString(),
                                  "it is open read only");
    const std::size_t written = SaveInPlace(progress);
    history_->setClean();
    return written;
}

std::optional<tavrel::CellChanges> LeagueDocument::ChangesToBackup(const fs::path& backupFile) {
    return tavrel::ChangesToBackup(*league_, WorkingDatabase(), tavrel::ReadPlayerFile(backupFile));
}

void LeagueDocument::LoadBackup(const fs::path& backupFile, tavrel::Progress* progress) {
    if (!IsEditable())
        throw tavrel::LeagueError("Restoring a backup of the league", leagueFile_.toStdString(),
                                  "it is open read only");
    std::optional<std::vector<tavrel::RowKey>> rows;
    Replace([&] {
        league_ = ImportBackup(backupFile, progress);
        rows = tavrel::RowKeysOfImport(league_->image);
    });
    // A new history, away from the saved state (the working database's origin says so too).
    NewHistory(false);
    OpenStore();
    rows_ = std::move(rows);
    emit workingDatabaseOpened(true);
}

std::optional<tavrel::RecoveryCheck> LeagueDocument::LeftoverChanges() const {
    if (league_)
        return std::nullopt; // the working database holds our own league
    return tavrel::CheckForUnsavedChanges(WorkingDatabase());
}

void LeagueDocument::Recover(const QString& leagueFile) {
    Replace([&] { league_ = RecoverRows(); });
    TakeClaimedLock(false);
    leagueFile_ = leagueFile;
    readOnly_ = false;
    currentPlayer_.reset();
    NewHistory(false);
    OpenStore();
    emit stateChanged();
    rows_.reset();
    emit workingDatabaseOpened(true);
}

void LeagueDocument::DiscardUnsavedChanges() {
    MarkUnsaved(false);
}

QString LeagueDocument::ReadOnlyRefusal() const {
    return IsOpen() ? QStringLiteral("The league \"%1\" is open read only: its players cannot be "
                                     "changed.")
                          .arg(leagueFile_)
                    : QStringLiteral("No league is open: there are no players to change.");
}

bool LeagueDocument::Apply(const QString& text, tavrel::CellChanges changes) {
    if (!IsEditable()) {
        emit failed(ReadOnlyRefusal());
        return false;
    }
    if (changes.empty())
        return true;
    if (!WriteSide(changes, tavrel::CellSide::After))
        return false;
    history_->push(new ChangeCellsCommand(
        text, std::move(changes),
        [this](const tavrel::CellChanges& cells, tavrel::CellSide side) {
            if (WriteSide(cells, side))
                return true;
            // The failed undo or redo has still moved the history: move it back, once the
            // stack is done, to the step the players are at (the command then writes nothing).
            QTimer::singleShot(0, this, [this, side] {
                if (side == tavrel::CellSide::Before)
                    history_->redo();
                else
                    history_->undo();
            });
            return false;
        },
        true));
    return true;
}

bool LeagueDocument::RecordApplied(const QString& text, tavrel::CellChanges changes) {
    if (!IsEditable()) {
        // Written past the gate: put the players back as they were.
        if (store_ && !changes.empty()) {
            try {
                store_->WriteChanges(changes, tavrel::CellSide::Before);
            } catch (const std::exception& e) {
                emit failed(Text(e));
            }
            emit cellsChanged(changes);
        }
        emit failed(ReadOnlyRefusal());
        return false;
    }
    if (changes.empty())
        return true;
    emit cellsChanged(changes);
    history_->push(new ChangeCellsCommand(
        text, std::move(changes),
        [this](const tavrel::CellChanges& cells, tavrel::CellSide side) {
            return WriteSide(cells, side);
        },
        true));
    return true;
}

void LeagueDocument::ChangedElsewhere() {
    if (!league_)
        return;
    history_->resetClean(); // no step of the history leads back to what was saved
    emit playersReloaded();
}

void LeagueDocument::SetCurrentPlayer(std::optional<std::int64_t> rowId) {
    if (rowId == currentPlayer_)
        return;
    currentPlayer_ = rowId;
    emit currentPlayerChanged(rowId);
}

bool LeagueDocument::WriteSide(const tavrel::CellChanges& changes, tavrel::CellSide side) {
    if (!IsEditable() || !store_) {
        emit failed(ReadOnlyRefusal());
        return false;
    }
    try {
        store_->WriteChanges(changes, side);
    } catch (const std::exception& e) {
        emit failed(Text(e));
        return false;
    }
    emit cellsChanged(changes);
    return true;
}

void LeagueDocument::NewHistory(bool clean) {
    history_->clear(); // which leaves an empty history's clean state as it was
    if (clean)
        history_->setClean();
    else
        history_->resetClean();
}

void LeagueDocument::OpenStore() {
    store_ = std::make_unique<tavrel::PlayerRowStore>(WorkingDatabase());
}

// The life cycle proper.

tavrel::LoadedLeague LeagueDocument::ImportLeague(const fs::path& leagueFile, bool readOnly,
                                                  tavrel::Progress* progress) {
    if (!readOnly) // another writer's league is not ours to write beside
        tavrel::BackUpPlayerFile(leagueFile);
    return tavrel::LoadLeague(tavrel::PlayerFilePath(leagueFile.string()), leagueFile,
                              WorkingDatabase(), progress);
}

std::size_t LeagueDocument::SaveInPlace(tavrel::Progress* progress) {
    return tavrel::SaveLeagueInPlace(*league_, WorkingDatabase(), progress);
}

tavrel::LoadedLeague LeagueDocument::ImportBackup(const fs::path& backupFile,
                                                  tavrel::Progress* progress) {
    return tavrel::LoadLeagueBackup(league_->leagueFile, backupFile, WorkingDatabase(), progress);
}

tavrel::LoadedLeague LeagueDocument::RecoverRows() {
    return tavrel::RecoverLeague(WorkingDatabase());
}

void LeagueDocument::MarkUnsaved(bool unsaved) {
    try {
        tavrel::MarkUnsavedChanges(WorkingDatabase(), unsaved);
    } catch (const std::exception& e) {
        emit failed(Text(e));
    }
}
