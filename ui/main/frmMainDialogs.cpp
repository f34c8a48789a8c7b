// frmMain's calls into the Global Edit dialog, the About box and the help.
#include "ui/charts/RatingsChartWindow.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/frmAbout.h"
#include "ui/document/LeagueDocument.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/frmMain.h"

void frmMain::InitHelp() {
    tavrel::InitHelp(this);
}

void frmMain::QuitHelp() {
    tavrel::QuitHelp();
}

void frmMain::ShowGlobalEdit() {
    CommitPendingEdit();
    if (!document_->IsOpen()) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before using Global Edit: it "
                                                   "changes the players of the open league."));
        return;
    }
    if (document_->IsReadOnly()) {
        ApplyChanges(QStringLiteral("Global Edit"), {}); // says why not
        return;
    }
    if (!globalEdit_) {
        globalEdit_ = new tavrel::frmGlobal(WorkingDatabase(), *prompts_, ProgressWindow(), this);
        connect(globalEdit_, &tavrel::frmGlobal::GlobalEditStarting, this,
                &frmMain::CommitPendingEdit);
        connect(globalEdit_, &tavrel::frmGlobal::GlobalEditRecorded, this,
                [this](const QString& text, const tavrel::CellChanges& changes,
                       const QString& summary) {
                    globalEditRecorded_ = true;
                    if (document_->RecordApplied(text, changes))
                        ShowStatus(summary);
                });
        // A run whose changes could not be read back still changed the players.
        connect(globalEdit_, &tavrel::frmGlobal::GlobalEditApplied, this, [this] {
            if (!globalEditRecorded_)
                PlayersChangedElsewhere();
            globalEditRecorded_ = false;
        });
        connect(globalEdit_, &tavrel::frmGlobal::PreviewStarting, this,
                &frmMain::CommitPendingEdit);
        connect(this, &frmMain::PlayersChanged, globalEdit_, &tavrel::frmGlobal::PlayersChanged);
    }
    globalEdit_->show();
    globalEdit_->raise();
    globalEdit_->activateWindow();
}

void frmMain::ShowRatingsChart() {
    CommitPendingEdit();
    if (!document_->IsOpen()) {
        prompts_->ShowMessage(this, QStringLiteral("Open a league before showing the Ratings "
                                                   "Chart: it charts the players of the open "
                                                   "league."));
        return;
    }
    if (!ratingsChart_) {
        ratingsChart_ = new tavrel::RatingsChartWindow(WorkingDatabase(), *prompts_, this);
        connect(this, &frmMain::PlayersChanged, ratingsChart_,
                &tavrel::RatingsChartWindow::Refresh);
    }
    ratingsChart_->Refresh();
    ratingsChart_->show();
    ratingsChart_->raise();
    ratingsChart_->activateWindow();
}

void frmMain::ShowHelpContents() {
    tavrel::ShowHelpContents();
}

void frmMain::ShowAbout() {
    tavrel::frmAbout about(*prompts_, this);
    about.exec();
}
