#include "ui/document/LeagueDocument.h"

#include "base/LeagueError.h"
#include "base/ProgramInfo.h"
#include "fileformat/LeaguePaths.h"
#include "safety/LeagueLock.h"
#include "session/LeagueSession.h"
#include "store/WorkingDatabase.h"
#include "ui/main/ChangeCellsCommand.h"

#include <QCoreApplication>
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

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

} // namespace

LeagueDocument::LeagueDocument(fs::path workingFolder, QObject* parent)
    : QObject(parent), workingFolder_(std::move(workingFolder)), history_(new QUndoStack(this)) {
    // Recovery after a crash looks for this mark: set while the league differs from its player
    // file, cleared when it is saved or undone back to it.
    connect(history_, &QUndoStack::cleanChanged, this, [this](bool clean) { NoteUnsaved(!clean); });
}

LeagueDocument::~LeagueDocument() {
    Close();
}

fs::path LeagueDocument::WorkingDatabase() const {
    return session_ ? session_->WorkingDb() : fs::path();
}

bool LeagueDocument::IsReadOnly() const {
    return session_ && session_->Access() != tavrel::LeagueAccess::Write;
}

bool LeagueDocument::IsEditable() const {
    return session_ && session_->Access() == tavrel::LeagueAccess::Write;
}

const tavrel::LoadedLeague& LeagueDocument::League() const {
    return session_->League();
}

bool LeagueDocument::HasUnsavedChanges() const {
    return !history_->isClean();
}

std::optional<QString> LeagueDocument::ClaimLeague(const fs::path& leagueFile) const {
    if (IsEditable() && SameFile(leagueFile, session_->LeagueFile()))
        return std::nullopt; // the open league again: its lock is ours already
    tavrel::LeagueLock probe(leagueFile, tavrel::kProgramName);
    try {
        if (probe.TryLock())
            return std::nullopt; // let go of at once: the session takes it for good
    } catch (const std::exception& e) {
        if (!fs::exists(leagueFile))
            return std::nullopt; // the open says there is no such league
        return Text(e);          // a folder that takes no lock file can still be looked at
    }
    const std::optional<tavrel::LeagueLockHolder>& holder = probe.Holder();
    return QStringLiteral("The league \"%1\" is being changed by %2.")
        .arg(Text(leagueFile), holder ? QString::fromStdString(tavrel::DescribeLockHolder(*holder))
                                      : QStringLiteral("another program"));
}

fs::path LeagueDocument::ReadOnlyCopy() const {
    // Told apart by the process and the document that made it.
    return workingFolder_ / QStringLiteral("Tavrel-read-only-%1-%2.tmp")
                                .arg(QCoreApplication::applicationPid())
                                .arg(reinterpret_cast<quintptr>(this), 0, 16)
                                .toStdString();
}

void LeagueDocument::Open(const QString& leagueFile, bool readOnly, tavrel::Progress* progress) {
    const fs::path file = leagueFile.toStdString();
    const fs::path workingDb =
        readOnly ? ReadOnlyCopy() : tavrel::WorkingDatabaseFor(workingFolder_, file);
    // The views let go of the working database they show while it may be rebuilt.
    emit workingDatabaseClosing();
    if (session_ && session_->WorkingDb() == workingDb)
        Close(); // the same league: its locks and database are the new session's
    std::unique_ptr<tavrel::LeagueSession> opened;
    try {
        opened = std::make_unique<tavrel::LeagueSession>(
            file, workingDb,
            tavrel::SessionOptions{readOnly ? tavrel::LeagueAccess::Read
                                            : tavrel::LeagueAccess::Write,
                                   tavrel::kProgramName, true, progress});
    } catch (...) {
        if (readOnly) {
            std::error_code ignored;
            fs::remove(workingDb, ignored);
            fs::remove(tavrel::LeagueOriginFile(workingDb), ignored);
        }
        if (session_)
            emit workingDatabaseOpened(false); // the league before goes on
        else
            emit stateChanged();
        throw;
    }
    Close();
    Adopt(std::move(opened), leagueFile, true);
}

