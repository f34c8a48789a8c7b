#include "ui/main/frmMain.h"

#include "league/ProgramInfo.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/common/frmStatus.h"
#include "ui/document/LeagueDocument.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/ExchangeActions.h"
#include "ui/main/GridSync.h"
#include "ui/main/LeagueCommands.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/SafetyActions.h"
#include "ui/main/WindowSettings.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

// Index and caption of every item of one menu; "-" is a separator.
struct MenuItem {
    int index;
    const char* caption;
};

constexpr MenuItem kFileItems[] = {
    {0, "&Open"}, {1, "&Print"}, {2, "&Save"}, {3, "-"}, {4, "&Exit"}};
// Only Global Edit (6) is in use; the others are kept hidden and disabled.
constexpr MenuItem kEditItems[] = {
    {0, "&Expand"},        {1, "Import &Draft"}, {2, "Import &Teams"}, {4, "T&rade Players"},
    {5, "&Update League"}, {6, "&Global Edit"},  {7, "&HTML"}};
constexpr int kGlobalEditIndex = 6;
constexpr const char* kWebPublisherItems[] = {
    "&Injuries", "&League Schedule", "&Roster", "&Standings", "&Team Pages", "-", "&All"};
constexpr MenuItem kViewItems[] = {{0, "&Toolbar"}, {1, "&Statusbar"}};
// Added after the bars' items, so their indexes stay; not checkable.
constexpr int kRatingsChartIndex = 2;
constexpr MenuItem kHelpItems[] = {{0, "&Contents"}, {1, "-"}, {2, "&About"}};

struct ToolbarButton {
    const char* key;
    const char* toolTip;
    QStyle::StandardPixmap icon;
};

constexpr ToolbarButton kToolbarButtons[] = {
    {"Open", "Open League", QStyle::SP_DialogOpenButton},
    {"Save", "Save", QStyle::SP_DialogSaveButton},
    {"Print", "Print to File", QStyle::SP_FileDialogDetailedView},
    {"Find", "Find Player", QStyle::SP_FileDialogContentsView},
    {"SortAc", "Sort Ascending", QStyle::SP_ArrowUp},
    {"SortDec", "Sort Descending", QStyle::SP_ArrowDown},
    {"GlobalEdit", "Global Edit", QStyle::SP_BrowserReload},
    {"Help", "Help", QStyle::SP_MessageBoxQuestion},
};

constexpr int kListWidthChars = 34;
constexpr int kStatusMessageMs = 15000;

} // namespace

frmMain::frmMain(std::filesystem::path workingDirectory, std::unique_ptr<UserPrompts> prompts,
                 QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts ? std::move(prompts) : std::make_unique<QtUserPrompts>()),
      document_(new LeagueDocument(std::move(workingDirectory), this)),
      Data1(new PlayersModel(this)), browser_(std::make_unique<PlayerBrowser>(*this)),
      commands_(std::make_unique<LeagueCommands>(*this)),
      safety_(std::make_unique<SafetyActions>(*this)),
      exchange_(std::make_unique<ExchangeActions>(*this)), grid_(std::make_unique<GridSync>(*this)) {
    setObjectName("frmMain");
    setContextMenuPolicy(Qt::NoContextMenu); // the View menu alone shows and hides the bars
    InitHelp();
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();

    // The lists and the player, side by side; the player scrolls when the window is small.
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("splitter");
    splitter_->setChildrenCollapsible(false);
    QWidget* lists = browser_->BuildLists(splitter_);
    auto* player = new QScrollArea(splitter_);
    player->setObjectName("playerArea");
    player->setWidgetResizable(true);
    player->setFrameShape(QFrame::NoFrame);
    details_ = new PlayerDetailFields(Data1, player);
    player->setWidget(details_);
    splitter_->addWidget(lists);
    splitter_->addWidget(player);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({ListsWidth(), details_->sizeHint().width()});
    setCentralWidget(splitter_);
    SetTabOrder();
    grid_->BuildPlayerGrid(findChild<QMenu*>("mnuView"));
    ConnectDocument();

    AddReopenItem();
    safety_->AddSafetyItems();
    exchange_->AddExchangeItems([this](int i) { mnuFileItem_Click(i); },
                                [this](int i) { mnuViewItem_Click(i); });
    ShowLeagueState();
    RestoreLayout();
}

frmMain::~frmMain() {
    // Closing the window takes the focus from the boxes, which would store what they hold:
    // nothing of this window may answer that any more.
    Data1->disconnect(this);
    Data1->SetEditSink({});
    Data1->Detach();
    document_->disconnect(this);
}

