// frmMain's commands: open, reopen, print, save, exit, the view toggles and the dispatch of the
// menus and the toolbar.
#include "fileformat/LeaguePaths.h"
#include "league/LeagueSave.h"
#include "safety/PlayerFileBackup.h"
#include "reports/Rosters.h"
#include "store/PlayerRowStore.h"
#include "store/WorkingDatabase.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace {

const QString kSaveQuestion = QStringLiteral("Would you like to SAVE your changes?");
const QString kOpenTitle = QStringLiteral("Select League to Open");
const QString kOpenFilter = QStringLiteral("League Files (*.lge)");

QString Text(const std::exception& e) {
    return QString::fromStdString(e.what());
}
QString Text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

void frmMain::mnuFileItem_Click(int index) {
    switch (index) {
    case 0:
        OpenLeague();
        break;
    case 1:
        PrintLeague();
        break;
    case 2:
        SaveCurrentLeague();
        break;
    case 4:
        ExitProgram();
        break;
    case 6:
        ReopenLeague();
        break;
    case 10:
        ExportPlayers();
        break;
    case 11:
        ImportPlayers();
        break;
    case 12:
        CompareWith();
        break;
    default:
        break;
    }
}

void frmMain::mnuComItem_Click(int index) {
    if (index == 6)
        ShowGlobalEdit();
}

void frmMain::mnuViewItem_Click(int index) {
    // The item is checkable: its mark has already been inverted by the click.
    const QAction* item = mnuViewItem.value(index);
    if (index == 0)
        Toolbar1->setVisible(item->isChecked());
    else if (index == 1)
        statusBar()->setVisible(item->isChecked());
    else if (index == 2)
        ShowRatingsChart();
    else if (index == 3)
        ShowLeagueCheck();
}

void frmMain::mnuHelpItem_Click(int index) {
    if (index == 0)
        ShowHelpContents();
    else if (index == 2)
        ShowAbout();
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Open")) {
        mnuFileItem_Click(0);
    } else if (key == QLatin1String("Save")) {
        mnuFileItem_Click(2);
    } else if (key == QLatin1String("Print")) {
        mnuFileItem_Click(1);
    } else if (key == QLatin1String("Find")) {
        FindPlayersByLastName(prompts_->AskText(this, QStringLiteral("Enter Players Last Name"),
                                                QStringLiteral("Find Player")));
    } else if (key == QLatin1String("SortAc")) {
        SortDescending = false;
        ReFreshList();
    } else if (key == QLatin1String("SortDec")) {
        SortDescending = true;
        ReFreshList();
    } else if (key == QLatin1String("GlobalEdit")) {
        mnuComItem_Click(6);
    } else if (key == QLatin1String("Help")) {
        mnuHelpItem_Click(0);
    }
}

void frmMain::ShowFailure(const QString& message) {
    prompts_->ShowFailure(this, message);
}

void frmMain::CommitPendingEdit() {
    details_->Submit();
}

bool frmMain::SettleUnsavedChanges() {
    CommitPendingEdit();
    if (!league_ || !HasUnsavedChanges())
        return true;
    const std::optional<bool> save = prompts_->AskYesNoOrCancel(this, kSaveQuestion);
    if (!save)
        return false; // Esc or the close box: the command stops and the edits stay
    if (!*save)
        return true; // the user lets the edits go with the old working database
    return SaveCurrentLeague();
}

void frmMain::OpenLeague() {
    if (!SettleUnsavedChanges())
        return;
    const QString chosen = prompts_->ChooseFileToOpen(this, kOpenTitle, kOpenFilter);
    if (chosen.isEmpty())
        return; // cancelled: the open league stays as it was
    OpenLeagueFile(chosen, true);
}

bool frmMain::OpenLeagueFromCommandLine(const QString& leagueFile) {
    if (!SettleUnsavedChanges())
        return false;
    return OpenLeagueFile(QFileInfo(leagueFile).absoluteFilePath(), true);
}

void frmMain::ReopenLeague() {
    if (LastFile.isEmpty()) {
        prompts_->ShowMessage(this, QStringLiteral("There is no league to reopen yet. "
                                                   "Open one with File > Open."));
        return;
    }
    if (!QFileInfo(LastFile).isFile()) {
        ShowFailure(QStringLiteral("The league \"%1\" cannot be reopened: the file is not there "
                                   "any more.")
                        .arg(LastFile));
        return;
    }
    if (!SettleUnsavedChanges())
        return;
    OpenLeagueFile(LastFile, false);
}