void LeagueDocument::Adopt(std::unique_ptr<tavrel::LeagueSession> session,
                           const QString& leagueFile, bool imported) {
    session_ = std::move(session);
    leagueFile_ = leagueFile;
    currentPlayer_.reset();
    // The steps belong to the league before; recovered changes are away from the saved state.
    NewHistory(imported);
    rows_.reset();
    if (imported)
        rows_ = tavrel::RowKeysOfImport(session_->League().image);
    emit stateChanged();
    emit workingDatabaseOpened(true);
}

void LeagueDocument::Close() {
    if (!session_)
        return;
    const fs::path copy =
        session_->Access() == tavrel::LeagueAccess::Read ? session_->WorkingDb() : fs::path();
    session_.reset();
    if (!copy.empty()) {
        std::error_code ignored;
        fs::remove(copy, ignored);
        fs::remove(tavrel::LeagueOriginFile(copy), ignored);
    }
}

std::size_t LeagueDocument::Save() {
    if (!IsEditable())
        throw tavrel::LeagueError("Saving the league", leagueFile_.toStdString(),
                                  "it is open read only");
    const std::size_t written = session_->Save();
    history_->setClean();
    return written;
}

std::optional<tavrel::CellChanges> LeagueDocument::RestoreBackup(const fs::path& backupFile) {
    if (!IsEditable())
        throw tavrel::LeagueError("Restoring a backup of the league", leagueFile_.toStdString(),
                                  "it is open read only");
    emit workingDatabaseClosing(); // a backup of another shape is imported whole
    std::optional<tavrel::CellChanges> changes;
    try {
        changes = session_->LoadBackup(backupFile);
    } catch (...) {
        emit workingDatabaseOpened(false);
        throw;
    }
    if (changes) {
        emit workingDatabaseOpened(false);
        return changes;
    }
    // A new history, away from the saved state (the working database's origin says so too).
    NewHistory(false);
    rows_ = tavrel::RowKeysOfImport(session_->League().image);
    emit workingDatabaseOpened(true);
    return std::nullopt;
}

std::vector<LeagueDocument::Leftover>
LeagueDocument::LeftoverChanges(const fs::path& leagueFile) const {
    std::vector<fs::path> candidates;
    if (leagueFile.empty())
        candidates = tavrel::WorkingDatabasesWithUnsavedChanges(workingFolder_);
    else
        candidates = {tavrel::WorkingDatabaseFor(workingFolder_, leagueFile)};
    std::vector<Leftover> found;
    for (const fs::path& db : candidates) {
        if (session_ && db == session_->WorkingDb())
            continue; // our own league's changes
        // A window at work on it is no leftover.
        tavrel::WorkingDatabaseLock inUse(db);
        try {
            if (!inUse.TryLock())
                continue;
        } catch (const std::exception&) {
            continue;
        }
        if (std::optional<tavrel::RecoveryCheck> check = tavrel::CheckForUnsavedChanges(db))
            found.push_back({db, std::move(*check)});
    }
    return found;
}

void LeagueDocument::Recover(const fs::path& workingDb, tavrel::Progress* progress) {
    const bool ours = session_ && session_->WorkingDb() == workingDb;
    if (ours)
        return;
    std::unique_ptr<tavrel::LeagueSession> recovered =
        tavrel::LeagueSession::Recover(workingDb, tavrel::kProgramName, progress);
    const QString leagueFile = Text(recovered->LeagueFile());
    emit workingDatabaseClosing();
    Close();
    Adopt(std::move(recovered), leagueFile, false);
}

void LeagueDocument::DiscardLeftover(const fs::path& workingDb) {
    tavrel::DiscardUnsavedChanges(workingDb);
}

void LeagueDocument::DropUnsavedChanges() {
    NoteUnsaved(false);
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
        // Written past the gate into a copy only looked at: put back as it was.
        if (session_ && !changes.empty()) {
            try {
                tavrel::WriteCellChanges(session_->WorkingDb(), changes, tavrel::CellSide::Before);
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
    if (!session_)
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
    if (!IsEditable()) {
        emit failed(ReadOnlyRefusal());
        return false;
    }
    try {
        session_->Apply(changes, side);
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

void LeagueDocument::NoteUnsaved(bool unsaved) {
    if (!IsEditable())
        return;
    try {
        session_->NoteUnsavedChanges(unsaved);
    } catch (const std::exception& e) {
        emit failed(Text(e));
    }
}
