#include "ui/main/MainMenus.h"

#include "ui/document/LeagueDocument.h"
#include "ui/main/LeagueCommands.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>
#include <string_view>

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

} // namespace

MainMenus::MainMenus(frmMain& window) : w_(window) {}

void MainMenus::Build() {
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
}

QAction* MainMenus::AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index,
                                const QString& caption, const char* arrayName) {
    QAction* action =
        caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(arrayName)).arg(index));
    action->setProperty("index", index);
    items.insert(index, action);
    return action;
}

void MainMenus::BuildMenus() {
    w_.mnuFile = w_.menuBar()->addMenu(QStringLiteral("&File"));
    w_.mnuFile->setObjectName("mnuFile");
    for (const MenuItem& item : kFileItems) {
        QAction* a =
            AddMenuItem(w_.mnuFile, w_.mnuFileItem, item.index, item.caption, "mnuFileItem");
        QObject::connect(a, &QAction::triggered, &w_,
                         [this, i = item.index] { w_.mnuFileItem_Click(i); });
    }
    w_.mnuFileItem[0]->setShortcut(QKeySequence::Open);
    w_.mnuFileItem[1]->setShortcut(QKeySequence::Print);
    w_.mnuFileItem[2]->setShortcut(QKeySequence::Save);

    QMenu* edit = w_.menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName("mnuCom");
    for (const MenuItem& item : kEditItems) {
        QAction* a = AddMenuItem(edit, w_.mnuComItem, item.index, item.caption, "mnuComItem");
        if (item.index != kGlobalEditIndex) {
            a->setVisible(false);
            a->setEnabled(false);
        }
        QObject::connect(a, &QAction::triggered, &w_,
                         [this, i = item.index] { w_.mnuComItem_Click(i); });
    }

    QMenu* web = w_.menuBar()->addMenu(QStringLiteral("&Web Publisher"));
    web->setObjectName("mnuWeb");
    for (const char* caption : kWebPublisherItems) {
        QAction* a =
            caption == std::string_view("-") ? web->addSeparator() : web->addAction(caption);
        a->setEnabled(false);
    }
    web->menuAction()->setVisible(false);
    web->menuAction()->setEnabled(false);

    QMenu* view = w_.menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName("mnuView");
    for (const MenuItem& item : kViewItems) {
        QAction* a = AddMenuItem(view, w_.mnuViewItem, item.index, item.caption, "mnuViewItem");
        a->setCheckable(true);
        a->setChecked(true);
        QObject::connect(a, &QAction::triggered, &w_,
                         [this, i = item.index] { w_.mnuViewItem_Click(i); });
    }
    view->addSeparator();
    QAction* chart = AddMenuItem(view, w_.mnuViewItem, kRatingsChartIndex,
                                 QStringLiteral("&Ratings Chart"), "mnuViewItem");
    QObject::connect(chart, &QAction::triggered, &w_,
                     [this] { w_.mnuViewItem_Click(kRatingsChartIndex); });

    AddKeyboardItems(edit, view);

    QMenu* help = w_.menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName("mnuHelp");
    for (const MenuItem& item : kHelpItems) {
        QAction* a = AddMenuItem(help, w_.mnuHelpItem, item.index, item.caption, "mnuHelpItem");
        QObject::connect(a, &QAction::triggered, &w_,
                         [this, i = item.index] { w_.mnuHelpItem_Click(i); });
    }
    w_.mnuHelpItem[0]->setShortcut(QKeySequence::HelpContents); // F1 in this window
}