void frmMain::ConnectDocument() {
    Data1->SetEditGate([this] { return document_->IsEditable(); });
    Data1->SetEditSink([this](const QString& text, tavrel::CellChanges changes) {
        return document_->Apply(text, std::move(changes));
    });
    connect(Data1, &PlayersModel::writeFailed, this, &frmMain::ShowFailure);
    connect(document_, &LeagueDocument::failed, this, &frmMain::ShowFailure);
    connect(document_, &LeagueDocument::stateChanged, this, &frmMain::ShowLeagueState);
    connect(document_->History(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
    connect(document_, &LeagueDocument::workingDatabaseClosing, Data1, &PlayersModel::Detach);
    connect(document_, &LeagueDocument::workingDatabaseOpened, this,
            [this](bool newLeague) {
                std::optional<std::vector<tavrel::RowKey>> rows = document_->TakeImportedRows();
                try {
                    auto store = std::make_unique<tavrel::PlayerRowStore>(WorkingDatabase());
                    if (rows)
                        Data1->Attach(std::move(store), std::move(*rows));
                    else
                        Data1->Attach(std::move(store));
                } catch (const std::exception& e) {
                    ShowFailure(QString::fromStdString(e.what()));
                    return;
                }
                const std::optional<std::int64_t> current = document_->CurrentPlayer();
                details_->Rebind(current ? Data1->RowOfRowId(*current).value_or(0) : 0);
                if (newLeague)
                    ShowOpenedLeague();
            });
    connect(document_, &LeagueDocument::cellsChanged, this,
            [this](const tavrel::CellChanges& changes) {
                Data1->CellsChanged(changes);
                browser_->RefreshPlayerEntries(changes);
                grid_->CellsChanged(changes);
                emit PlayersChanged();
            });
    connect(document_, &LeagueDocument::playersReloaded, this, [this] {
        const int row = details_->CurrentRow();
        try {
            Data1->Reload();
        } catch (const std::exception& e) {
            ShowFailure(QString::fromStdString(e.what()));
        }
        details_->Rebind(row);
        grid_->PlayersReloaded();
        emit PlayersChanged();
    });
}

void frmMain::ShowOpenedLeague() {
    ShowLeagueState();
    browser_->LoadTeamList();
    statusPanel1->setText(document_->LeagueFile());
    exchange_->CheckOpenedLeague();
    grid_->LeagueOpened();
    if (globalEdit_) {
        if (document_->IsReadOnly())
            globalEdit_->hide();
        globalEdit_->LeagueOpened(); // its team list belongs to the league before
    }
    if (ratingsChart_)
        ratingsChart_->Refresh();
}

std::filesystem::path frmMain::WorkingDatabase() const {
    return document_->WorkingDatabase();
}

tavrel::Progress* frmMain::ProgressWindow() {
    if (!status_)
        status_ = new frmStatus(this);
    return status_;
}

QUndoStack* frmMain::History() const {
    return document_->History();
}

bool frmMain::IsLeagueOpen() const {
    return document_->IsOpen();
}

bool frmMain::HasUnsavedChanges() const {
    return document_->HasUnsavedChanges();
}

bool frmMain::IsReadOnly() const {
    return document_->IsReadOnly();
}

void frmMain::CommitPendingEdit() {
    details_->Submit();
}

bool frmMain::ApplyChanges(const QString& text, tavrel::CellChanges changes) {
    CommitPendingEdit(); // a value still being typed is a step of its own, before this one
    return document_->Apply(text, std::move(changes));
}

void frmMain::RecordChanges(const QString& text, tavrel::CellChanges changes) {
    document_->RecordApplied(text, std::move(changes));
}

void frmMain::PlayersChangedElsewhere() {
    document_->ChangedElsewhere();
}

bool frmMain::OpenLeagueFromCommandLine(const QString& leagueFile) {
    bool opened = false;
    RunCommand([&] { opened = commands_->OpenLeagueFromCommandLine(leagueFile); });
    return opened;
}

void frmMain::ReFreshList() {
    browser_->ReFreshList();
}

void frmMain::OfferCrashRecovery() {
    RunCommand([this] { safety_->OfferCrashRecovery(); });
}

void frmMain::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
    } catch (...) {
        ShowFailure(QStringLiteral("The command failed for a reason no part of Tavrel names."));
    }
}

void frmMain::ShowFailure(const QString& message) {
    prompts_->ShowFailure(this, message);
}

QAction* frmMain::AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index,
                              const QString& caption, const char* arrayName) {
    QAction* action =
        caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(arrayName)).arg(index));
    action->setProperty("index", index);
    items.insert(index, action);
    return action;
}

