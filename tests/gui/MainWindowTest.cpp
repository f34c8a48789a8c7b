// The main window end to end on a demo league in a folder of its own: what the user sees, and
// every command carried through to the working database and the player file's bytes.
#include "GuiTestSupport.h"
#include "exchange/LeagueCheck.h"
#include "fileformat/LeaguePaths.h"
#include "fileformat/Windows1252.h"
#include "safety/LeagueLock.h"
#include "stats/RatingDistribution.h"
#include "store/Text.h"
#include "store/Vocabulary.h"
#include "ui/charts/HistogramChart.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/common/frmStatus.h"
#include "ui/main/LastFileSetting.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>

using namespace guitest;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowSession> s_;

    QString Label(const char* name) const { return s_->Find<QLabel>(name)->text(); }
    void Type(const char* box, const QString& text) {
        QLineEdit* edit = s_->Box(box);
        edit->selectAll();
        edit->insert(text); // as a paste would, validated whole
    }
    std::string Saved() const { return FileContent(s_->demo.playerFile); }

private slots:
    void init() { s_ = std::make_unique<MainWindowSession>(); }

    void cleanup() { s_.reset(); }

    // The texts users see, one table: menu items, tool tips, captions.
    void textsReadAsDesigned() {
        QStringList menus;
        for (QAction* a : s_->window->menuBar()->actions())
            if (a->isVisible())
                menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
        QStringList tips;
        for (QAction* a : s_->Find<QToolBar>("Toolbar1")->actions())
            if (!a->isSeparator())
                tips << a->property("key").toString() + "=" + a->toolTip();
        QCOMPARE(tips,
                 (QStringList{"Open=Open League", "Save=Save", "Print=Print to File",
                              "Find=Find Player", "SortAc=Sort Ascending",
                              "SortDec=Sort Descending", "GlobalEdit=Global Edit", "Help=Help"}));
        // Menu items and captions by name; boxes show their tips.
        const QStringList texts =
            QStringList{"mnuFileItem_0=&Open",       "mnuFileItem_1=&Print",
                        "mnuFileItem_2=&Save",       "mnuFileItem_4=&Exit",
                        "mnuComItem_6=&Global Edit", "mnuViewItem_0=&Toolbar",
                        "mnuViewItem_1=&Statusbar",  "mnuViewItem_2=&Ratings Chart",
                        "mnuHelpItem_0=&Contents",   "mnuHelpItem_2=&About"} +
            QStringList{"Panel1=League: ",          "Panel2=Team:",
                        "lblTeam=Teams:",           "lblPlayers=Players:",
                        "lblFirstName=First Name:", "lblLastName=Last Name:",
                        "lblSlot=Weight:",          "lblBI=VI:",
                        "txtDI=Actual Discipline",  "txtp_VI=Potential Vision"} +
            QStringList{"txtP_PR=Potential Pas Rushing", "txtP_VT=Potentila Vertical Jump"};
        QStringList shown;
        for (const QString& entry : texts) {
            const QString name = entry.section('=', 0, 0);
            const QObject* widget = s_->window->findChild<QObject*>(name);
            QVERIFY2(widget, qPrintable(name));
            const char* text = qobject_cast<const QLineEdit*>(widget) ? "toolTip" : "text";
            shown << name + "=" + widget->property(text).toString();
        }
        QCOMPARE(shown, texts);
        QCOMPARE(s_->window->windowTitle(), QStringLiteral("Tavrel"));
    }

    void openShowsTheFreeAgentsAndTheirFirstPlayer() {
        WriteFileContent(tavrel::BackupFilePath(s_->demo.leagueFile.string()), "an older backup");
        s_->Open(s_->demo.leagueFile);
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
        QCOMPARE(s_->log->fileFilter, QStringLiteral("League Files (*.lge)"));
        // The copy is made beside the import and may land after the first player shows.
        QTRY_VERIFY(FileContent(s_->demo.leagueFile.parent_path() / "Demo.sw$") == s_->original);
        QCOMPARE(Label("Panel1"), QPath(s_->demo.leagueFile));
        QCOMPARE(ReadLastFile(), QPath(s_->demo.leagueFile));

        // "Free Agents" last with team 0, and shown; the teams' order is the store's.
        QComboBox* teams = s_->Find<QComboBox>("cboTeam");
        QCOMPARE(teams->count(), 32 + 1);
        QCOMPARE(teams->itemText(32), QStringLiteral("Free Agents"));
        QCOMPARE(teams->itemData(32).toInt(), 0);
        QCOMPARE(teams->currentIndex(), 32);

        // The free agents, the first one selected and shown from his record.
        const std::string& file = s_->original;
        QVERIFY(s_->Players()->count() > 0);
        QCOMPARE(s_->Players()->currentRow(), 0);
        for (int i = 0; i < s_->Players()->count(); ++i)
            QCOMPARE(int(file[RecordOffset(file, s_->PidOfItem(i)) + 4]), 0);
        const std::size_t at = RecordOffset(file, s_->PidOfItem(0));
        const auto byte = [&](std::size_t i) {
            return int(static_cast<unsigned char>(file[at + i]));
        };
        const auto text = [&](std::size_t i, std::size_t width) { // as shown: without padding
            return QString::fromStdString(tavrel::WithoutTrailingPadding(
                tavrel::DecodeWindows1252(std::string_view(file).substr(at + i, width))));
        };
        QCOMPARE(s_->Players()->item(0)->text(),
                 text(23, 25) + ", " + text(8, 15) + " - " +
                     QString::fromStdString(tavrel::PositionText(byte(94))));
        QCOMPARE(s_->Box("txtLastName")->text(), text(23, 25));
        QCOMPARE(s_->Box("txtSP")->text().toInt(), byte(175));
        QCOMPARE(s_->Box("txtP_KD")->text().toInt(), byte(243 + 10));
        QCOMPARE(s_->Box("txtp_VI")->text().toInt(), byte(243 + 34));
        QCOMPARE(Label("lblSlotA").toInt(), byte(86) + 256 * byte(87));
        QCOMPARE(Label("lblCollegeName"), text(48, 31));
        QCOMPARE(Label("Panel2"), QStringLiteral("Free Agents: ") + s_->Players()->item(0)->text());
        QVERIFY(s_->window->findChild<frmStatus*>()->isHidden());
        QVERIFY(!QApplication::overrideCursor());
    }

    void aValueStillBeingTypedIsSavedAndNamesKeepTheirPadding() {
        s_->Open(s_->demo.leagueFile);
        // A player whose first name is padded with NULs: his padding must survive.
        int row = -1;
        std::size_t at = 0;
        for (int i = 0; i < s_->Players()->count() && row < 0; ++i) {
            at = RecordOffset(s_->original, s_->PidOfItem(i));
            if (s_->original[at + 8 + 14] == '\0')
                row = i;
        }
        QVERIFY2(row >= 0, "the demo league pads some first names with NULs");
        s_->Players()->setCurrentRow(row);
        Type("txtLastName", QStringLiteral("Ångström"));
        Type("txtP_FA", QStringLiteral("250"));
        s_->Trigger("btnSave"); // the toolbar's, without leaving the row

        std::string expected = s_->original;
        expected.replace(at + 23, 25, "\xC5ngstr\xF6m" + std::string(17, ' ')); // Windows-1252
        expected[at + 243 + 46] = static_cast<char>(250);
        QVERIFY(Saved() == expected);
    }

    void exitOrCloseWhoseSaveFailsKeepsTheProgramOpen() {
        s_->Open(s_->demo.leagueFile);
        // A value the player file cannot hold, put there behind the window's back.
        SQLite::Database(s_->WorkingDb().string(), SQLite::OPEN_READWRITE)
            .exec("UPDATE Players SET Act_AG = 300 WHERE rowid = 3");
        s_->window->PlayersChangedElsewhere();
        s_->window->show();
        QSignalSpy ended(s_->window.get(), &frmMain::Ended);
        s_->log->answers << true;
        s_->Trigger("mnuFileItem_4");
        QCOMPARE(ended.count(), 0);
        QVERIFY(s_->window->isVisible());
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains("Demo.ply"), qPrintable(s_->log->messages[0]));

        s_->log->answers << true;
        QVERIFY(!s_->window->close());
        QCOMPARE(ended.count(), 0);
        s_->log->answers << false; // No: the program ends without writing
        QVERIFY(s_->window->close());
        QCOMPARE(ended.count(), 1);
        QVERIFY(Saved() == s_->original);
    }

    void ratingsChartFollowsEditsGlobalEditAndUndo() {
        s_->Trigger("mnuViewItem_2");
        QVERIFY(s_->log->messages.last().contains("Open a league"));

        s_->Open(s_->demo.leagueFile);
        s_->Trigger("mnuViewItem_2");
        auto* chart = s_->window->findChild<tavrel::RatingsChartWindow*>();
        QVERIFY(chart && chart->isVisible());
        auto* summary = chart->findChild<QLabel*>("lblSummary");
        auto shows = [&] {
            const tavrel::RatingSpread s =
                tavrel::ReadRatingSpread(s_->WorkingDb(), {}, *tavrel::RatingIndex("SP"));
            return summary->text() ==
                   QStringLiteral("Actual: %1    Potential: %2")
                       .arg(tavrel::SummaryText(s.actual), tavrel::SummaryText(s.potential));
        };
        QVERIFY(shows());
        const QString before = summary->text();
        QLineEdit* speed = s_->Box("txtSP");
        speed->setText(QString::number(speed->text().toInt() < 50 ? 99 : 0));
        speed->setModified(true);
        s_->window->CommitPendingEdit();
        QVERIFY(summary->text() != before);
        QVERIFY(shows());

        const QString typed = summary->text();
        s_->GlobalEditSpeed("btnGlobalEdit", {0, 3}, "-30");
        QVERIFY(summary->text() != typed);
        QVERIFY(shows());
        s_->Trigger("actUndo");
        QCOMPARE(summary->text(), typed);
        QVERIFY(shows());
    }

    void escNoOrAFailedOpenAtTheSaveQuestionKeepTheProgramTheLeagueAndTheEdits() {
        const QString question = QStringLiteral("Would you like to SAVE your changes?");
        s_->Open(s_->demo.leagueFile);
        s_->Find<QComboBox>("cboTeam")->setCurrentIndex(3);
        emit s_->Find<QComboBox>("cboTeam")->activated(3);
        s_->Players()->setCurrentRow(2);
        Type("txtSP", QStringLiteral("201")); // still being typed
        const QString panel = Label("Panel2");
        QSignalSpy ended(s_->window.get(), &frmMain::Ended);
        s_->log->answers << std::nullopt;
        s_->Trigger("mnuFileItem_4"); // Exit
        s_->log->answers << std::nullopt;
        QVERIFY(!s_->window->close());
        s_->log->answers << std::nullopt;
        s_->Open(s_->demo.leagueFile); // stops before the file dialog
        QCOMPARE(s_->log->questions, QStringList(3, question));
        QCOMPARE(s_->log->files.size(), 1);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(s_->Box("txtSP")->text(), QStringLiteral("201"));
        QVERIFY(s_->OriginSaysUnsaved());
        QVERIFY(Saved() == s_->original);

        s_->log->files.clear();
        s_->log->answers << false; // do not save; then cancel the dialog
        s_->Trigger("mnuFileItem_0");
        QCOMPARE(s_->log->questions, QStringList(4, question));
        QCOMPARE(Label("Panel2"), panel);

        // A league whose player file is missing: the import fails and nothing changes.
        const auto broken = PathOf(s_->dir, "Broken.lge");
        WriteFileContent(broken, "TMS:");
        s_->log->answers << false;
        s_->Open(broken);
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains("Broken.ply") &&
                     s_->log->messages[0].contains("the file does not exist"),
                 qPrintable(s_->log->messages[0]));
        QCOMPARE(Label("Panel1"), QPath(s_->demo.leagueFile));
        QCOMPARE(ReadLastFile(), QPath(s_->demo.leagueFile));
        s_->Players()->setCurrentRow(0);
        s_->Players()->setCurrentRow(2);
        QCOMPARE(s_->Box("txtSP")->text(), QStringLiteral("201"));
        QVERIFY(s_->window->HasUnsavedChanges());

        s_->log->answers << false; // No ends the program and the edits count as dropped
        QVERIFY(s_->window->close());
        QCOMPARE(ended.count(), 1);
        QVERIFY(!s_->OriginSaysUnsaved());
    }
    void anotherWritersLeagueOpensReadOnlyOnlyWhenAskedTo() {
        tavrel::LeagueLock other(s_->demo.leagueFile, "tavrel-cli");
        QVERIFY(other.TryLock());
        s_->log->answers << false;
        s_->Open(s_->demo.leagueFile);
        QCOMPARE(s_->log->questions.size(), 1);
        QVERIFY2(s_->log->questions[0].contains(
                     QStringLiteral("is being changed by tavrel-cli (process %1 on host")
                         .arg(QCoreApplication::applicationPid())),
                 qPrintable(s_->log->questions[0]));
        QVERIFY(!s_->window->IsLeagueOpen());
        // Yes opens it read only: LeagueDocumentTest.aReadOnlyLeagueRefusesEveryChange takes it on.
        s_->log->answers << true;
        s_->Open(s_->demo.leagueFile);
        QVERIFY(s_->window->IsLeagueOpen() && s_->window->IsReadOnly());
    }

    // The first player shows before the league check reads the files again; its word follows.
    void theLeagueCheckSpeaksOnceTheFirstPlayerIsShown() {
        std::string bytes = Saved();
        const std::size_t second = tavrel::kPlayerFileHeaderSize + tavrel::kPlayerRecordSize;
        bytes.replace(second, 2, bytes, tavrel::kPlayerFileHeaderSize, 2); // a PID twice
        WriteFileContent(s_->demo.playerFile, bytes);
        const std::size_t warnings = tavrel::CheckLeagueFiles(s_->demo.leagueFile).size();
        QVERIFY(warnings > 0);

        s_->OpenDemo();
        auto* panel = s_->Find<QLabel>("PanelLeagueCheck");
        QVERIFY(!s_->Box("txtLastName")->text().isEmpty());
        QCOMPARE(panel->text(), QString());
        QTRY_COMPARE(panel->text(),
                     QStringLiteral("League check: %1")
                         .arg(QString::fromStdString(tavrel::WarningCount(warnings))));
    }
};

TAVREL_GUI_TEST(MainWindowTest)
#include "MainWindowTest.moc"
