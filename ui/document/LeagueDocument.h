#pragma once

#include "league/League.h"
#include "safety/LeagueOrigin.h"
#include "store/CellChanges.h"
#include "store/PlayerRowStore.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QUndoStack;

namespace tavrel {
class LeagueSession;
class Progress;
} // namespace tavrel

// The league the window edits: its LeagueSession (the lock, the working database, whether it is
// only looked at), the undo history of its changes and the player the window shows (by rowid,
// which a sort, a filter or a trade leaves alone). The window's views ask it and listen to it;
// none keeps a copy of its state.
//
// Each league has a working database of its own in the working folder, so several windows (or
// copies of the program) may keep several leagues open; a league another window or program
// writes opens read only, into a private copy removed when it is closed.
//
// Every change to the players goes through Apply (or RecordApplied for a pass that wrote through
// its own connection); both refuse while the league is read only, whatever path the change came
// by. The life cycle (open, save, restore, recover) throws LeagueError naming the operation, the
// file and the cause, and leaves the document as it was.
class LeagueDocument : public QObject {
    Q_OBJECT
public:
    // `workingFolder` receives the working databases.
    explicit LeagueDocument(std::filesystem::path workingFolder, QObject* parent = nullptr);
    ~LeagueDocument() override;

    // The open league's working database; empty while none is open.
    std::filesystem::path WorkingDatabase() const;
    const std::filesystem::path& WorkingDirectory() const { return workingFolder_; }
    bool IsOpen() const { return session_ != nullptr; }
    // Open, but another writer holds the league: it is looked at, never changed or saved.
    bool IsReadOnly() const;
    // The one gate of every change: a league is open for writing.
    bool IsEditable() const;
    // As the user chose it; empty while no league is open.
    const QString& LeagueFile() const { return leagueFile_; }
    // Only while IsOpen().
    const tavrel::LoadedLeague& League() const;
    QUndoStack* History() const { return history_; }
    // The players differ from the league as opened or last saved.
    bool HasUnsavedChanges() const;

    // Whether the league can be opened for writing: nothing when it can (or this document holds
    // it already); otherwise why not, naming the holder.
    std::optional<QString> ClaimLeague(const std::filesystem::path& leagueFile) const;
    // Opens the league: for writing (its lock held, its player file copied to its ".sw$" backup)
    // into its own working database, or read only (nothing beside the league written, no lock)
    // into a private copy. A new history starts. Another league open before is closed once this
    // one is open; the same league is closed first.
    void Open(const QString& leagueFile, bool readOnly, tavrel::Progress* progress);
    // Saves into the league's player file (a dated backup first). Returns the records written.
    std::size_t Save();
    // Loads a backup in place of the players. The changes that make it when a save of them would
    // write it byte for byte (the caller applies them as one step); otherwise it is imported
    // whole, with a new history away from the saved state, and nothing comes back.
    std::optional<tavrel::CellChanges> RestoreBackup(const std::filesystem::path& backupFile);

    // Working databases that hold changes a window that ended without saving left behind, and
    // that no running window works in: every league's (`leagueFile` empty) or that league's.
    struct Leftover {
        std::filesystem::path workingDb;
        tavrel::RecoveryCheck check;
    };
    std::vector<Leftover> LeftoverChanges(const std::filesystem::path& leagueFile = {}) const;
    // Takes those changes up: the league they were made on opens with them as unsaved changes.
    // Throws LeagueError, keeping them, when its lock is held or they cannot be recovered.
    void Recover(const std::filesystem::path& workingDb, tavrel::Progress* progress);
    // Lets go of left-over changes; only on the user's explicit word.
    static void DiscardLeftover(const std::filesystem::path& workingDb);
    // The open league's unsaved changes are let go of (the program ends without saving them):
    // the next start offers nothing.
    void DropUnsavedChanges();

    // Writes `changes` as one step of the history named `text`. False, after failed(), when
    // nothing was written (read only, or the write failed).
    bool Apply(const QString& text, tavrel::CellChanges changes);
    // The same for changes a pass has already written through its own connection (Global
    // Edit): kept as one step and shown. Read only, they are written back as they were and
    // refused.
    bool RecordApplied(const QString& text, tavrel::CellChanges changes);
    // A pass changed players without saying which: everything is read again, and no step of the
    // history leads back to the saved state.
    void ChangedElsewhere();

    // The rows of the working database when the import that just built it said what they are,
    // once; nothing otherwise (they must then be read).
    std::optional<std::vector<tavrel::RowKey>> TakeImportedRows() {
        return std::exchange(rows_, {});
    }

    // The player the window shows, by rowid; nothing when none.
    std::optional<std::int64_t> CurrentPlayer() const { return currentPlayer_; }
    // Tells the views when it is another player.
    void SetCurrentPlayer(std::optional<std::int64_t> rowId);

signals:
    // The working database is about to be rebuilt or let go of: let go of it.
    void workingDatabaseClosing();
    // It can be read again (TakeImportedRows says what it holds when an import just told).
    // `newLeague` when it holds another league (or the same one imported anew), not the one
    // before a failed import.
    void workingDatabaseOpened(bool newLeague);
    // Cells were written (a change, an undo, a redo): only these need showing again.
    void cellsChanged(const tavrel::CellChanges& changes);
    // Players changed in a way no list of cells tells.
    void playersReloaded();
    // Open, closed, read only or not.
    void stateChanged();
    void currentPlayerChanged(std::optional<std::int64_t> rowId);
    // A change could not be written or was refused; the message names the operation, the file
    // and the cause.
    void failed(const QString& message);

private:
    // Takes `session` as the open league: a new history, the views told.
    void Adopt(std::unique_ptr<tavrel::LeagueSession> session, const QString& leagueFile,
               bool imported);
    // Lets go of the session (and removes a read-only copy).
    void Close();
    std::filesystem::path ReadOnlyCopy() const;
    bool WriteSide(const tavrel::CellChanges& changes, tavrel::CellSide side);
    void NoteUnsaved(bool unsaved);
    // No steps; at the saved state (`clean`) or away from it.
    void NewHistory(bool clean);
    QString ReadOnlyRefusal() const;

    std::filesystem::path workingFolder_;
    std::unique_ptr<tavrel::LeagueSession> session_;
    QString leagueFile_;
    QUndoStack* history_;
    std::optional<std::int64_t> currentPlayer_;
    std::optional<std::vector<tavrel::RowKey>> rows_;
};
