// frmMain's safety nets: the league's lock and read-only mode, File > Restore Backup... and the
// recovery of unsaved changes left by a window that ended without Save or No.
#include "league/BackupChanges.h"
#include "safety/LeagueBackups.h"
#include "safety/LeagueOrigin.h"
#include "fileformat/LeaguePaths.h"
#include "league/LeagueSave.h"
#include "store/PlayerRowStore.h"
#include "store/WorkingDatabase.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/RestoreBackupDialog.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramName = "Tavrel";
// After the Parts' items and the reopen item (5 and 6), so their indexes stay.
constexpr int kSafetySeparatorIndex = 7;
constexpr int kRestoredMessageMs = 15000;

QString Text(const std::exception& e) {
    return QString::fromStdString(e.what());
}
QString Text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

QString TakenText(std::chrono::system_clock::time_point taken) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(taken.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

void frmMain::AddSafetyItems() {
    AddMenuItem(mnuFile, mnuFileItem, kSafetySeparatorIndex, QStringLiteral("-"), "mnuFileItem");
    QAction* restore = AddMenuItem(mnuFile, mnuFileItem, kRestoreBackupIndex,
                                   QStringLiteral("Restore &Backup..."), "mnuFileItem");
    connect(restore, &QAction::triggered, this, &frmMain::RestoreBackup);
    // Recovery after a crash looks for this mark: set while the league differs from its player
    // file, cleared when it is saved or undone back to it.
    connect(history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!league_)
            return;
        try {
            tavrel::MarkUnsavedChanges(WorkingDatabase(), !clean);
        } catch (const std::exception& e) {
            ShowFailure(Text(e));
        }
    });
}

std::unique_ptr<tavrel::LeagueLock> frmMain::TryLockLeague(const fs::path& leagueFile,
                                                           QString& refusal) {
    auto lock = std::make_unique<tavrel::LeagueLock>(leagueFile, kProgramName);
    try {
        if (lock->TryLock())
            return lock;
        const std::optional<tavrel::LeagueLockHolder>& holder = lock->Holder();
        refusal = QStringLiteral("The league \"%1\" is being changed by %2.")
                      .arg(Text(leagueFile),
                           holder ? QString::fromStdString(tavrel::DescribeLockHolder(*holder))
                                  : QStringLiteral("another program"));
    } catch (const std::exception& e) {
        refusal = Text(e);
    }
    return nullptr;
}

std::optional<frmMain::LeagueClaim> frmMain::ClaimLeague(const fs::path& leagueFile) {
    LeagueClaim claim;
    std::error_code ec;
    if (leagueLock_ && league_ &&
        fs::equivalent(tavrel::PlayerFilePath(leagueFile.string()), league_->playerFile, ec))
        return claim; // the open league again: its lock is ours already
    QString refusal;
    claim.lock = TryLockLeague(leagueFile, refusal);
    if (claim.lock)
        return claim;
    if (!prompts_->AskYesNo(this, refusal + QStringLiteral("\n\nWould you like to open it read "
                                                           "only? You can look through its "
                                                           "players but not change or save them.")))
        return std::nullopt;
    claim.readOnly = true;
    return claim;
}

void frmMain::ShowOpenedLeague(const QString& leagueFile, LeagueClaim claim,
                               std::optional<std::vector<tavrel::RowKey>> rows) {
    if (claim.readOnly)
        leagueLock_.reset(); // the league before is not ours any more
    else if (claim.lock)
        leagueLock_ = std::move(claim.lock);
    LeagueFile = leagueFile;
    SetReadOnly(claim.readOnly);
    AttachWorkingDatabase(0, std::move(rows));
    LoadTeamList();
    statusPanel1->setText(LeagueFile);
    CheckOpenedLeague();
    if (globalEdit_)
        globalEdit_->LeagueOpened(); // its team list belongs to the league before
    if (ratingsChart_)
        ratingsChart_->Refresh();
}

void frmMain::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    for (QLineEdit* box : details_->findChildren<QLineEdit*>())
        box->setReadOnly(readOnly);
    if (readOnly && globalEdit_)
        globalEdit_->hide();
    ShowLeagueState();
}

void frmMain::DropUnsavedChanges() {
    try {
        tavrel::MarkUnsavedChanges(WorkingDatabase(), false);
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
    }
}

