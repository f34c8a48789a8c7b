// frmMain and the player grid: the View menu's item, the grid's changes going into the players,
// and the form and the grid showing the same player.
#include "ui/grid/CellChangesStandIn.h"
#include "ui/grid/PlayerGrid.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>

namespace {
constexpr int kGridMessageMs = 10000;
const int kPidColumn = *tavrel::PlayersColumnIndex("PID");
const int kTeamColumn = *tavrel::PlayersColumnIndex("Team");
} // namespace

void frmMain::BuildPlayerGrid(QMenu* viewMenu) {
    grid_ = new PlayerGrid(this);
    addDockWidget(Qt::BottomDockWidgetArea, grid_);
    grid_->hide();
    QAction* toggle = grid_->toggleViewAction();
    toggle->setText(QStringLiteral("Player &Grid"));
    toggle->setObjectName("mnuViewPlayerGrid");
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    viewMenu->addSeparator();
    viewMenu->addAction(toggle);
    // The form alone fits a small window; with the grid the window takes the screen.
    connect(toggle, &QAction::toggled, this, [this](bool shown) {
        if (!shown || isMaximized() || isFullScreen() || !screen())
            return;
        const QRect area = screen()->availableGeometry();
        if (height() < area.height() * 9 / 10)
            setGeometry(area);
    });

    grid_->Model()->SetChangeSink([this](const QString&, tavrel::CellChanges changes) {
        const QScopedValueRollback quiet(syncingGrid_, true);
        CommitPendingEdit();
        const int formRow = details_->CurrentRow();
        try {
            tavrel::WriteCellChangesAfter(WorkingDatabase(), changes);
        } catch (const std::exception& e) {
            ShowFailure(QString::fromStdString(e.what()));
            return false;
        }
        PlayersChangedElsewhere();
        // The lists follow a signing or trade; the form stays on its player.
        const QModelIndex shown = Data1->index(formRow, kPidColumn);
        ShowGridPlayer(Data1->index(formRow, kTeamColumn).data().toInt(), shown.data().toInt());
        return true;
    });
    connect(grid_, &PlayerGrid::playerChosen, this, &frmMain::ShowGridPlayer);
    connect(grid_, &PlayerGrid::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, kGridMessageMs); });
    // Whatever changes the stored players (the form, Global Edit, an undo, another league) shows
    // in the grid; the grid's own changes are in it already.
    const auto playersChanged = [this] {
        if (syncingGrid_ || !Data1->IsAttached())
            return;
        grid_->SetLeague(LeagueFile, WorkingDatabase());
    };
    connect(Data1, &QAbstractItemModel::modelReset, this, playersChanged);
    connect(Data1, &QAbstractItemModel::dataChanged, this, playersChanged);
    connect(lstPlayers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncingGrid_ || row < 0)
            return;
        grid_->SelectPlayer(lstPlayers->item(row)->data(Qt::UserRole).toInt());
    });
}

void frmMain::ShowGridPlayer(int teamId, int pid) {
    if (!league_)
        return;
    const QScopedValueRollback quiet(syncingGrid_, true);
    const auto listed = [this, pid] {
        for (int i = 0; i < lstPlayers->count(); ++i)
            if (lstPlayers->item(i)->data(Qt::UserRole).toInt() == pid)
                return i;
        return -1;
    };
    const int team = cboTeam->findData(teamId);
    if (team >= 0 && (team != cboTeam->currentIndex() || listed() < 0)) {
        cboTeam->setCurrentIndex(team);
        cboTeam_Click();
    }
    const int item = listed();
    if (item < 0) {
        SelectPlayerById(static_cast<qint16>(pid)); // not listed: no last name
        return;
    }
    if (lstPlayers->currentRow() == item)
        lstPlayers_Click();
    else
        lstPlayers->setCurrentRow(item);
}