void frmMain::BuildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName("mnuFile");
    for (const MenuItem& item : kFileItems) {
        QAction* a = AddMenuItem(mnuFile, mnuFileItem, item.index, item.caption, "mnuFileItem");
        connect(a, &QAction::triggered, this, [this, i = item.index] { mnuFileItem_Click(i); });
    }
    mnuFileItem[0]->setShortcut(QKeySequence::Open);
    mnuFileItem[1]->setShortcut(QKeySequence::Print);
    mnuFileItem[2]->setShortcut(QKeySequence::Save);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName("mnuCom");
    for (const MenuItem& item : kEditItems) {
        QAction* a = AddMenuItem(edit, mnuComItem, item.index, item.caption, "mnuComItem");
        if (item.index != kGlobalEditIndex) {
            a->setVisible(false);
            a->setEnabled(false);
        }
        connect(a, &QAction::triggered, this, [this, i = item.index] { mnuComItem_Click(i); });
    }

    QMenu* web = menuBar()->addMenu(QStringLiteral("&Web Publisher"));
    web->setObjectName("mnuWeb");
    for (const char* caption : kWebPublisherItems) {
        QAction* a =
            caption == std::string_view("-") ? web->addSeparator() : web->addAction(caption);
        a->setEnabled(false);
    }
    web->menuAction()->setVisible(false);
    web->menuAction()->setEnabled(false);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName("mnuView");
    for (const MenuItem& item : kViewItems) {
        QAction* a = AddMenuItem(view, mnuViewItem, item.index, item.caption, "mnuViewItem");
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::triggered, this, [this, i = item.index] { mnuViewItem_Click(i); });
    }
    view->addSeparator();
    QAction* chart = AddMenuItem(view, mnuViewItem, kRatingsChartIndex,
                                 QStringLiteral("&Ratings Chart"), "mnuViewItem");
    connect(chart, &QAction::triggered, this, [this] { mnuViewItem_Click(kRatingsChartIndex); });

    AddKeyboardItems(edit, view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName("mnuHelp");
    for (const MenuItem& item : kHelpItems) {
        QAction* a = AddMenuItem(help, mnuHelpItem, item.index, item.caption, "mnuHelpItem");
        connect(a, &QAction::triggered, this, [this, i = item.index] { mnuHelpItem_Click(i); });
    }
    mnuHelpItem[0]->setShortcut(QKeySequence::HelpContents); // F1 in this window
}

void frmMain::BuildHistory(QMenu* editMenu) {
    // A value still being typed is kept before the menu can undo anything: opening a menu does
    // not take the focus from its box.
    connect(editMenu, &QMenu::aboutToShow, this, &frmMain::CommitPendingEdit);
    // After the Edit menu's own items, whose indexes stay as they are.
    editMenu->addSeparator();
    QUndoStack* history = document_->History();
    QAction* undo = history->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName("actUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = history->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName("actRedo");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu->addAction(undo);
    editMenu->addAction(redo);
}

void frmMain::AddKeyboardItems(QMenu* editMenu, QMenu* viewMenu) {
    // After the menus' own items, whose indexes stay as they are: the undo history, and the
    // toolbar's commands that have no menu item of their own.
    BuildHistory(editMenu);
    editMenu->addSeparator();
    QAction* find = editMenu->addAction(QStringLiteral("&Find Player..."));
    find->setObjectName("actFind");
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] { Toolbar1_ButtonClick("Find"); });
    viewMenu->addSeparator();
    const struct {
        const char* name;
        const char* caption;
        const char* key;
    } sorts[] = {{"actSortAc", "Sort &Ascending", "SortAc"},
                 {"actSortDec", "Sort &Descending", "SortDec"}};
    for (const auto& sort : sorts) {
        QAction* a = viewMenu->addAction(QString::fromLatin1(sort.caption));
        a->setObjectName(sort.name);
        connect(a, &QAction::triggered, this,
                [this, key = QString::fromLatin1(sort.key)] { Toolbar1_ButtonClick(key); });
    }
}

void frmMain::AddReopenItem() {
    AddMenuItem(mnuFile, mnuFileItem, 5, QStringLiteral("-"), "mnuFileItem");
    // A path may hold '&', which a caption would take for an access key.
    QString caption = commands_->LastFile();
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* reopen = AddMenuItem(mnuFile, mnuFileItem, 6, caption, "mnuFileItem");
    connect(reopen, &QAction::triggered, this, [this] { mnuFileItem_Click(6); });
}

