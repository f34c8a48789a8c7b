#include "ui/main/GridSync.h"

#include "ui/document/LeagueDocument.h"
#include "ui/grid/PlayerGrid.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace {
constexpr int kGridMessageMs = 10000;
const int kTeamColumn = *tavrel::PlayersColumnIndex("Team");
} // namespace

GridSync::GridSync(frmMain& window) : window_(window) {}

void GridSync::BuildPlayerGrid(QMenu* viewMenu) {
    grid_ = new PlayerGrid(&window_);
    window_.addDockWidget(Qt::BottomDockWidgetArea, grid_);
    grid_->hide();
    QAction* toggle = grid_->toggleViewAction();
    toggle->setText(QStringLiteral("Player &Grid"));
    toggle->setObjectName("mnuViewPlayerGrid");
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    viewMenu->addSeparator();
    viewMenu->addAction(toggle);
    // The form alone fits a small window; with the grid the window takes the screen.
    QObject::connect(toggle, &QAction::toggled, grid_, [this](bool shown) {
        if (!shown)
            return;
        if (!window_.isMaximized() && !window_.isFullScreen() && window_.screen()) {
            const QRect area = window_.screen()->availableGeometry();
            if (window_.height() < area.height() * 9 / 10) {
                // The frame the window manager adds (the title bar above all) stays on screen:
                // the frame, not the inside, fills the area.
                const QRect frame = window_.frameGeometry(), inside = window_.geometry();
                window_.setGeometry(area.adjusted(
                    inside.left() - frame.left(), inside.top() - frame.top(),
                    frame.right() - inside.right(), frame.bottom() - inside.bottom()));
            }
        }
        window_.resizeDocks({grid_}, {window_.height() / 2}, Qt::Vertical);
        WindowResized();
    });

    grid_->SetPrompts(&window_.Prompts());
    LeagueDocument& document = window_.Document();
    grid_->Model()->SetEditGate([&document] { return document.IsEditable(); });
    grid_->Model()->SetChangeSink([this](const QString& text, tavrel::CellChanges changes) {
        return window_.ApplyChanges(text, std::move(changes));
    });
    QObject::connect(grid_->Model(), &PlayerGridModel::editing, &window_,
                     &frmMain::CommitPendingEdit);
    QObject::connect(grid_, &PlayerGrid::playerChosen, &window_, [this](int teamId, int pid) {
        const QScopedValueRollback quiet(syncing_, true);
        window_.RunCommand([&] { window_.Browser().ShowPlayer(teamId, pid, false); });
    });
    QObject::connect(grid_, &PlayerGrid::message, &window_, [this](const QString& text) {
        window_.statusBar()->showMessage(text, kGridMessageMs);
    });
    QObject::connect(&document, &LeagueDocument::currentPlayerChanged, grid_,
                     [this](std::optional<std::int64_t> rowId) {
                         if (!syncing_)
                             grid_->SetCurrentPlayer(rowId);
                     });
}

void GridSync::LeagueOpened() {
    grid_->SetLeague(window_.Document().LeagueFile(), window_.WorkingDatabase());
    grid_->SetCurrentPlayer(window_.Document().CurrentPlayer());
}

void GridSync::CellsChanged(const tavrel::CellChanges& changes) {
    grid_->PlayersChanged();
    // Names are changed in place in the list; a player who changed teams leaves one list and
    // joins another, so the lists are filled again for the player shown.
    if (std::none_of(changes.begin(), changes.end(),
                     [](const tavrel::CellChange& c) { return c.column == kTeamColumn; }))
        return;
    // After the command that changed them is done, not in the middle of it.
    QTimer::singleShot(0, grid_, [this] {
        const QScopedValueRollback quiet(syncing_, true);
        window_.RunCommand([this] { window_.Browser().FollowCurrentPlayer(); });
    });
}

void GridSync::PlayersReloaded() {
    grid_->PlayersChanged();
}

void GridSync::WindowResized() {
    // The grid may be about to show (its menu item is checked before it shows): the fit looks
    // once the events of now are handled.
    if (grid_ && !fitPending_) {
        fitPending_ = true;
        QTimer::singleShot(0, grid_, [this] { FitFormAboveGrid(); });
    }
}

void GridSync::FitFormAboveGrid() {
    fitPending_ = false;
    if (!grid_->isVisible() || grid_->isFloating() ||
        window_.dockWidgetArea(grid_) != Qt::BottomDockWidgetArea)
        return;
    const int room = window_.centralWidget()->height() + grid_->height();
    const int form = std::max(window_.Details()->minimumSizeHint().height(),
                              window_.centralWidget()->minimumSizeHint().height());
    window_.resizeDocks({grid_}, {std::max(room / 3, room - form)}, Qt::Vertical);
}
