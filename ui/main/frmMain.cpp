#include "ui/main/frmMain.h"

#include "shell/frmStatus.h"
#include "store/WorkingDatabase.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/ListTargets.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayerItemDelegate.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/WindowSettings.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
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
constexpr int kListMinimumChars = 12;
constexpr int kStatusMessageMs = 15000;

} // namespace

frmMain::frmMain(std::filesystem::path workingDirectory, std::unique_ptr<UserPrompts> prompts,
                 QWidget* parent)
    : QMainWindow(parent), workingDirectory_(std::move(workingDirectory)),
      prompts_(prompts ? std::move(prompts) : std::make_unique<QtUserPrompts>()),
      lock_(std::make_unique<tavrel::WorkingDatabaseLock>(WorkingDatabase())),
      Data1(new PlayersModel(this)) {
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
    QWidget* lists = BuildLists(splitter_);
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
    BuildPlayerGrid(findChild<QMenu*>("mnuView"));
    Data1->SetEditSink([this](const QString& text, tavrel::CellChanges changes) {
        return PushChanges(text, std::move(changes));
    });
    connect(Data1, &PlayersModel::writeFailed, this, &frmMain::ShowFailure);

    LastFile = ReadLastFile();
    AddReopenItem();
    AddSafetyItems();
    AddExchangeItems();
    AddPublishItems();
    ShowLeagueState();
    RestoreLayout();
}

frmMain::~frmMain() {
    // Closing the window takes the focus from the boxes, which would store what they hold:
    // nothing of this window may answer that any more.
    Data1->disconnect(this);
    Data1->SetEditSink({});
    Data1->Detach();
}

std::filesystem::path frmMain::WorkingDatabase() const {
    return tavrel::WorkingDatabasePath(workingDirectory_);
}

tavrel::Progress* frmMain::ProgressWindow() {
    if (!status_)
        status_ = new frmStatus(this);
    return status_;
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
    QString caption = LastFile;
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
}

QWidget* frmMain::BuildLists(QWidget* parent) {
    auto* left = new QWidget(parent);
    auto* teams = new QLabel(QStringLiteral("Teams:"), left);
    teams->setObjectName("lblTeam");
    cboTeam = new QComboBox(left);
    cboTeam->setObjectName("cboTeam");
    auto* players = new QLabel(QStringLiteral("Players:"), left);
    players->setObjectName("lblPlayers");
    lstPlayers = new QListWidget(left);
    lstPlayers->setObjectName("lstPlayers");
    lstPlayers->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(teams);
    layout->addWidget(cboTeam);
    layout->addWidget(players);
    layout->addWidget(lstPlayers, 1);
    lstPlayers->setItemDelegate(new PlayerItemDelegate(lstPlayers));
    lstPlayers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    left->setMinimumWidth(fontMetrics().horizontalAdvance(QString(kListMinimumChars, 'x')));
    teamTarget_ = std::make_unique<ComboBoxTarget>(cboTeam);
    playerTarget_ = std::make_unique<ListWidgetTarget>(lstPlayers);
    connect(cboTeam, &QComboBox::activated, this, &frmMain::cboTeam_Click);
    connect(lstPlayers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstPlayers_Click();
    });
    return left;
}

int frmMain::ListsWidth() const {
    return fontMetrics().horizontalAdvance(QString(kListWidthChars, QLatin1Char('x')));
}

void frmMain::SetTabOrder() {
    // Reading order: the team, its players, then the player's boxes line by line.
    QList<QWidget*> chain{cboTeam, lstPlayers};
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
    const bool open = league_.has_value();
    const QString name = QFileInfo(LeagueFile).fileName();
    // A league that is only looked at has no changes to mark.
    setWindowTitle(!open       ? QStringLiteral("Tavrel")
                   : readOnly_ ? QStringLiteral("Tavrel - %1 [read only]").arg(name)
                               : QStringLiteral("Tavrel - %1[*]").arg(name));
    for (QAction* a : {mnuFileItem[1], mnuFileItem[2], mnuComItem[kGlobalEditIndex]})
        a->setEnabled(open);
    for (const char* name : {"btnSave", "btnPrint", "btnFind", "btnSortAc", "btnSortDec",
                             "btnGlobalEdit", "actFind", "actSortAc", "actSortDec"})
        findChild<QAction*>(name)->setEnabled(open);
    // A league another program is writing is only looked at.
    for (QAction* writer : {mnuFileItem.value(2), mnuFileItem.value(kRestoreBackupIndex),
                            mnuComItem.value(kGlobalEditIndex), findChild<QAction*>("btnSave"),
                            findChild<QAction*>("btnGlobalEdit")})
        if (writer)
            writer->setEnabled(open && !readOnly_);
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
