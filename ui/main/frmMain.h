#pragma once

#include "store/CellChanges.h"
#include "ui/common/UserPrompts.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QToolBar;
class QUndoStack;
class ExchangeActions;
class GridSync;
class LeagueCommands;
class LeagueDocument;
class MainMenus;
class DocumentViews;
class PlayerBrowser;
class PlayerDetailFields;
class PlayersModel;
class SafetyActions;
class frmStatus;

namespace tavrel {
class Progress;
class RatingsChartWindow;
class frmGlobal;
} // namespace tavrel

// The editing window: menus, toolbar and status bar, the team and player lists on the left and
// the current player's fields on the right. The league it edits is a LeagueDocument; its jobs are
// done by collaborators: MainMenus (the menus, the toolbar and the status bar), DocumentViews (the
// form, the lists and the grid following the document), LeagueCommands (open, reopen, save,
// print, exit), PlayerBrowser (the team and player lists), ExchangeActions (spreadsheets,
// comparing, checking), SafetyActions (Restore Backup, crash recovery) and GridSync (the player
// grid). frmMain.cpp lays out the window, frmMainDispatch.cpp runs the menus and the toolbar,
// frmMainDialogs.cpp shows Global Edit, the Ratings Chart, help and the About box.
//
// Every command runs through RunCommand, which catches a failure once and shows one message
// naming the operation, the file and the cause; the window then goes on with its data whole.
class frmMain : public QMainWindow {
    Q_OBJECT
    friend class MainMenus;     // builds the bars into the window's own items
    friend class DocumentViews; // shows the document in the window's views
public:
    // File > Restore Backup..., after the reopen item.
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
    // the failure message, when they could not be written (nothing is then changed or kept):
    // no league open, the league read only, or a failed write.
    bool ApplyChanges(const QString& text, tavrel::CellChanges changes);
    // The same for changes a pass has already written through its own connection (Global Edit):
    // they are shown and kept as one step, not written again.
    void RecordChanges(const QString& text, tavrel::CellChanges changes);
    QUndoStack* History() const;
    // Writes a value still being typed into the current player's row.
    void CommitPendingEdit();

    bool IsLeagueOpen() const;
    // The league differs from what was last opened or saved.
    bool HasUnsavedChanges() const;
    // The league is open but another writer holds it: it can be looked at, not changed or saved.
    bool IsReadOnly() const;
    // At start, with no league open: when the working database kept unsaved changes (Tavrel
    // ended without Save or No), offers to go on with them, or says why they cannot be.
    void OfferCrashRecovery();
    std::filesystem::path WorkingDatabase() const;

    // What the collaborators share.
    LeagueDocument& Document() const { return *document_; }
    UserPrompts& Prompts() const { return *prompts_; }
    PlayersModel* Data() const { return Data1; }
    PlayerDetailFields* Details() const { return details_; }
    PlayerBrowser& Browser() const { return *browser_; }
    SafetyActions& Safety() const { return *safety_; }
    // The progress window the long passes show.
    tavrel::Progress* ProgressWindow();
    void ShowStatus(const QString& message);
    void ShowFailure(const QString& message);
    // Runs a command of a menu, the toolbar or a dialog: a failure that escapes it is shown and
    // the program goes on.
    void RunCommand(const std::function<void()>& command);
    // Adds an item to one of the indexed menus; "-" adds a separator.
    QAction* AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index, const QString& caption,
                         const char* arrayName);
    QMenu* FileMenu() const { return mnuFile; }
    QMap<int, QAction*>& FileItems() { return mnuFileItem; }
    QMap<int, QAction*>& ViewItems() { return mnuViewItem; }
    // The title names the open league; the commands that need one, or need to write it, are
    // enabled with it.
    void ShowLeagueState();

signals:
    // The user ended the program (Exit, or the close box); nothing is left to ask.
    void Ended();
    // Players' stored values changed: an edit, a bulk change, an undo or a redo.
    void PlayersChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void mnuFileItem_Click(int index);
    void mnuComItem_Click(int index);
    void mnuViewItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void Toolbar1_ButtonClick(const QString& key);

    void ShowGlobalEdit();
    void ShowRatingsChart();
    void ShowHelpContents();
    void ShowAbout();

private:
    void CentreOnScreen();
    void SetTabOrder();
    int ListsWidth() const; // at first
    void RestoreLayout();
    void SaveLayout();
    static void ShowReadOnly(QLineEdit* box, bool readOnly);
    void InitHelp();
    void QuitHelp();
    // File > Publish League Site... and Print Rosters..., after every other File item.
    void AddPublishItems(); // ui/publish/frmMainPublish.cpp

    std::unique_ptr<UserPrompts> prompts_;
    LeagueDocument* document_;
    PlayersModel* Data1;
    PlayerDetailFields* details_ = nullptr;
    std::unique_ptr<PlayerBrowser> browser_;
    std::unique_ptr<LeagueCommands> commands_;
    std::unique_ptr<SafetyActions> safety_;
    std::unique_ptr<ExchangeActions> exchange_;
    std::unique_ptr<GridSync> grid_;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<DocumentViews> views_;

    QMap<int, QAction*> mnuFileItem;
    QMap<int, QAction*> mnuComItem;
    QMap<int, QAction*> mnuViewItem;
    QMap<int, QAction*> mnuHelpItem;
    QMenu* mnuFile = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QSplitter* splitter_ = nullptr;
    QLabel* statusPanel1 = nullptr;
    QLabel* statusPanel2 = nullptr;
    frmStatus* status_ = nullptr;
    bool globalEditRecorded_ = false;
    bool ending_ = false;
    // The Global Edit dialog once shown; it deletes itself when closed through its frame.
    QPointer<tavrel::frmGlobal> globalEdit_;
    // View > Ratings Chart once shown; it deletes itself when closed.
    QPointer<tavrel::RatingsChartWindow> ratingsChart_;
};
