// The window on its league document: read only refuses every change by every path, the grid
// keeps the current player through sort, filter and trade, an import's preview, a Global Edit
// box without a number, failed undo and redo, and an Open whose working folder holds no lock.
#include "ui/document/LeagueDocument.h"

#include "GuiTestSupport.h"
#include "grid/GridColumns.h"
#include "safety/LeagueLock.h"
#include "store/CellChanges.h"
#include "ui/exchange/ReportDialog.h"
#include "ui/global/PreviewPanel.h"
#include "ui/grid/FilterHeader.h"
#include "ui/grid/PlayerGrid.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>
#include <array>

using namespace guitest;
using namespace tavrel::grid;

namespace {

// Every stored value of Players, row by row: equal dumps, equal players.
std::string PlayersDump(const std::filesystem::path& db) {
    SQLite::Database d(db.string(), SQLite::OPEN_READONLY);
    SQLite::Statement q(d, "SELECT * FROM Players ORDER BY rowid");
    std::string dump;
    while (q.executeStep())
        for (int c = 0; c < q.getColumnCount(); ++c)
            dump += q.getColumn(c).getString() + '\x1f';
    return dump;
}

} // namespace

class LeagueDocumentTest : public QObject, public SessionWithGrid {
    Q_OBJECT

    const int kSpeed = ActualGridColumn(0);
    std::optional<int> ViewRowOf(std::int64_t rowId) const {
        const auto row = Model()->Table().RowOfRowId(rowId);
        return row ? Model()->ViewRowOfTableRow(*row) : std::nullopt;
    }
    // The player the form shows, by rowid.
    std::optional<std::int64_t> FormPlayer() const {
        return s_->window->Data()->RowIdOfRow(s_->window->Details()->CurrentRow());
    }
    void ShowGrid() {
        s_->Trigger("mnuViewPlayerGrid");
        QCoreApplication::processEvents();
    }
    // Presses `button` on the report dialog the next command shows.
    void WhenReportShows(const char* button) {
        QTimer::singleShot(0, this, [button] {
            auto* dialog = qobject_cast<ReportDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QPushButton*>(button)->click();
        });
    }

private slots:
    void init() {
        s_ = std::make_unique<MainWindowSession>();
        s_->window->show();
    }

    void cleanup() { s_.reset(); }

