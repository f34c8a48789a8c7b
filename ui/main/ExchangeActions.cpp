#include "ui/main/ExchangeActions.h"

#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerExport.h"
#include "exchange/PlayerImport.h"
#include "fileformat/FileBytes.h"
#include "fileformat/TeamScan.h"
#include "league/League.h"
#include "store/TeamChoices.h"
#include "ui/common/AfterRepaints.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/Counted.h"
#include "ui/document/LeagueDocument.h"
#include "ui/exchange/ReportDialog.h"
#include "ui/main/PlayerBrowser.h"
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

ExchangeActions::ExchangeActions(frmMain& window) : window_(window) {}

void ExchangeActions::AddExchangeItems(const std::function<void(int)>& fileItem,
                                       const std::function<void(int)>& viewItem) {
    window_.AddMenuItem(window_.FileMenu(), window_.FileItems(), kSeparatorIndex,
                        QStringLiteral("-"), "mnuFileItem");
    for (const auto& [index, caption] : {std::pair{kExportIndex, "E&xport Players..."},
                                         std::pair{kImportIndex, "&Import Players..."},
                                         std::pair{kCompareIndex, "Co&mpare With..."}}) {
        QAction* a = window_.AddMenuItem(window_.FileMenu(), window_.FileItems(), index, caption,
                                         "mnuFileItem");
        QObject::connect(a, &QAction::triggered, &window_, [fileItem, i = index] { fileItem(i); });
    }
    QMenu* view = window_.findChild<QMenu*>("mnuView");
    QAction* check = window_.AddMenuItem(view, window_.ViewItems(), kLeagueCheckIndex,
                                         QStringLiteral("&League Check"), "mnuViewItem");
    QObject::connect(check, &QAction::triggered, &window_,
                     [viewItem] { viewItem(kLeagueCheckIndex); });

    leagueCheckPanel_ = new QLabel(&window_);
    leagueCheckPanel_->setObjectName("PanelLeagueCheck");
    window_.statusBar()->addPermanentWidget(leagueCheckPanel_);
}

void ExchangeActions::ExportPlayers() {
    window_.CommitPendingEdit();
    if (!window_.Document().IsOpen()) {
        window_.Prompts().ShowMessage(
            &window_, QStringLiteral("Open a league before exporting its players."));
        return;
    }
    const QString file = window_.Prompts().ChooseFileToSave(
        &window_, QStringLiteral("Export Players"), kSheetFilter);
    if (file.isEmpty())
        return;
    const bool xlsx =
        QFileInfo(file).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    try {
        const tavrel::PlayerList players =
            tavrel::PlayerList::FromWorkingDatabase(window_.WorkingDatabase());
        tavrel::ExportPlayers(
            players, PathOf(file),
            {xlsx ? tavrel::ExportFormat::Xlsx : tavrel::ExportFormat::Csv, std::nullopt});
        window_.statusBar()->showMessage(
            QStringLiteral("%1 exported to %2")
                .arg(Counted(players.Count(), "player", "players"), file),
            kMessageMs);
    } catch (const std::exception& e) {
        window_.ShowFailure(Text(e));
    }
}

void ExchangeActions::ImportPlayers() {
    window_.CommitPendingEdit();
    if (!window_.Document().IsOpen()) {
        window_.Prompts().ShowMessage(
            &window_, QStringLiteral("Open a league before importing players into it."));
        return;
    }
    if (window_.Document().IsReadOnly()) {
        window_.ApplyChanges(QStringLiteral("Import Players"), {}); // says why not
        return;
    }
    const QString file = window_.Prompts().ChooseFileToOpen(
        &window_, QStringLiteral("Import Players"),
        QStringLiteral("Spreadsheets (*.csv *.xlsx);;CSV Files (*.csv);;Excel Workbooks (*.xlsx);;"
                       "All Files (*)"));
    if (file.isEmpty())
        return;
    try {
        const tavrel::PlayerList players =
            tavrel::PlayerList::FromWorkingDatabase(window_.WorkingDatabase());
        const tavrel::ImportPlan plan = tavrel::PlanSheetImport(PathOf(file), players);
        if (plan.refusalCount > 0) {
            window_.Prompts().ShowMessage(
                &window_,
                QStringLiteral("Nothing was imported from \"%1\": %2.\n\n%3")
                    .arg(file, Counted(plan.refusalCount, "cell was refused", "cells were refused"),
                         RefusalsText(plan)));
            return;
        }
        if (plan.changes.empty()) {
            window_.Prompts().ShowMessage(
                &window_, QStringLiteral("\"%1\" changes nothing in this league.").arg(file));
            return;
        }
        ReportDialog preview(
            QStringLiteral("Import Players"),
            QStringLiteral("\"%1\" changes %2 of %3. Apply the changes?")
                .arg(file, Counted(qint64(plan.changes.size()), "cell", "cells"),
                     Counted(qint64(plan.playersChanged), "player", "players")),
            ImportChangesTable(plan, players, tavrel::TeamNames::Read(window_.WorkingDatabase())),
            ReportDialog::Buttons::ApplyCancel, &window_);
        tavrel::InstallHelpKey(&preview, tavrel::kHelpExchange);
        LeadToPlayers(preview);
        if (preview.exec() == QDialog::Accepted)
            window_.ApplyChanges(QStringLiteral("Import Players"),
                                 tavrel::ToCellChanges(plan.changes));
    } catch (const std::exception& e) {
        window_.ShowFailure(Text(e));
    }
}

