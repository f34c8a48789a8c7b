#include "ui/main/frmMain.h"

#include "shell/frmStatus.h"
#include "store/WorkingDatabase.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/ListTargets.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
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

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    details_ = new PlayerDetailFields(Data1, central);
    layout->addWidget(BuildLists(central));
    layout->addWidget(details_, 1);
    setCentralWidget(central);
    Data1->SetEditSink([this](const QString& text, tavrel::CellChanges changes) {
        return PushChanges(text, std::move(changes));
    });
    connect(Data1, &PlayersModel::writeFailed, this, &frmMain::ShowFailure);

    setWindowTitle(QStringLiteral("Tavrel"));
    LastFile = ReadLastFile();
    AddReopenItem();
    AddExchangeItems();
    resize(sizeHint());
    CentreOnScreen();
}

frmMain::~frmMain() = default;

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
    BuildHistory(edit);

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

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName("mnuHelp");
    for (const MenuItem& item : kHelpItems) {
        QAction* a = AddMenuItem(help, mnuHelpItem, item.index, item.caption, "mnuHelpItem");
        connect(a, &QAction::triggered, this, [this, i = item.index] { mnuHelpItem_Click(i); });
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
    left->setFixedWidth(
        fontMetrics().horizontalAdvance(QString(kListWidthChars, QLatin1Char('x'))));
    teamTarget_ = std::make_unique<ComboBoxTarget>(cboTeam);
    playerTarget_ = std::make_unique<ListWidgetTarget>(lstPlayers);
    connect(cboTeam, &QComboBox::activated, this, &frmMain::cboTeam_Click);
    connect(lstPlayers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstPlayers_Click();
    });
    return left;
}

void frmMain::CentreOnScreen() {
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}