void MainMenus::BuildHistory(QMenu* editMenu) {
    // A value still being typed is kept before the menu can undo anything: opening a menu does
    // not take the focus from its box.
    QObject::connect(editMenu, &QMenu::aboutToShow, &w_, &frmMain::CommitPendingEdit);
    // After the Edit menu's own items, whose indexes stay as they are.
    editMenu->addSeparator();
    QUndoStack* history = w_.document_->History();
    QAction* undo = history->createUndoAction(&w_, QStringLiteral("&Undo"));
    undo->setObjectName("actUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = history->createRedoAction(&w_, QStringLiteral("&Redo"));
    redo->setObjectName("actRedo");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu->addAction(undo);
    editMenu->addAction(redo);
}

void MainMenus::AddKeyboardItems(QMenu* editMenu, QMenu* viewMenu) {
    // After the menus' own items, whose indexes stay as they are: the undo history, and the
    // toolbar's commands that have no menu item of their own.
    BuildHistory(editMenu);
    editMenu->addSeparator();
    QAction* find = editMenu->addAction(QStringLiteral("&Find Player..."));
    find->setObjectName("actFind");
    find->setShortcut(QKeySequence::Find);
    QObject::connect(find, &QAction::triggered, &w_, [this] { w_.Toolbar1_ButtonClick("Find"); });
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
        QObject::connect(a, &QAction::triggered, &w_, [this, key = QString::fromLatin1(sort.key)] {
            w_.Toolbar1_ButtonClick(key);
        });
    }
}

void MainMenus::AddReopenItem() {
    AddMenuItem(w_.mnuFile, w_.mnuFileItem, 5, QStringLiteral("-"), "mnuFileItem");
    // A path may hold '&', which a caption would take for an access key.
    QString caption = w_.commands_->LastFile();
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* reopen = AddMenuItem(w_.mnuFile, w_.mnuFileItem, 6, caption, "mnuFileItem");
    QObject::connect(reopen, &QAction::triggered, &w_, [this] { w_.mnuFileItem_Click(6); });
}

void MainMenus::BuildToolbar() {
    w_.Toolbar1 = w_.addToolBar(QStringLiteral("Toolbar"));
    w_.Toolbar1->setObjectName("Toolbar1");
    w_.Toolbar1->setMovable(false);
    for (const ToolbarButton& button : kToolbarButtons) {
        QAction* a = w_.Toolbar1->addAction(w_.style()->standardIcon(button.icon), button.key);
        a->setObjectName(QStringLiteral("btn%1").arg(QLatin1String(button.key)));
        a->setProperty("key", QString::fromLatin1(button.key));
        a->setToolTip(button.toolTip);
        QObject::connect(
            a, &QAction::triggered, &w_,
            [this, key = QString::fromLatin1(button.key)] { w_.Toolbar1_ButtonClick(key); });
        if (std::string_view(button.key) == "Print" || std::string_view(button.key) == "SortDec" ||
            std::string_view(button.key) == "GlobalEdit")
            w_.Toolbar1->addSeparator();
    }
}

void MainMenus::BuildStatusBar() {
    w_.statusBar()->setObjectName("StatusBar1");
    w_.statusPanel1 = new QLabel(QStringLiteral("League: "), &w_);
    w_.statusPanel1->setObjectName("Panel1");
    w_.statusPanel2 = new QLabel(QStringLiteral("Team:"), &w_);
    w_.statusPanel2->setObjectName("Panel2");
    w_.statusBar()->addWidget(w_.statusPanel1, 1);
    w_.statusBar()->addWidget(w_.statusPanel2, 1);
    w_.browser_->SetTeamPanel(w_.statusPanel2);
}

void MainMenus::EnableCommands(bool open, bool writable, bool readOnly) {
    for (QAction* a : {w_.mnuFileItem[1], w_.mnuFileItem[2], w_.mnuComItem[kGlobalEditIndex]})
        a->setEnabled(open);
    for (const char* name : {"btnSave", "btnPrint", "btnFind", "btnSortAc", "btnSortDec",
                             "btnGlobalEdit", "actFind", "actSortAc", "actSortDec"})
        w_.findChild<QAction*>(name)->setEnabled(open);
    // A league another program is writing is only looked at: nothing that changes it is offered.
    for (QAction* writer :
         {w_.mnuFileItem.value(2), w_.mnuFileItem.value(frmMain::kRestoreBackupIndex),
          w_.mnuFileItem.value(11), w_.mnuComItem.value(kGlobalEditIndex),
          w_.findChild<QAction*>("btnSave"), w_.findChild<QAction*>("btnGlobalEdit")})
        if (writer)
            writer->setEnabled(writable);
    for (const char* name : {"actUndo", "actRedo"})
        if (QAction* a = w_.findChild<QAction*>(name))
            a->setVisible(!readOnly);
}
