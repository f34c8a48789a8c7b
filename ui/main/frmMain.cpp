#include "ui/main/frmMain.h"

#include "base/ProgramInfo.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/common/ProgramIcon.h"
#include "ui/common/frmStatus.h"
#include "ui/document/LeagueDocument.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/DocumentViews.h"
#include "ui/main/ExchangeActions.h"
#include "ui/main/GridSync.h"
#include "ui/main/LeagueCommands.h"
#include "ui/main/MainMenus.h"
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
constexpr int kRefusalMessageMs = 5000;

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
      exchange_(std::make_unique<ExchangeActions>(*this)), grid_(std::make_unique<GridSync>(*this)),
      menus_(std::make_unique<MainMenus>(*this)), views_(std::make_unique<DocumentViews>(*this)) {
    setObjectName("frmMain");
    setContextMenuPolicy(Qt::NoContextMenu); // the View menu alone shows and hides the bars
    setWindowIcon(ProgramIcon());
    InitHelp();
    menus_->Build();

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
    connect(details_, &PlayerDetailFields::inputRefused, this,
            [this](const QString& why) { statusBar()->showMessage(why, kRefusalMessageMs); });
    player->setWidget(details_);
    splitter_->addWidget(lists);
    splitter_->addWidget(player);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({ListsWidth(), details_->sizeHint().width()});
    setCentralWidget(splitter_);
    SetTabOrder();
    grid_->BuildPlayerGrid(findChild<QMenu*>("mnuView"));
    views_->Connect();

    menus_->AddReopenItem();
    safety_->AddSafetyItems();
    exchange_->AddExchangeItems([this](int i) { mnuFileItem_Click(i); },
                                [this](int i) { mnuViewItem_Click(i); });
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
    document_->disconnect(this);
    document_->History()->disconnect(this);
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

QAction* frmMain::AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index,
                              const QString& caption, const char* arrayName) {
    return MainMenus::AddMenuItem(menu, items, index, caption, arrayName);
}

void frmMain::ShowFailure(const QString& message) {
    prompts_->ShowFailure(this, message);
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
    setWindowTitle(
        !open ? QString::fromLatin1(tavrel::kProgramName)
        : writable
            ? QStringLiteral("%1 - %2[*]").arg(QLatin1String(tavrel::kProgramName), name)
            : QStringLiteral("%1 - %2 [read only]").arg(QLatin1String(tavrel::kProgramName), name));
    menus_->EnableCommands(open, writable, document_->IsReadOnly());
    for (QLineEdit* box : details_->findChildren<QLineEdit*>())
        ShowReadOnly(box, document_->IsReadOnly());
    if (document_->IsReadOnly() && globalEdit_)
        globalEdit_->hide();
}

void frmMain::ShowReadOnly(QLineEdit* box, bool readOnly) {
    // A box that takes no typing looks it: the window's colour behind its text.
    box->setReadOnly(readOnly);
    QPalette colours = box->parentWidget() ? box->parentWidget()->palette() : box->palette();
    if (readOnly)
        colours.setBrush(QPalette::Base, colours.window());
    box->setPalette(colours);
}

void frmMain::ShowStatus(const QString& message) {
    statusBar()->showMessage(message, kStatusMessageMs);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    grid_->WindowResized();
}

void frmMain::CentreOnScreen() {
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}