void frmMain::BuildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar"));
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    for (const ToolbarButton& button : kToolbarButtons) {
        QAction* a = Toolbar1->addAction(style()->standardIcon(button.icon), button.key);
        a->setObjectName(QStringLiteral("btn%1").arg(QLatin1String(button.key)));
        a->setProperty("key", QString::fromLatin1(button.key));
        a->setToolTip(button.toolTip);
        connect(a, &QAction::triggered, this,
                [this, key = QString::fromLatin1(button.key)] { Toolbar1_ButtonClick(key); });
        if (std::string_view(button.key) == "Print" || std::string_view(button.key) == "SortDec" ||
            std::string_view(button.key) == "GlobalEdit")
            Toolbar1->addSeparator();
    }
}

void frmMain::BuildStatusBar() {
    statusBar()->setObjectName("StatusBar1");
    statusPanel1 = new QLabel(QStringLiteral("League: "), this);
    statusPanel1->setObjectName("Panel1");
    statusPanel2 = new QLabel(QStringLiteral("Team:"), this);
    statusPanel2->setObjectName("Panel2");
    statusBar()->addWidget(statusPanel1, 1);
    statusBar()->addWidget(statusPanel2, 1);
    browser_->SetTeamPanel(statusPanel2);
}

int frmMain::ListsWidth() const {
    return fontMetrics().horizontalAdvance(QString(kListWidthChars, QLatin1Char('x')));
}

void frmMain::SetTabOrder() {
    // Reading order: the team, its players, then the player's boxes line by line.
    QList<QWidget*> chain{browser_->TeamCombo(), browser_->PlayerList()};
    chain << details_->FocusChain();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void frmMain::RestoreLayout() {
    const WindowSettings saved = ReadWindowSettings();
    if (saved.geometry.isEmpty() || !restoreGeometry(saved.geometry)) {
        // Room for the whole player beside the lists, as far as the screen allows; the
        // player's scroll area asks for less than that on its own.
        const QSize player = details_->sizeHint();
        const QSize lists = splitter_->widget(0)->sizeHint();
        const QSize bars = sizeHint() - splitter_->sizeHint();
        const QSize wanted(bars.width() + ListsWidth() + splitter_->handleWidth() + player.width() +
                               style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                           bars.height() + std::max(player.height(), lists.height()));
        resize(wanted.boundedTo(screen() ? screen()->availableSize() : wanted));
        CentreOnScreen();
    }
    if (!saved.splitter.isEmpty())
        splitter_->restoreState(saved.splitter);
}

void frmMain::SaveLayout() {
    WriteWindowLayout(saveGeometry(), splitter_->saveState());
}

void frmMain::ShowLeagueState() {
    const bool open = document_->IsOpen();
    const bool writable = document_->IsEditable();
    const QString name = QFileInfo(document_->LeagueFile()).fileName();
    // A league that is only looked at has no changes to mark.
    setWindowTitle(!open ? QString::fromLatin1(tavrel::kProgramName)
                   : writable
                       ? QStringLiteral("%1 - %2[*]").arg(QLatin1String(tavrel::kProgramName), name)
                       : QStringLiteral("%1 - %2 [read only]")
                             .arg(QLatin1String(tavrel::kProgramName), name));
    for (QAction* a : {mnuFileItem[1], mnuFileItem[2], mnuComItem[kGlobalEditIndex]})
        a->setEnabled(open);
    for (const char* name : {"btnSave", "btnPrint", "btnFind", "btnSortAc", "btnSortDec",
                             "btnGlobalEdit", "actFind", "actSortAc", "actSortDec"})
        findChild<QAction*>(name)->setEnabled(open);
    // A league another program is writing is only looked at: nothing that changes it is offered.
    for (QAction* writer :
         {mnuFileItem.value(2), mnuFileItem.value(kRestoreBackupIndex), mnuFileItem.value(11),
          mnuComItem.value(kGlobalEditIndex), findChild<QAction*>("btnSave"),
          findChild<QAction*>("btnGlobalEdit")})
        if (writer)
            writer->setEnabled(writable);
    for (const char* name : {"actUndo", "actRedo"})
        if (QAction* a = findChild<QAction*>(name))
            a->setVisible(!document_->IsReadOnly());
    for (QLineEdit* box : details_->findChildren<QLineEdit*>())
        box->setReadOnly(document_->IsReadOnly());
    if (document_->IsReadOnly() && globalEdit_)
        globalEdit_->hide();
}

void frmMain::ShowStatus(const QString& message) {
    statusBar()->showMessage(message, kStatusMessageMs);
}

void frmMain::CentreOnScreen() {
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}
