#pragma once

#include "league/League.h"
#include "league/LeagueOrigin.h"
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
class LeagueLock;
class Progress;
class WorkingDatabaseLock;
} // namespace tavrel

// The league the window edits: its files, its lock, whether it is only looked at, its working
// database, the undo history of its changes and the player the window shows (by rowid, which a
// sort, a filter or a trade leaves alone). The window's views ask it and listen to it; none keeps
// a copy of its state.
//
// Every change to the players goes through Apply (or RecordApplied for a pass that wrote through
// its own connection); both refuse while the league is read only, whatever path the change came
// by. The life cycle (open, save, restore, recover) throws LeagueError naming the operation, the
// file and the cause, and leaves the document as it was.
class LeagueDocument : public QObject {
    Q_OBJECT
public:
    // `workingDirectory` receives the working database.
    explicit LeagueDocument(std::filesystem::path workingDirectory, QObject* parent = nullptr);
    ~LeagueDocument() override;

    std::filesystem::path WorkingDatabase() const;
    const std::filesystem::path& WorkingDirectory() const { return workingDirectory_; }
    bool IsOpen() const { return league_.has_value(); }
    // Open, but another writer holds the league: it is looked at, never changed or saved.
    bool IsReadOnly() const { return IsOpen() && readOnly_; }
    // The one gate of every change: a league is open for writing.
    bool IsEditable() const { return IsOpen() && !readOnly_; }
    // As the user chose it; empty while no league is open.
    const QString& LeagueFile() const { return leagueFile_; }
    // Only while IsOpen().
    const tavrel::LoadedLeague& League() const { return *league_; }
    QUndoStack* History() const { return history_; }
    // The players differ from the league as opened or last saved.
    bool HasUnsavedChanges() const;

    // The working folder is this window's: no other copy of the program works in it. False when
    // another one does; throws LeagueError when no lock file can be made there.
    bool ClaimWorkingFolder();
    // Takes the league's lock for writing. Nothing when this document holds it now (or held it
    // already); otherwise why not, naming the holder.
    std::optional<QString> ClaimLeague(const std::filesystem::path& leagueFile);
    // Imports the league into the working database. For writing (the lock taken by ClaimLeague)
    // the player file is first copied to its ".sw$" backup; read only, nothing beside the league
    // is written and no lock is held. A new history starts.
    void Open(const QString& leagueFile, bool readOnly, tavrel::Progress* progress);
    // Saves into the league's player file (a dated backup first). Returns the records written.
    std::size_t Save(tavrel::Progress* progress);
    // The changes that turn the players into those of `backupFile`, when a save of them would
    // write it byte for byte; nothing when it must be imported whole (LoadBackup).
    std::optional<tavrel::CellChanges> ChangesToBackup(const std::filesystem::path& backupFile);
    // Imports a backup whole in place of the players; a new history, away from the saved state.
    void LoadBackup(const std::filesystem::path& backupFile, tavrel::Progress* progress);

    // Changes a window that ended without saving left in the working database, while this
    // document has no league open; nothing when there are none.
    std::optional<tavrel::RecoveryCheck> LeftoverChanges() const;
    // Takes those changes up: the league they were made on opens with them as unsaved changes.
    // The caller has claimed the league (ClaimLeague).
    void Recover(const QString& leagueFile);
    // Lets go of unsaved changes (those left over, or the open league's when the program ends
    // without saving): the next start offers nothing. Only on the user's explicit word.
    void DiscardUnsavedChanges();

    // Writes `changes` as one step of the history named `text`. False, after failed() or
    // refused(), when nothing was written.
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
    // The working database is about to be rebuilt: let go of it.
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
    // The league's life cycle; the one place that calls the core's open, save, restore and
    // recovery, and holds the locks.
    tavrel::LoadedLeague ImportLeague(const std::filesystem::path& leagueFile, bool readOnly,
                                      tavrel::Progress* progress);
    std::size_t SaveInPlace(tavrel::Progress* progress);
    tavrel::LoadedLeague ImportBackup(const std::filesystem::path& backupFile,
                                      tavrel::Progress* progress);
    tavrel::LoadedLeague RecoverRows();
    void MarkUnsaved(bool unsaved);
    // After an import: the lock ClaimLeague took becomes the open league's.
    void TakeClaimedLock(bool readOnly);

    // Replaces the working database through `import`; on failure the one before stays.
    template <typename Import> void Replace(Import import);
    void OpenStore();
    // No steps; at the saved state (`clean`) or away from it.
    void NewHistory(bool clean);
    bool WriteSide(const tavrel::CellChanges& changes, tavrel::CellSide side);
    QString ReadOnlyRefusal() const;

    std::filesystem::path workingDirectory_;
    std::unique_ptr<tavrel::WorkingDatabaseLock> folderLock_;
    std::unique_ptr<tavrel::LeagueLock> leagueLock_;  // none while read only
    std::unique_ptr<tavrel::LeagueLock> claimedLock_; // of a league about to open
    std::optional<tavrel::LoadedLeague> league_;
    QString leagueFile_;
    bool readOnly_ = false;
    std::unique_ptr<tavrel::PlayerRowStore> store_; // writes the changes
    QUndoStack* history_;
    std::optional<std::int64_t> currentPlayer_;
    std::optional<std::vector<tavrel::RowKey>> rows_;
};