void ExchangeActions::CompareWith() {
    window_.CommitPendingEdit();
    if (!window_.Document().IsOpen()) {
        window_.Prompts().ShowMessage(
            &window_, QStringLiteral("Open a league before comparing it with another."));
        return;
    }
    const QString file = window_.Prompts().ChooseFileToOpen(
        &window_, QStringLiteral("Compare With"), kCompareFilter);
    if (file.isEmpty())
        return;
    try {
        const tavrel::PlayerList players =
            tavrel::PlayerList::FromWorkingDatabase(window_.WorkingDatabase());
        const tavrel::LeagueDiff diff =
            tavrel::DiffPlayers(players, tavrel::PlayerList::FromFile(tavrel::ReadPlayerFile(
                                             tavrel::PlayerFileOf(PathOf(file)))));
        const QString intro =
            diff.Equal()
                ? QStringLiteral("The players of this league (A) and of \"%1\" (B) are the same.")
                      .arg(file)
                : QStringLiteral("This league (A) and \"%1\" (B), matched by %2: %3, %4 only "
                                 "in A, %5 only in B.")
                      .arg(file,
                           diff.matchedByRecord ? QStringLiteral("Record") : QStringLiteral("PID"),
                           Counted(qint64(diff.changed.size()), "player differs", "players differ"))
                      .arg(diff.onlyInA.size())
                      .arg(diff.onlyInB.size());
        ReportDialog report(QStringLiteral("Compare With"), intro,
                            ComparisonTable(diff, players,
                                            tavrel::TeamNames::Read(window_.WorkingDatabase()),
                                            file),
                            ReportDialog::Buttons::Close, &window_);
        tavrel::InstallHelpKey(&report, tavrel::kHelpCompare);
        LeadToPlayers(report);
        report.exec();
    } catch (const std::exception& e) {
        window_.ShowFailure(Text(e));
    }
}

void ExchangeActions::ShowLeagueCheck() {
    window_.CommitPendingEdit();
    if (!window_.Document().IsOpen()) {
        window_.Prompts().ShowMessage(&window_,
                                      QStringLiteral("Open a league before checking it."));
        return;
    }
    try {
        // The players as a save would write them now, unsaved edits included, and the teams of
        // the league file (which the program never writes).
        const LeagueDocument& document = window_.Document();
        const auto problems = tavrel::CheckLeague(
            tavrel::SavedPlayerFile(document.League(), window_.WorkingDatabase()),
            tavrel::ScanTeamRecords(
                tavrel::ReadFileBytes(PathOf(document.LeagueFile()), "Reading the league file")),
            tavrel::CheckWording::Captions);
        const QString intro =
            problems.empty()
                ? QStringLiteral("This league, unsaved changes included, shows no problems.")
                : QStringLiteral("This league, unsaved changes included, shows %1.")
                      .arg(QString::fromStdString(tavrel::WarningCount(problems.size())));
        ReportDialog report(QStringLiteral("League Check"), intro, CheckTable(problems),
                            ReportDialog::Buttons::Close, &window_);
        tavrel::InstallHelpKey(&report, tavrel::kHelpLeagueCheck);
        LeadToPlayers(report);
        report.exec();
    } catch (const std::exception& e) {
        window_.ShowFailure(Text(e));
    }
}

void ExchangeActions::LeadToPlayers(ReportDialog& report) {
    QObject::connect(&report, &ReportDialog::playerChosen, &window_,
                     [this](const ReportTarget& target) {
                         window_.RunCommand([this, &target] { ShowReportPlayer(target); });
                     });
}

void ExchangeActions::ShowReportPlayer(const ReportTarget& target) {
    if (!window_.Document().IsOpen())
        return;
    if (!target.missing.isEmpty()) {
        window_.ShowStatus(target.missing);
        return;
    }
    const bool shown = target.rowId ? window_.Browser().ShowPlayerOfRowId(*target.rowId)
                       : target.pid ? window_.Browser().ShowPlayerOfPid(*target.pid)
                                    : true;
    if (!shown)
        window_.ShowStatus(QStringLiteral("That player is no longer in the open league."));
}

void ExchangeActions::CheckOpenedLeague() {
    leagueCheckPanel_->clear();
    leagueCheckPanel_->setToolTip({});
    // Once the first player is shown: the check reads the league's files again. A league opened
    // meanwhile has its own check waiting; the first one then stands down.
    const QString league = window_.Document().LeagueFile();
    RunAfterRepaints(leagueCheckPanel_, [this, league] {
        if (window_.Document().IsOpen() && window_.Document().LeagueFile() == league)
            CheckLeagueNow();
    });
}

void ExchangeActions::CheckLeagueNow() {
    try {
        const std::size_t warnings =
            tavrel::CheckLeagueFiles(PathOf(window_.Document().LeagueFile())).size();
        if (warnings > 0)
            leagueCheckPanel_->setText(
                QStringLiteral("League check: %1")
                    .arg(QString::fromStdString(tavrel::WarningCount(warnings))));
    } catch (const std::exception& e) {
        leagueCheckPanel_->setText(QStringLiteral("League check could not run"));
        leagueCheckPanel_->setToolTip(Text(e));
    }
}
