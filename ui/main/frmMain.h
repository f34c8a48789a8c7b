#pragma once

#include "league/League.h"
#include "league/LeagueLock.h"
#include "store/CcboList.h"
#include "store/CellChanges.h"
#include "store/PlayerRowStore.h"
#include "ui/main/UserPrompts.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QToolBar;
class QUndoStack;
class ComboBoxTarget;
class ListWidgetTarget;
class PlayerDetailFields;
class PlayersModel;
class PlayerGrid;
class frmStatus;

namespace tavrel {
class RatingsChartWindow;
class WorkingDatabaseLock;
class frmGlobal;
} // namespace tavrel

// The editing window: menus, toolbar and status bar, the team and player lists on the left and
// the current player's fields on the right. Its code is spread over six files: this one
// (building the window), frmMainCommands.cpp (open, reopen, print, save, exit, view),
// frmMainBrowsing.cpp (team and player lists), frmMainDialogs.cpp (Global Edit, help, About),
// frmMainHistory.cpp (the undo history) and
// frmMainSafety.cpp (league lock, read-only mode, Restore Backup, crash recovery).
// frmMainBrowsing.cpp (team and player lists), frmMainDialogs.cpp (Global Edit, help, About) and
// frmMainExchange.cpp (spreadsheets, comparing, checking).
//
// Every command catches the failures of the core once and shows one message naming the
// operation, the file and the cause; the window then goes on with its data whole.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // File > Restore Backup..., after the Parts' items and the reopen item.
    static constexpr int kRestoreBackupIndex = 8;

    // `workingDirectory` receives the working database and the roster files. Without `prompts`
    // the real dialogs are used.
    explicit frmMain(std::filesystem::path workingDirectory,
                     std::unique_ptr<UserPrompts> prompts = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens the league named on the command line as File > Open does with that file chosen, and
    // remembers it; a missing or unreadable league shows the usual failure, the window stays.
    bool OpenLeagueFromCommandLine(const QString& leagueFile);
    // Refills the player list for the selected team in the current sort order.
    void ReFreshList();
    // For a pass that changed players through its own connection without saying which: shows
    // the current player's stored values again and counts the change as unsaved.
    void PlayersChangedElsewhere();

    // Writes `changes` into the open league's players as one step of the undo history named
    // `text` ("Undo <text>"), after the value still being typed, and shows them. False, after
    // the failure message, when they could not be written (nothing is then changed or kept),
    // and false without a message when no league is open.
    bool ApplyChanges(const QString& text, tavrel::CellChanges changes);
    // The same for changes a pass has already written through its own connection (Global Edit):
    // they are shown and kept as one step, not written again.
    void RecordChanges(const QString& text, tavrel::CellChanges changes);
    QUndoStack* History() const { return history_; }
    // Writes a value still being typed into the current player's row.
    void CommitPendingEdit();

    bool IsLeagueOpen() const { return league_.has_value(); }
    // The league differs from what was last opened or saved (the history is away from its
    // clean state).
    bool HasUnsavedChanges() const;
    // The league is open but another writer holds it: it can be looked at, not changed or saved.
    bool IsReadOnly() const { return readOnly_; }
    // At start, with no league open: when the working database kept unsaved changes (Tavrel
    // ended without Save or No), offers to go on with them, or says why they cannot be.
    void OfferCrashRecovery();
    std::filesystem::path WorkingDatabase() const;
    // The progress window the long passes show.
    tavrel::Progress* ProgressWindow();

signals:
    // The user ended the program (Exit, or the close box); nothing is left to ask.
    void Ended();
    // Players' stored values changed: an edit, a bulk change, an undo or a redo.
    void PlayersChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void mnuFileItem_Click(int index);
    void mnuComItem_Click(int index);
    void mnuViewItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void Toolbar1_ButtonClick(const QString& key);
    void cboTeam_Click();
    void lstPlayers_Click();

    // Dialogs and help that come from the About box and help module and the Global Edit dialog.
    void ShowGlobalEdit();
    void ShowRatingsChart();
    void ShowHelpContents();
    void ShowAbout();

private:
    // Building the window (frmMain.cpp).
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    QWidget* BuildLists(QWidget* parent);
    QAction* AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index, const QString& caption,
                         const char* arrayName);
    void AddReopenItem();
    void AddKeyboardItems(QMenu* editMenu, QMenu* viewMenu);
    void CentreOnScreen();
    void SetTabOrder();
    int ListsWidth() const; // at first
    void RestoreLayout();
    void SaveLayout();
    // The title names the open league; the commands that need one are enabled with it.
    void ShowLeagueState();
    void ShowStatus(const QString& message);
    void InitHelp();
    void QuitHelp();

    // Commands (frmMainCommands.cpp).
    void OpenLeague();
    void ReopenLeague();
    bool OpenLeagueFile(const QString& leagueFile, bool remember);
    bool SettleUnsavedChanges();
    bool SaveCurrentLeague();
    void PrintLeague();
    void ExitProgram();
    bool ConfirmEnd();
    bool TakeWorkingDatabaseLock();
    // Binds the fields to the working database again and shows `rowToShow`; `rows` when the
    // import that just built it says what it holds.
    bool AttachWorkingDatabase(int rowToShow, std::optional<std::vector<tavrel::RowKey>> rows);
    void ShowFailure(const QString& message);

    // Spreadsheet export and import, comparing, the league check (frmMainExchange.cpp).
    void AddExchangeItems();
    void AddPublishItems(); // ui/publish/frmMainPublish.cpp
    void ExportPlayers();
    void ImportPlayers();
    void CompareWith();
    void ShowLeagueCheck();
    void CheckOpenedLeague();
    // The player grid beside the form (frmMainGrid.cpp).
    void BuildPlayerGrid(QMenu* viewMenu);
    // Shows the player in the form and selects him in the list, choosing his team first when
    // the list does not hold him (or always, with `refill`).
    void ShowGridPlayer(int teamId, int pid, bool refill);
    void FollowPlayers();

    // The undo history (frmMainHistory.cpp).
    void BuildHistory(QMenu* editMenu);
    bool PushChanges(const QString& text, tavrel::CellChanges changes);
    bool WriteChangesSide(const tavrel::CellChanges& changes, tavrel::CellSide side);
    // How a step of the history writes its cells on undo and redo.
    std::function<bool(const tavrel::CellChanges&, tavrel::CellSide)> StepWriter();
    void ShowChangedPlayers(const tavrel::CellChanges& changes);

    // The league's lock and read-only mode, Restore Backup and crash recovery (frmMainSafety.cpp).
    struct LeagueClaim {
        std::unique_ptr<tavrel::LeagueLock> lock; // null: read only, or the lock held already
        bool readOnly = false;
    };
    std::unique_ptr<tavrel::LeagueLock> TryLockLeague(const std::filesystem::path& leagueFile,
                                                      QString& refusal);
    std::optional<LeagueClaim> ClaimLeague(const std::filesystem::path& leagueFile);
    void ShowOpenedLeague(const QString& leagueFile, LeagueClaim claim,
                          std::optional<std::vector<tavrel::RowKey>> rows);
    void SetReadOnly(bool readOnly);
    void DropUnsavedChanges();
    void AddSafetyItems();
    void RestoreBackup();

    // Browsing (frmMainBrowsing.cpp).
    void LoadTeamList();
    void ShowTeamPlayers(const QString& teamId);
    void FindPlayersByLastName(const QString& lastName);
    void FillPlayerList(tavrel::CcboList& lister, tavrel::PlayerListOrder order,
                        const QString& filter);
    void SelectPlayerById(qint16 id);
    void SetTeamPanel(const QString& text);
    // Shows new names and positions in the list's entries of the rows `changes` touches.
    void RefreshPlayerEntries(const tavrel::CellChanges& changes);
    // The team name of the player in model row `row`, as the team list shows it.
    QString TeamOfRow(int row) const;

    std::filesystem::path workingDirectory_;
    std::unique_ptr<UserPrompts> prompts_;
    std::unique_ptr<tavrel::WorkingDatabaseLock> lock_;
    std::optional<tavrel::LoadedLeague> league_;
    bool ending_ = false;
    bool teamsChanged_ = false; // by the last change shown: the player list must be filled again
    // Held while a league is open for writing; none when it is open read only.
    std::unique_ptr<tavrel::LeagueLock> leagueLock_;
    bool readOnly_ = false;

    // Window state the commands share.
    QString LeagueFile;
    QString LastFile;
    bool SortDescending = false;
    std::unique_ptr<tavrel::CcboList> PlayerLister;

    QMap<int, QAction*> mnuFileItem;
    QMap<int, QAction*> mnuComItem;
    QMap<int, QAction*> mnuViewItem;
    QMap<int, QAction*> mnuHelpItem;
    QMenu* mnuFile = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QLabel* statusPanel1 = nullptr;
    QLabel* statusPanel2 = nullptr;
    QLabel* leagueCheckPanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    bool listIsFind_ = false; // the list holds a Find's players, from any team
    QComboBox* cboTeam = nullptr;
    QListWidget* lstPlayers = nullptr;
    std::unique_ptr<ComboBoxTarget> teamTarget_;
    std::unique_ptr<ListWidgetTarget> playerTarget_;
    PlayersModel* Data1 = nullptr;
    QUndoStack* history_ = nullptr;
    bool globalEditRecorded_ = false;
    PlayerDetailFields* details_ = nullptr;
    frmStatus* status_ = nullptr;
    PlayerGrid* grid_ = nullptr;
    bool syncingGrid_ = false; // the grid and the form follow each other: no echo
    // The Global Edit dialog once shown; it deletes itself when closed through its frame.
    QPointer<tavrel::frmGlobal> globalEdit_;
    // View > Ratings Chart once shown; it deletes itself when closed.
    QPointer<tavrel::RatingsChartWindow> ratingsChart_;
};
