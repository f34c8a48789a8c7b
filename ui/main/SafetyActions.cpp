#include "ui/main/SafetyActions.h"

#include "safety/LeagueBackups.h"
#include "ui/document/LeagueDocument.h"
#include "ui/main/RestoreBackupDialog.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>
#include <QStatusBar>

namespace {

namespace fs = std::filesystem;

// After the reopen item (5 and 6), so the indexes before stay.
constexpr int kSafetySeparatorIndex = 7;

QString Text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

QString TakenText(std::chrono::system_clock::time_point taken) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(taken.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

SafetyActions::SafetyActions(frmMain& window) : window_(window) {}

void SafetyActions::AddSafetyItems() {
    window_.AddMenuItem(window_.FileMenu(), window_.FileItems(), kSafetySeparatorIndex,
                        QStringLiteral("-"), "mnuFileItem");
    QAction* restore =
        window_.AddMenuItem(window_.FileMenu(), window_.FileItems(), frmMain::kRestoreBackupIndex,
                            QStringLiteral("Restore &Backup..."), "mnuFileItem");
    QObject::connect(restore, &QAction::triggered, &window_,
                     [this] { window_.RunCommand([this] { RestoreBackup(); }); });
}

void SafetyActions::RestoreBackup() {
    window_.CommitPendingEdit();
    LeagueDocument& document = window_.Document();
    if (!document.IsEditable()) {
        window_.Prompts().ShowMessage(
            &window_, QStringLiteral("Open a league before restoring one of its backups."));
        return;
    }
    const fs::path leagueFile = document.League().leagueFile;
    // What a Save would write, built once and compared with every backup.
    std::optional<tavrel::PlayerFileImage> saved;
    try {
        saved = tavrel::SavedPlayerFile(document.League(), window_.WorkingDatabase());
    } catch (const std::exception&) {
    }
    const std::vector<tavrel::BackupComparison> backups =
        tavrel::CompareLeagueBackups(leagueFile, saved ? &*saved : nullptr);
    if (backups.empty()) {
        window_.Prompts().ShowMessage(
            &window_,
            QStringLiteral("There is no backup of the league \"%1\" yet. Tavrel keeps "
                           "one in \"%2\" each time the league is saved.")
                .arg(document.LeagueFile(), Text(tavrel::LeagueBackupsFolder(leagueFile))));
        return;
    }
    std::vector<RestoreBackupDialog::Row> rows;
    const QLocale locale;
    for (const tavrel::BackupComparison& row : backups)
        rows.push_back({TakenText(row.backup.taken),
                        QStringLiteral("%1 bytes")
                            .arg(locale.toString(static_cast<qulonglong>(row.backup.size))),
                        row.differingPlayers
                            ? locale.toString(static_cast<qulonglong>(*row.differingPlayers))
                            : QStringLiteral("cannot be read")});
    RestoreBackupDialog dialog(document.LeagueFile(), rows, &window_);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenRow() < 0)
        return;
    const auto chosen = static_cast<std::size_t>(dialog.ChosenRow());
    const fs::path file = backups[chosen].backup.file;
    const QString taken = rows[chosen].taken;
    const QString restored =
        QStringLiteral("The backup of %1 is loaded; Save puts it back into the player file.")
            .arg(taken);

    // One step of the history when changed cells say it all; otherwise imported whole.
    if (std::optional<tavrel::CellChanges> changes = document.RestoreBackup(file)) {
        if (changes->empty())
            window_.ShowStatus(
                QStringLiteral("The backup of %1 holds the players of the open league.")
                    .arg(taken));
        else if (window_.ApplyChanges(QStringLiteral("Restore Backup of %1").arg(taken),
                                      std::move(*changes)))
            window_.ShowStatus(restored);
        return;
    }
    window_.ShowStatus(restored);
}

SafetyActions::Leftover SafetyActions::OfferLeftoverChanges(const fs::path& leagueFile) {
    LeagueDocument& document = window_.Document();
    Leftover outcome = Leftover::None;
    for (const LeagueDocument::Leftover& leftover : document.LeftoverChanges(leagueFile)) {
        const Leftover offered = OfferLeftover(leftover);
        if (offered == Leftover::Recovered)
            return offered; // one league at a time: the others are offered again later
        if (offered == Leftover::Kept || outcome == Leftover::None)
            outcome = offered;
    }
    return outcome;
}

SafetyActions::Leftover SafetyActions::OfferLeftover(const LeagueDocument::Leftover& leftover) {
    const tavrel::LeagueOrigin& origin = leftover.check.origin;
    const QString league = Text(origin.leagueFile);
    if (leftover.check.playerFileChanged) {
        window_.Prompts().ShowMessage(
            &window_, QStringLiteral("Tavrel ended without saving the changes made to the league "
                                     "\"%1\", but its player file \"%2\" has changed since (or "
                                     "is gone). The changes cannot be recovered onto it and were "
                                     "discarded.")
                          .arg(league, Text(origin.playerFile)));
        LeagueDocument::DiscardLeftover(leftover.workingDb);
        return Leftover::Discarded;
    }
    const std::optional<bool> recover = window_.Prompts().AskYesNoOrCancel(
        &window_, QStringLiteral("Tavrel ended without saving the changes made to the league "
                                 "\"%1\". Would you like to recover them? (No discards them.)")
                      .arg(league));
    if (!recover)
        return Leftover::Kept; // offered again
    if (!*recover) {
        LeagueDocument::DiscardLeftover(leftover.workingDb);
        return Leftover::Discarded;
    }
    if (const std::optional<QString> refusal = window_.Document().ClaimLeague(origin.leagueFile)) {
        window_.Prompts().ShowMessage(&window_,
                                      *refusal + QStringLiteral(" The unsaved changes are kept; "
                                                                "Tavrel offers them again."));
        return Leftover::Kept;
    }
    try {
        window_.Document().Recover(leftover.workingDb, window_.ProgressWindow());
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()) +
                            QStringLiteral(" The unsaved changes are kept."));
        return Leftover::Kept;
    }
    return Leftover::Recovered;
}

void SafetyActions::OfferCrashRecovery() {
    if (!window_.Document().IsOpen())
        OfferLeftoverChanges({});
}

bool SafetyActions::SettleLeftoverChanges(const fs::path& leagueFile) {
    const Leftover leftover = OfferLeftoverChanges(leagueFile);
    return leftover == Leftover::None || leftover == Leftover::Discarded;
}