    void aReadOnlyLeagueRefusesEveryChange_data() {
        QTest::addColumn<QString>("path");
        for (const char* path : {"form", "cell", "fill", "paste", "trade", "global edit", "import",
                                 "restore", "undo and redo"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void aReadOnlyLeagueRefusesEveryChange() {
        QFETCH(QString, path);
        tavrel::LeagueLock other(s_->demo.leagueFile, "tavrel-cli");
        QVERIFY(other.TryLock());
        s_->log->answers << true; // read only
        s_->OpenDemo();
        QVERIFY(s_->window->IsReadOnly());
        QCOMPARE(s_->window->windowTitle(), QStringLiteral("Tavrel - Demo.lge [read only]"));
        QVERIFY(!s_->Action("mnuFileItem_2")->isEnabled() && !s_->Action("btnSave")->isEnabled());
        ShowGrid();
        const std::string before = PlayersDump(s_->WorkingDb());
        const int messages = static_cast<int>(s_->log->messages.size());
        QVERIFY(!Model()->flags(Cell(0, kSpeed)).testFlag(Qt::ItemIsEditable));
        QVERIFY(!s_->window->Data()
                     ->flags(s_->window->Data()->index(0, *tavrel::PlayersColumnIndex("Act_SP")))
                     .testFlag(Qt::ItemIsEditable));
        bool refusedWithWord = true; // the paths the user cannot reach say nothing
        if (path == "form") {
            QLineEdit* box = s_->Box("txtSP");
            QVERIFY(box->isReadOnly());
            QCOMPARE(box->palette().color(QPalette::Base), box->palette().color(QPalette::Window));
            s_->Box("txtSP")->setText(QStringLiteral("77"));
            s_->window->CommitPendingEdit();
        } else if (path == "cell") {
            QVERIFY(!Model()->setData(Cell(1, kSpeed), QStringLiteral("77")));
        } else if (path == "fill") {
            Select(0, kSpeed, 2, kSpeed + 1);
            Grid()->FillSelection(QStringLiteral("77"));
        } else if (path == "paste") {
            Select(0, kSpeed, 0, kSpeed);
            Grid()->PasteIntoSelection(QStringLiteral("77\t78\n79\t80"));
        } else if (path == "trade") {
            const QString team = s_->Find<QComboBox>("cboTeam")->itemText(0);
            QVERIFY(!Model()->setData(Cell(1, kTeamColumn), team));
        } else if (path == "global edit") {
            QVERIFY(!s_->Action("mnuComItem_6")->isEnabled() &&
                    !s_->Action("btnGlobalEdit")->isEnabled());
            // A pass that wrote past the gate: put back as it was.
            const auto speed = *tavrel::PlayersColumnIndex("Act_SP");
            const tavrel::Value old =
                tavrel::Value(Stored(s_->WorkingDb(), "Act_SP", "WHERE rowid = 1").toLongLong());
            const tavrel::CellChanges changes{{1, speed, old, tavrel::Value(std::int64_t{1})}};
            tavrel::WriteCellChanges(s_->WorkingDb(), changes, tavrel::CellSide::After);
            s_->window->RecordChanges(QStringLiteral("Global Edit of QB"), changes);
        } else if (path == "import") {
            QVERIFY(!s_->Action("mnuFileItem_11")->isEnabled());
            const auto speed = *tavrel::PlayersColumnIndex("Act_SP");
            QVERIFY(!s_->window->ApplyChanges(
                QStringLiteral("Import Players"),
                {{1, speed, tavrel::Value(std::int64_t{0}), tavrel::Value(std::int64_t{1})}}));
        } else if (path == "restore") {
            QVERIFY(!s_->Action("mnuFileItem_8")->isEnabled());
            refusedWithWord = false;
        } else if (path == "undo and redo") {
            QVERIFY(!s_->Action("actUndo")->isVisible() && !s_->Action("actRedo")->isVisible());
            s_->window->History()->undo();
            s_->window->History()->redo();
            refusedWithWord = false;
        }
        QCoreApplication::processEvents();
        QVERIFY(PlayersDump(s_->WorkingDb()) == before);
        QCOMPARE(s_->window->History()->count(), 0);
        QVERIFY(!s_->window->HasUnsavedChanges() && !s_->window->isWindowModified());
        QVERIFY(!s_->OriginSaysUnsaved());
        // The models refuse edits themselves, quietly (their boxes and cells are read only); the
        // paths the user cannot reach are disabled; the others are refused with a word.
        const bool quiet = path == "form" || path == "cell" || path == "trade" || !refusedWithWord;
        if (quiet)
            QCOMPARE(s_->log->messages.size(), messages);
        else
            QVERIFY2(s_->log->messages.size() > messages ||
                         !s_->window->statusBar()->currentMessage().isEmpty(),
                     qPrintable(path));
        // Nothing to save, nothing asked, nothing left to recover at the next start.
        QVERIFY(s_->window->close());
        QCOMPARE(s_->log->questions.size(), 1);
        s_->MakeWindow();
        s_->window->OfferCrashRecovery();
        QCOMPARE(s_->log->questions.size(), 1);
        QVERIFY(FileContent(s_->demo.playerFile) == s_->original);
        QVERIFY(!std::filesystem::exists(s_->demo.leagueFile.parent_path() / "Demo.sw$"));
    }

    void theGridKeepsTheCurrentPlayerThroughSortFilterAndTrade() {
        s_->OpenDemo();
        ShowGrid();
        // A player well below the top row, chosen in the grid: the form follows.
        Grid()->View()->setCurrentIndex(Cell(5, kSpeed));
        const std::int64_t chosen = RowId(5);
        QCOMPARE(FormPlayer(), chosen);
        QCOMPARE(s_->window->Document().CurrentPlayer(), chosen);

        // A click on a caption sorts; the player stays current in the grid and the form.
        QHeaderView* header = Grid()->View()->horizontalHeader();
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(kLastNameColumn) + 4, 4));
            QCoreApplication::processEvents();
            QCOMPARE(Model()->SortKeys().front().column, kLastNameColumn);
            QCOMPARE(GridPlayer(), chosen);
            QCOMPARE(FormPlayer(), chosen);
        }

        // A filter that lets him through keeps him; one that hides him leaves no current row in
        // the grid and the form where it was.
        const QString pid = Model()->data(Cell(*ViewRowOf(chosen), kPidColumn)).toString();
        Model()->SetFilterText(kPidColumn, pid);
        QCOMPARE(GridPlayer(), chosen);
        Model()->SetFilterText(kPidColumn, QStringLiteral("<>") + pid);
        QVERIFY(!ViewRowOf(chosen));
        QCOMPARE(GridPlayer(), std::nullopt);
        QCOMPARE(FormPlayer(), chosen);
        Model()->SetFilterText(kPidColumn, QString());
        QCOMPARE(GridPlayer(), chosen);

        // A trade: the lists show his new team, with him chosen in it, and the form stays.
        auto* teams = s_->Find<QComboBox>("cboTeam");
        const int row = *ViewRowOf(chosen);
        const QString from = Model()->data(Cell(row, kTeamColumn)).toString();
        const QString to = teams->itemText(teams->itemText(0) == from ? 1 : 0);
        QVERIFY(Model()->setData(Cell(row, kTeamColumn), to));
        QCoreApplication::processEvents();
        QCOMPARE(FormPlayer(), chosen);
        QCOMPARE(GridPlayer(), chosen);
        QCOMPARE(teams->currentText(), to);
        QVERIFY(s_->Players()->currentItem());
        QCOMPARE(s_->Players()->currentItem()->data(Qt::UserRole).toString(), pid);
        // Undone, he goes back, and the lists follow him there.
        s_->window->History()->undo();
        QCoreApplication::processEvents();
        QCOMPARE(teams->currentText(), from);
        QCOMPARE(FormPlayer(), chosen);
        QVERIFY(!s_->window->HasUnsavedChanges());
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
    }

