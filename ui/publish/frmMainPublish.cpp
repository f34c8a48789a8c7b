// frmMain's File > Publish League Site... and File > Print Rosters..., after every other File item
// so that no index of theirs moves. The commands themselves are PublishActions.
#include "ui/common/UserPrompts.h"
#include "ui/document/LeagueDocument.h"
#include "ui/main/frmMain.h"
#include "ui/publish/PublishActions.h"

#include <QAction>
#include <QMenu>

namespace {
constexpr int kSeparatorIndex = 13, kPublishSiteIndex = 14, kPrintRostersIndex = 15;
}

void frmMain::AddPublishItems() {
    auto* actions = new PublishActions(
        {this,
         [this] {
             CommitPendingEdit();
             return IsLeagueOpen();
         },
         [this] { return WorkingDatabase(); }, [this] { return Document().LeagueFile(); },
         [this] { return HasUnsavedChanges(); },
         [this](const QString& text) { prompts_->ShowMessage(this, text); },
         [this](const QString& text) { ShowFailure(text); }, [this] { return ProgressWindow(); }},
        this);
    AddMenuItem(mnuFile, mnuFileItem, kSeparatorIndex, QStringLiteral("-"), "mnuFileItem");
    QAction* publish = AddMenuItem(mnuFile, mnuFileItem, kPublishSiteIndex,
                                   QStringLiteral("P&ublish League Site..."), "mnuFileItem");
    connect(publish, &QAction::triggered, actions, &PublishActions::PublishSite);
    QAction* print = AddMenuItem(mnuFile, mnuFileItem, kPrintRostersIndex,
                                 QStringLiteral("Print &Rosters..."), "mnuFileItem");
    connect(print, &QAction::triggered, actions, &PublishActions::PrintRosters);
}