void frmMain::RestoreBackup() {
    CommitPendingEdit();
    if (!league_ || readOnly_) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before restoring one of its "
                                                   "backups."));
        return;
    }
    const std::vector<tavrel::LeagueBackup> backups =
        tavrel::ListLeagueBackups(league_->leagueFile);
    if (backups.empty()) {
        prompts_->ShowMessage(
            this, QStringLiteral("There is no backup of the league \"%1\" yet. Tavrel keeps one "
                                 "in \"%2\" each time the league is saved.")
                      .arg(LeagueFile, Text(tavrel::LeagueBackupsFolder(league_->leagueFile))));
        return;
    }
    // What a Save would write, built once and compared with every backup.
    std::optional<tavrel::PlayerFileImage> saved;
    try {
        saved = tavrel::SavedPlayerFile(*league_, WorkingDatabase());
    } catch (const std::exception&) {
    }
    std::vector<RestoreBackupDialog::Row> rows;
    const QLocale locale;
    for (const tavrel::LeagueBackup& backup : backups) {
        QString differing = QStringLiteral("cannot be read");
        try {
            if (saved)
                differing = locale.toString(static_cast<qulonglong>(
                    tavrel::CountDifferingPlayers(tavrel::ReadPlayerFile(backup.file), *saved)));
        } catch (const std::exception&) {
        }
        rows.push_back(
            {TakenText(backup.taken),
             QStringLiteral("%1 bytes").arg(locale.toString(static_cast<qulonglong>(backup.size))),
             differing});
    }
    RestoreBackupDialog dialog(LeagueFile, rows, this);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenRow() < 0)
        return;
    const tavrel::LeagueBackup& chosen = backups[static_cast<std::size_t>(dialog.ChosenRow())];
    const QString taken = rows[static_cast<std::size_t>(dialog.ChosenRow())].taken;
    const QString restored =
        QStringLiteral("The backup of %1 is loaded; Save puts it back into the player file.")
            .arg(taken);

    // One step of the history when changed cells say it all; otherwise imported whole.
    std::optional<tavrel::CellChanges> changes;
    try {
        changes = tavrel::ChangesToBackup(*league_, WorkingDatabase(),
                                          tavrel::ReadPlayerFile(chosen.file));
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        return;
    }
    if (changes) {
        if (changes->empty())
            statusBar()->showMessage(
                QStringLiteral("The backup of %1 holds the players of the open league.").arg(taken),
                kRestoredMessageMs);
        else if (ApplyChanges(QStringLiteral("Restore Backup of %1").arg(taken),
                              std::move(*changes)))
            statusBar()->showMessage(restored, kRestoredMessageMs);
        return;
    }

    const int shownRow = details_->CurrentRow();
    Data1->Detach(); // the import replaces the working database
    try {
        league_ = tavrel::LoadLeagueBackup(league_->leagueFile, chosen.file, WorkingDatabase(),
                                           ProgressWindow());
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        AttachWorkingDatabase(shownRow, std::nullopt);
        return;
    }
    // A new history, away from the saved state (the working database's origin says so too).
    history_->clear();
    history_->resetClean();
    AttachWorkingDatabase(0, tavrel::RowKeysOfImport(league_->image));
    LoadTeamList();
    if (globalEdit_)
        globalEdit_->LeagueOpened();
    statusBar()->showMessage(restored, kRestoredMessageMs);
}

void frmMain::OfferCrashRecovery() {
    if (league_)
        return;
    // Another copy running in this folder works on that database now: nothing is left over.
    try {
        if (!lock_->IsLocked() && !lock_->TryLock())
            return;
    } catch (const std::exception&) {
        return;
    }
    const std::optional<tavrel::RecoveryCheck> check =
        tavrel::CheckForUnsavedChanges(WorkingDatabase());
    if (!check)
        return;
    const tavrel::LeagueOrigin& origin = check->origin;
    const QString league = Text(origin.leagueFile);
    if (check->playerFileChanged) {
        prompts_->ShowMessage(
            this, QStringLiteral("Tavrel ended without saving the changes made to the league "
                                 "\"%1\", but its player file \"%2\" has changed since (or is "
                                 "gone). The changes cannot be recovered onto it and were "
                                 "discarded.")
                      .arg(league, Text(origin.playerFile)));
        DropUnsavedChanges();
        return;
    }
    const std::optional<bool> recover = prompts_->AskYesNoOrCancel(
        this, QStringLiteral("Tavrel ended without saving the changes made to the league "
                             "\"%1\". Would you like to recover them? (No discards them.)")
                  .arg(league));
    if (!recover)
        return; // asked again at the next start
    if (!*recover) {
        DropUnsavedChanges();
        return;
    }
    QString refusal;
    LeagueClaim claim{TryLockLeague(origin.leagueFile, refusal), false};
    if (!claim.lock) {
        prompts_->ShowMessage(this, refusal + QStringLiteral(" The unsaved changes are kept; "
                                                             "Tavrel offers them again at its "
                                                             "next start."));
        return;
    }
    try {
        league_ = tavrel::RecoverLeague(WorkingDatabase());
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
        return;
    }
    history_->clear();
    history_->resetClean();
    ShowOpenedLeague(league, std::move(claim), std::nullopt);
}