    void anImportPreviewsItsChangesCancelKeepsThemOutApplyIsOneStep() {
        s_->OpenDemo();
        const std::filesystem::path sheet = PathOf(s_->dir, "edit.csv");
        WriteFileContent(sheet, "Record,Act_SP\r\n2,77\r\n");
        const QVariant before = Stored(s_->WorkingDb(), "Act_SP", "WHERE rowid = 2");
        QVERIFY(before != QVariant(77));
        for (const char* button : {"cmdCancel", "cmdApply"}) {
            const bool apply = std::string_view(button) == "cmdApply";
            s_->log->files << QPath(sheet);
            WhenReportShows(button);
            s_->Trigger("mnuFileItem_11");
            QCOMPARE(Stored(s_->WorkingDb(), "Act_SP", "WHERE rowid = 2"),
                     apply ? QVariant(77) : before);
            QCOMPARE(s_->window->History()->count(), apply ? 1 : 0);
        }
        s_->window->History()->undo();
        QCOMPARE(Stored(s_->WorkingDb(), "Act_SP", "WHERE rowid = 2"), before);
        QVERIFY(!s_->window->HasUnsavedChanges());
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
    }

    void aGlobalEditBoxWithoutAValidNumberStopsTheRun() {
        s_->OpenDemo();
        const std::string before = PlayersDump(s_->WorkingDb());
        s_->GlobalEditSpeed("mnuComItem_6", {0, 1}, "fast");
        QCOMPARE(s_->log->messages, QStringList{QStringLiteral("Please Enter a Valid Number")});
        QVERIFY(PlayersDump(s_->WorkingDb()) == before);
        QCOMPARE(s_->window->History()->count(), 0);
    }

    void aFailedUndoOrRedoPutsTheHistoryBackWhereThePlayersAre() {
        s_->OpenDemo();
        const int pid = s_->PidOfItem(0);
        const std::string where = "WHERE PID = " + std::to_string(pid);
        const QVariant before = Stored(s_->WorkingDb(), "Act_SP", where);
        s_->Box("txtSP")->setText(QStringLiteral("77"));
        s_->window->CommitPendingEdit();
        QUndoStack* history = s_->window->History();
        QCOMPARE(history->index(), 1);
        const auto refuseWrites = [this](bool refuse) {
            SQLite::Database db(s_->WorkingDb().string(), SQLite::OPEN_READWRITE);
            db.exec(refuse ? "CREATE TRIGGER refuse BEFORE UPDATE ON Players BEGIN "
                             "SELECT RAISE(ABORT, 'refused by the test'); END"
                           : "DROP TRIGGER refuse");
        };
        struct Step {
            bool undo;
            int indexAfter;
            QVariant stored;
        };
        refuseWrites(true);
        for (const Step& step : {Step{true, 1, QVariant(77)}, Step{false, 0, before}}) {
            if (!step.undo) {
                refuseWrites(false);
                history->undo();
                refuseWrites(true);
            }
            const int messages = static_cast<int>(s_->log->messages.size());
            step.undo ? history->undo() : history->redo();
            QCoreApplication::processEvents(); // the history moves back once the stack is done
            QCOMPARE(history->index(), step.indexAfter);
            QCOMPARE(Stored(s_->WorkingDb(), "Act_SP", where), step.stored);
            QCOMPARE(s_->log->messages.size(), messages + 1);
            QVERIFY(s_->log->messages.last().contains("refused by the test"));
        }
        refuseWrites(false);
        history->redo(); // the step was never lost
        QCOMPARE(Stored(s_->WorkingDb(), "Act_SP", where), QVariant(77));
    }

