// The main window's spreadsheet import and export, Compare With and League Check on a demo
// league: the menu items after the existing ones, the preview before anything changes, the
// check when a league opens.
#include "GuiTestSupport.h"
#include "exchange/LeagueCheck.h"
#include "ui/exchange/ReportDialog.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <SQLiteCpp/Database.h>
#include <functional>

using namespace guitest;

namespace {

// Answers the save dialog too, from its own queue.
class ExchangePrompts : public FakePrompts {
public:
    ExchangePrompts(std::shared_ptr<PromptLog> log, QStringList* saveFiles)
        : FakePrompts(std::move(log)), saveFiles_(saveFiles) {}
    QString ChooseFileToSave(QWidget*, const QString&, const QString&) override {
        return saveFiles_->isEmpty() ? QString() : saveFiles_->takeFirst();
    }

private:
    QStringList* saveFiles_;
};

} // namespace

class ExchangeWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::shared_ptr<PromptLog> log_;
    QStringList saveFiles_;
    std::unique_ptr<frmMain> window_;
    tavrel::DemoLeagueFiles demo_;
    std::filesystem::path work_;

    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }
    std::filesystem::path Path(const char* name) const { return PathOf(*dir_, name); }
    qint64 ActualSpeed(int rowid) const {
        SQLite::Database db((work_ / "Tavrel.tmp").string(), SQLite::OPEN_READONLY);
        return db.execAndGet("SELECT Act_SP FROM Players WHERE rowid = " + std::to_string(rowid))
            .getInt64();
    }
    // Runs `look` on the report dialog the next command shows, then presses `button` on it.
    void WhenReportShows(std::function<void(ReportDialog&)> look, const char* button) {
        QTimer::singleShot(0, this, [look, button] {
            auto* dialog = qobject_cast<ReportDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            look(*dialog);
            dialog->findChild<QPushButton*>(button)->click();
        });
    }
    static QString Cell(ReportDialog& d, int row, int column) {
        const QTableWidgetItem* item = d.Table()->item(row, column);
        return item ? item->text() : QString();
    }

private slots:
    void init() {
        ClearProgramSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        log_ = std::make_shared<PromptLog>();
        demo_ = tavrel::WriteDemoLeague(Path("league"), {.teams = 4, .players = 120, .seed = 2});
        work_ = Path("work");
        std::filesystem::create_directories(work_);
        window_ =
            std::make_unique<frmMain>(work_, std::make_unique<ExchangePrompts>(log_, &saveFiles_));
        log_->files << QPath(demo_.leagueFile);
        Action("mnuFileItem_0")->trigger();
    }

    void cleanup() {
        window_.reset();
        dir_.reset();
    }

    void importShowsTheChangesAndAppliesOnlyOnApply() {
        const std::filesystem::path sheet = Path("edit.csv");
        WriteBytes(sheet, "Record,Act_SP\r\n2,77\r\n");
        const qint64 before = ActualSpeed(2);
        for (const char* button : {"cmdCancel", "cmdApply"}) {
            log_->files << QPath(sheet);
            WhenReportShows(
                [before](ReportDialog& d) {
                    QCOMPARE(d.Table()->rowCount(), 1);
                    QVERIFY(Cell(d, 0, 0).startsWith("record 2, PID "));
                    QCOMPARE(Cell(d, 0, 1), QStringLiteral("Act_SP"));
                    QCOMPARE(Cell(d, 0, 2), QString::number(before));
                    QCOMPARE(Cell(d, 0, 3), QStringLiteral("77"));
                },
                button);
            Action("mnuFileItem_11")->trigger();
            QCOMPARE(ActualSpeed(2), std::string(button) == "cmdApply" ? 77 : before);
            QCOMPARE(window_->HasUnsavedChanges(), std::string(button) == "cmdApply");
        }
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        // One step of the history: undone and redone whole.
        Action("actUndo")->trigger();
        QCOMPARE(ActualSpeed(2), before);
        QVERIFY(!window_->HasUnsavedChanges());
        Action("actRedo")->trigger();
        QCOMPARE(ActualSpeed(2), 77);

        // The working table, edits included, against the saved player file.
        log_->files << QPath(demo_.playerFile);
        WhenReportShows(
            [before](ReportDialog& d) {
                QCOMPARE(d.Table()->rowCount(), 1);
                QCOMPARE(d.Table()->horizontalHeaderItem(2)->text(), QStringLiteral("Act_SP"));
                QCOMPARE(Cell(d, 0, 2), QStringLiteral("77 → %1").arg(before));
                QCOMPARE(d.Table()->item(0, 2)->background(),
                         d.palette().brush(QPalette::Highlight));
            },
            "cmdClose");
        Action("mnuFileItem_12")->trigger();

        const std::filesystem::path out = Path("out.csv");
        saveFiles_ << QPath(out);
        Action("mnuFileItem_10")->trigger();
        const std::string csv = ReadBytes(out);
        QVERIFY(csv.starts_with("\xEF\xBB\xBFRecord,Team,PID,"));
        const std::size_t second = csv.find("\r\n2,");
        QVERIFY(second != std::string::npos);
        int column = 0;
        std::size_t at = second + 2;
        while (column < 36) // Record, then Act_SP is Players column 35
            at = csv.find(',', at) + 1, ++column;
        QCOMPARE(csv.substr(at, 3), std::string("77,"));
    }
};

TAVREL_GUI_TEST_MAIN(ExchangeWindowTest)
#include "ExchangeWindowTest.moc"
