// frmMain and the player grid: the View menu's item, the grid's changes going into the players,
// and the form and the grid showing the same player.
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
#include <QTimer>
#include <utility>

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
        if (!shown)
            return;
        if (!isMaximized() && !isFullScreen() && screen()) {
            const QRect area = screen()->availableGeometry();
            if (height() < area.height() * 9 / 10)
                setGeometry(area);
        }
        // Half the window for the grid, as far as the form leaves room.
        resizeDocks({grid_}, {height() / 2}, Qt::Vertical);
    });

    grid_->Model()->SetChangeSink([this](const QString& text, tavrel::CellChanges changes) {
        const QScopedValueRollback quiet(syncingGrid_, true);
        if (!ApplyChanges(text, std::move(changes)))
            return false;
        FollowPlayers();
        return true;
    });
    connect(grid_->Model(), &PlayerGridModel::editing, this, &frmMain::CommitPendingEdit);
    connect(grid_, &PlayerGrid::playerChosen, this,
            [this](int teamId, int pid) { ShowGridPlayer(teamId, pid, false); });
    connect(grid_, &PlayerGrid::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, kGridMessageMs); });
    // Whatever else changes the stored players (the form, Global Edit, an undo, another league)
    // shows in the grid and the lists; the grid's own changes are in it already.
    connect(Data1, &QAbstractItemModel::modelReset, this, [this] {
        if (!syncingGrid_ && Data1->IsAttached())
            grid_->SetLeague(LeagueFile, WorkingDatabase());
    });
    connect(this, &frmMain::PlayersChanged, this, [this] {
        if (syncingGrid_)
            return;
        grid_->PlayersChanged();
        // Names are changed in place in the list; a player who changed teams leaves one list
        // and joins another, so the list is filled again.
        if (!std::exchange(teamsChanged_, false))
            return;
        // After the command that changed them is done, not in the middle of it.
        QTimer::singleShot(0, this, [this] {
            const QScopedValueRollback quiet(syncingGrid_, true);
            FollowPlayers();
        });
    });
    connect(lstPlayers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncingGrid_ || row < 0)
            return;
        grid_->SelectPlayer(lstPlayers->item(row)->data(Qt::UserRole).toInt());
    });
}

void frmMain::FollowPlayers() {
    // The form's player stays shown; the list is filled again (a name or a team changed) and
    // shows his team.
    const int row = details_->CurrentRow();
    if (!league_ || row < 0)
        return;
    ShowGridPlayer(Data1->index(row, kTeamColumn).data().toInt(),
                   Data1->index(row, kPidColumn).data().toInt(), true);
}

void frmMain::ShowGridPlayer(int teamId, int pid, bool refill) {
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
    if (team >= 0 && (refill || team != cboTeam->currentIndex() || listed() < 0)) {
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