    void openSaysWhyWhenTheWorkingFolderCannotHoldItsLock() {
        s_->work = PathOf(s_->dir, "no such folder");
        s_->MakeWindow();
        s_->OpenDemo();
        QVERIFY(!s_->window->IsLeagueOpen());
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains("Locking the working database"),
                 qPrintable(s_->log->messages[0]));
        // The window goes on: once the folder is there, the league opens.
        std::filesystem::create_directories(s_->work);
        s_->OpenDemo();
        QVERIFY(s_->window->IsLeagueOpen());
    }

    void twoWindowsKeepTwoLeaguesOpenAndTheSameLeagueTwiceOpensReadOnly() {
        const tavrel::DemoLeagueFiles second = tavrel::WriteDemoLeague(PathOf(s_->dir, "second"));
        const std::string secondOriginal = FileContent(second.playerFile);
        s_->OpenDemo();
        auto log = std::make_shared<PromptLog>();
        frmMain other(s_->work, std::make_unique<FakePrompts>(log));
        const auto trigger = [&other](const char* name) {
            QAction* action = other.findChild<QAction*>(name);
            QVERIFY2(action && action->isEnabled(), name);
            action->trigger();
        };
        log->files << QPath(second.leagueFile);
        trigger("mnuFileItem_0");
        QVERIFY2(log->messages.isEmpty(), qPrintable(log->messages.join('\n')));
        QVERIFY(other.IsLeagueOpen() && !other.IsReadOnly());
        QVERIFY(s_->window->IsLeagueOpen() && !s_->window->IsReadOnly());
        QVERIFY(other.WorkingDatabase() != s_->window->WorkingDatabase());

        // Each edits and saves its own league, and only that.
        const auto edit = [](frmMain& window, const char* value) {
            window.findChild<PlayerDetailFields*>()->findChild<QLineEdit*>("txtSP")->setText(value);
            window.CommitPendingEdit();
        };
        const int firstPid = s_->PidOfItem(0);
        const int secondPid =
            other.findChild<QListWidget*>("lstPlayers")->item(0)->data(Qt::UserRole).toInt();
        edit(*s_->window, "201");
        edit(other, "202");
        s_->Trigger("mnuFileItem_2");
        const std::string firstSaved = FileContent(s_->demo.playerFile);
        QCOMPARE(static_cast<unsigned char>(firstSaved[RecordOffset(firstSaved, firstPid) + 175]),
                 201); // actual speed
        QVERIFY(FileContent(second.playerFile) == secondOriginal);
        trigger("mnuFileItem_2");
        const std::string secondSaved = FileContent(second.playerFile);
        QCOMPARE(
            static_cast<unsigned char>(secondSaved[RecordOffset(secondSaved, secondPid) + 175]),
            202);
        QVERIFY(FileContent(s_->demo.playerFile) == firstSaved);
        QVERIFY(!other.HasUnsavedChanges() && !s_->window->HasUnsavedChanges());

        // The first window's league in the second: read only, the holder named.
        log->answers << true;
        log->files << QPath(s_->demo.leagueFile);
        trigger("mnuFileItem_0");
        QCOMPARE(log->questions.size(), 1);
        QVERIFY2(log->questions[0].contains(QStringLiteral("is being changed by Tavrel (process %1")
                                                .arg(QCoreApplication::applicationPid())),
                 qPrintable(log->questions[0]));
        QVERIFY(other.IsLeagueOpen() && other.IsReadOnly());
        QCOMPARE(other.findChild<QLineEdit*>("txtSP")->text(),
                 s_->Box("txtSP")->text()); // the saved value, read from its own copy
        // The first window goes on writing it; the read-only copy goes when it is closed.
        const std::filesystem::path copy = other.WorkingDatabase();
        QVERIFY(std::filesystem::exists(copy));
        edit(*s_->window, "203");
        s_->Trigger("mnuFileItem_2");
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
        log->files << QPath(second.leagueFile);
        trigger("mnuFileItem_0");
        QVERIFY(!other.IsReadOnly());
        QVERIFY(!std::filesystem::exists(copy));
        QCOMPARE(log->unexpectedQuestions, 0);
    }

    void thePreviewAreaFitsTheScreenWithoutReversedBounds() {
        // Wanted, room, height: room for all, for part, a low screen keeps 200, no room at all, a
        // small preview.
        const std::array<int, 3> cases[] = {
            {500, 800, 500}, {500, 300, 300}, {500, 120, 200}, {500, -40, 200}, {150, 100, 150}};
        for (const auto& [wanted, room, height] : cases)
            QCOMPARE(QList<int>({wanted, room, tavrel::PreviewAreaHeight(wanted, room)}),
                     QList<int>({wanted, room, height}));
    }
};

TAVREL_GUI_TEST(LeagueDocumentTest)
#include "LeagueDocumentTest.moc"