bool frmMain::TakeWorkingDatabaseLock() {
    if (lock_->IsLocked() || lock_->TryLock())
        return true;
    ShowFailure(QStringLiteral("A league is already open in another copy of Tavrel, which works in "
                               "\"%1\". Close that copy first; its league was left as it is.")
                    .arg(Text(WorkingDatabase())));
    return false;
}

bool frmMain::OpenLeagueFile(const QString& leagueFile, bool remember) {
    if (!TakeWorkingDatabaseLock())
        return false;
    const std::filesystem::path league = leagueFile.toStdString();
    std::optional<LeagueClaim> claim = ClaimLeague(league);
    if (!claim)
        return false;
    const int shownRow = details_->CurrentRow();
    // The import replaces the working database: nothing of ours may hold it open meanwhile.
    Data1->Detach();
    try {
        if (!claim->readOnly) // another writer's league is not ours to write beside
            tavrel::BackUpPlayerFile(league);
        league_ = tavrel::LoadLeague(tavrel::PlayerFilePath(league.string()), league,
                                     WorkingDatabase(), ProgressWindow());
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        // A failed import leaves the previous working database in place: go on with it.
        if (league_)
            AttachWorkingDatabase(shownRow, std::nullopt);
        return false;
    }
    history_->clear(); // the steps belong to the league before
    ShowOpenedLeague(leagueFile, std::move(*claim), tavrel::RowKeysOfImport(league_->image));
    if (remember)
        WriteLastFile(LeagueFile);
    return true;
}

bool frmMain::AttachWorkingDatabase(int rowToShow,
                                    std::optional<std::vector<tavrel::RowKey>> rows) {
    try {
        auto store = std::make_unique<tavrel::PlayerRowStore>(WorkingDatabase());
        if (rows)
            Data1->Attach(std::move(store), std::move(*rows));
        else
            Data1->Attach(std::move(store));
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        return false;
    }
    details_->Rebind(rowToShow);
    return true;
}

bool frmMain::SaveCurrentLeague() {
    CommitPendingEdit();
    if (!league_)
        return true; // no league open: nothing to save
    if (readOnly_) {
        prompts_->ShowMessage(this, QStringLiteral("The league \"%1\" is open read only: it "
                                                   "cannot be saved.")
                                        .arg(LeagueFile));
        return false;
    }
    std::size_t written = 0;
    try {
        written = tavrel::SaveLeagueInPlace(*league_, WorkingDatabase(), ProgressWindow());
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        return false;
    }
    history_->setClean();
    ShowStatus(
        QStringLiteral("Saved %1 players to %2")
            .arg(QLocale().toString(qulonglong(written)), Text(league_->playerFile.filename())));
    return true;
}

void frmMain::PrintLeague() {
    CommitPendingEdit();
    if (!league_) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before printing its rosters."));
        return;
    }
    std::vector<std::filesystem::path> written;
    try {
        written = tavrel::PrintRosters(WorkingDatabase(), workingDirectory_);
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        return;
    }
    ShowStatus(QStringLiteral("%1 roster files written to %2")
                   .arg(written.size())
                   .arg(Text(workingDirectory_)));
}

bool frmMain::ConfirmEnd() {
    CommitPendingEdit();
    if (readOnly_)
        return true; // nothing can be saved
    // Asked whenever the program ends, as it always was; with no league or no edits, Yes saves
    // nothing and No loses nothing.
    const std::optional<bool> save = prompts_->AskYesNoOrCancel(this, kSaveQuestion);
    if (!save)
        return false; // Esc or the close box: the program goes on with the edits
    if (!*save) {
        if (HasUnsavedChanges())
            DropUnsavedChanges(); // or the next start would offer to recover them
        return true;
    }
    return SaveCurrentLeague(); // a failed save keeps the program open, so nothing is lost
}

void frmMain::ExitProgram() {
    if (!ConfirmEnd())
        return;
    ending_ = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!ending_ && !ConfirmEnd()) {
        event->ignore();
        return;
    }
    ending_ = true;
    SaveLayout();
    QuitHelp();
    event->accept();
    emit Ended();
}
