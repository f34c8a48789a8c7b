// frmMain's spreadsheet export and import, comparing with another league and the league check.
// Each handler asks for what it needs, calls the exchange library and shows the outcome.
#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerExport.h"
#include "exchange/PlayerImport.h"
#include "league/FileBytes.h"
#include "ui/exchange/ReportDialog.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace {

constexpr int kMessageMs = 15000;
// After the reopen item (6) and Restore Backup (7, 8), so their indexes stay.
constexpr int kSeparatorIndex = 9, kExportIndex = 10, kImportIndex = 11, kCompareIndex = 12;
constexpr int kLeagueCheckIndex = 3; // after the Ratings Chart

const QString kSheetFilter =
    QStringLiteral("CSV Files (*.csv);;Excel Workbooks (*.xlsx);;All Files (*)");
const QString kCompareFilter =
    QStringLiteral("Leagues and Player Files (*.lge *.ply *.sw$);;All Files (*)");

QString Text(const std::exception& e) {
    return QString::fromStdString(e.what());
}

std::filesystem::path PathOf(const QString& file) {
    return std::filesystem::path(file.toStdString());
}

} // namespace

void frmMain::AddExchangeItems() {
    AddMenuItem(mnuFile, mnuFileItem, kSeparatorIndex, QStringLiteral("-"), "mnuFileItem");
    for (const auto& [index, caption] : {std::pair{kExportIndex, "&Export Players..."},
                                         std::pair{kImportIndex, "&Import Players..."},
                                         std::pair{kCompareIndex, "Co&mpare With..."}}) {
        QAction* a = AddMenuItem(mnuFile, mnuFileItem, index, caption, "mnuFileItem");
        connect(a, &QAction::triggered, this, [this, i = index] { mnuFileItem_Click(i); });
    }
    QMenu* view = findChild<QMenu*>("mnuView");
    QAction* check = AddMenuItem(view, mnuViewItem, kLeagueCheckIndex,
                                 QStringLiteral("&League Check"), "mnuViewItem");
    connect(check, &QAction::triggered, this, [this] { mnuViewItem_Click(kLeagueCheckIndex); });

    leagueCheckPanel_ = new QLabel(this);
    leagueCheckPanel_->setObjectName("PanelLeagueCheck");
    statusBar()->addPermanentWidget(leagueCheckPanel_);
}

void frmMain::ExportPlayers() {
    CommitPendingEdit();
    if (!league_) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before exporting its players."));
        return;
    }
    const QString file =
        prompts_->ChooseFileToSave(this, QStringLiteral("Export Players"), kSheetFilter);
    if (file.isEmpty())
        return;
    const bool xlsx =
        QFileInfo(file).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    try {
        const tavrel::PlayerList players =
            tavrel::PlayerList::FromWorkingDatabase(WorkingDatabase());
        tavrel::ExportPlayers(
            players, PathOf(file),
            {xlsx ? tavrel::ExportFormat::Xlsx : tavrel::ExportFormat::Csv, std::nullopt});
        statusBar()->showMessage(
            QStringLiteral("%1 players exported to %2").arg(players.Count()).arg(file), kMessageMs);
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
    }
}

void frmMain::ImportPlayers() {
    CommitPendingEdit();
    if (!league_) {
        prompts_->ShowMessage(this,
                              QStringLiteral("Open a league before importing players into it."));
        return;
    }
    const QString file = prompts_->ChooseFileToOpen(
        this, QStringLiteral("Import Players"),
        QStringLiteral("Spreadsheets (*.csv *.xlsx);;CSV Files (*.csv);;Excel Workbooks (*.xlsx);;"
                       "All Files (*)"));
    if (file.isEmpty())
        return;
    try {
        const tavrel::PlayerList players =
            tavrel::PlayerList::FromWorkingDatabase(WorkingDatabase());
        const tavrel::ImportPlan plan = tavrel::PlanSheetImport(PathOf(file), players);
        if (plan.refusalCount > 0) {
            prompts_->ShowMessage(
                this,
                QStringLiteral("Nothing was imported from \"%1\": %2 cells were refused.\n\n%3")
                    .arg(file)
                    .arg(plan.refusalCount)
                    .arg(RefusalsText(plan.refusals)));
            return;
        }
        if (plan.changes.empty()) {
            prompts_->ShowMessage(
                this, QStringLiteral("\"%1\" changes nothing in this league.").arg(file));
            return;
        }
        ReportDialog preview(
            QStringLiteral("Import Players"),
            QStringLiteral("\"%1\" changes %2 cells of %3 players. Apply the changes?")
                .arg(file)
                .arg(plan.changes.size())
                .arg(plan.playersChanged),
            ImportChangesTable(plan, players), ReportDialog::Buttons::ApplyCancel, this);
        if (preview.exec() == QDialog::Accepted)
            ApplyChanges(QStringLiteral("Import Players"), tavrel::ToCellChanges(plan.changes));
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
    }
}

void frmMain::CompareWith() {
    CommitPendingEdit();
    if (!league_) {
        prompts_->ShowMessage(this,
                              QStringLiteral("Open a league before comparing it with another."));
        return;
    }
    const QString file =
        prompts_->ChooseFileToOpen(this, QStringLiteral("Compare With"), kCompareFilter);
    if (file.isEmpty())
        return;
    try {
        const tavrel::LeagueDiff diff =
            tavrel::DiffPlayers(tavrel::PlayerList::FromWorkingDatabase(WorkingDatabase()),
                                tavrel::PlayerList::FromFile(
                                    tavrel::ReadPlayerFile(tavrel::PlayerFileOf(PathOf(file)))));
        const QString intro =
            diff.Equal()
                ? QStringLiteral("The players of this league (A) and of \"%1\" (B) are the same.")
                      .arg(file)
                : QStringLiteral("This league (A) and \"%1\" (B), matched by %2: %3 players "
                                 "differ, %4 only in A, %5 only in B.")
                      .arg(file,
                           diff.matchedByRecord ? QStringLiteral("Record") : QStringLiteral("PID"))
                      .arg(diff.changed.size())
                      .arg(diff.onlyInA.size())
                      .arg(diff.onlyInB.size());
        ReportDialog(QStringLiteral("Compare With"), intro, ComparisonTable(diff),
                     ReportDialog::Buttons::Close, this)
            .exec();
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
    }
}

void frmMain::ShowLeagueCheck() {
    if (!league_) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before checking it."));
        return;
    }
    try {
        const auto problems = tavrel::CheckLeagueFiles(PathOf(LeagueFile));
        const QString intro =
            problems.empty()
                ? QStringLiteral("The saved files of this league show no problems.")
                : QStringLiteral("The saved files of this league show %1.")
                      .arg(QString::fromStdString(tavrel::WarningCount(problems.size())));
        ReportDialog(QStringLiteral("League Check"), intro, CheckTable(problems),
                     ReportDialog::Buttons::Close, this)
            .exec();
    } catch (const std::exception& e) {
        ShowFailure(Text(e));
    }
}

void frmMain::CheckOpenedLeague() {
    leagueCheckPanel_->clear();
    try {
        const std::size_t warnings = tavrel::CheckLeagueFiles(PathOf(LeagueFile)).size();
        if (warnings > 0)
            leagueCheckPanel_->setText(
                QStringLiteral("League check: %1")
                    .arg(QString::fromStdString(tavrel::WarningCount(warnings))));
    } catch (const std::exception& e) {
        leagueCheckPanel_->setText(QStringLiteral("League check could not run"));
        leagueCheckPanel_->setToolTip(Text(e));
    }
}
