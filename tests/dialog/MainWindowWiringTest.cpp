// How the main window reaches the Global Edit dialog, the About box and the help.
#include "GuiTestSupport.h"
#include "shell/ContextIDs.h"
#include "shell/HelpViewer.h"
#include "shell/frmAbout.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <cmath>

using namespace guitest;

class MainWindowWiringTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::shared_ptr<PromptLog> log_;
    std::unique_ptr<frmMain> window_;
    tavrel::DemoLeagueFiles demo_;
    std::filesystem::path work_;

    void Trigger(const char* name) {
        QAction* action = window_->findChild<QAction*>(name);
        QVERIFY2(action, name);
        action->trigger();
    }
    void Toolbar(const char* key) { Trigger(QByteArray("btn") + key); }
    void Open(const std::filesystem::path& leagueFile) {
        log_->files << QPath(leagueFile);
        Trigger("mnuFileItem_0");
    }
    tavrel::frmGlobal* Dialog() const { return window_->findChild<tavrel::frmGlobal*>(); }
    // The main window's own rating box (the dialog has boxes of the same names).
    QLineEdit* DetailBox(const char* name) const {
        return window_->findChild<PlayerDetailFields*>()->findChild<QLineEdit*>(name);
    }
    int CurrentPid() const {
        const auto* list = window_->findChild<QListWidget*>("lstPlayers");
        return list->currentItem()->data(Qt::UserRole).toInt();
    }
    int StoredSpeed(int pid) const {
        SQLite::Database db((work_ / "Tavrel.tmp").string(), SQLite::OPEN_READONLY);
        SQLite::Statement select(db, "SELECT Act_SP FROM Players WHERE PID = ?");
        select.bind(1, pid);
        return select.executeStep() ? select.getColumn(0).getInt() : -1;
    }
    // Ticks every position and asks for `percent` on the actual speed.
    void EditAllSpeeds(tavrel::frmGlobal* dialog, const QString& percent) {
        for (int i = 0; i < tavrel::kPositionCount; ++i)
            dialog->chkPosition(i)->setChecked(true);
        dialog->findChild<QLineEdit*>("txtSP")->setText(percent);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    }
    static int TenPercentMore(int value) {
        return std::clamp(int(std::llrint(value + value * 0.1)), 0, 99);
    }

private slots:
    void init() {
        ClearProgramSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        log_ = std::make_shared<PromptLog>();
        demo_ = tavrel::WriteDemoLeague(PathOf(*dir_, "league"));
        work_ = PathOf(*dir_, "work");
        std::filesystem::create_directories(work_);
        window_ = std::make_unique<frmMain>(work_, std::make_unique<FakePrompts>(log_));
        window_->show();
    }

    void cleanup() {
        window_.reset();
        tavrel::QuitHelp();
        QCOMPARE(log_->unexpectedQuestions, 0);
        dir_.reset();
    }

    void globalEditWithNoLeagueOpenIsNotOffered() {
        for (const char* name : {"btnGlobalEdit", "mnuComItem_6"}) {
            QVERIFY(!window_->findChild<QAction*>(name)->isEnabled());
            Trigger(name);
        }
        QVERIFY(log_->messages.isEmpty());
        QVERIFY(!Dialog());
    }

    void globalEditChangesTheLeagueAndTheWindowShowsIt() {
        Open(demo_.leagueFile);
        Toolbar("GlobalEdit");
        tavrel::frmGlobal* dialog = Dialog();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        QCOMPARE(dialog->findChild<QComboBox*>("cboTeam")->count(), 32 + 2);
        QVERIFY(!window_->HasUnsavedChanges());

        const int pid = CurrentPid();
        const int before = DetailBox("txtSP")->text().toInt();
        QCOMPARE(StoredSpeed(pid), before);
        EditAllSpeeds(dialog, "10");
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QCOMPARE(StoredSpeed(pid), TenPercentMore(before));
        QCOMPARE(DetailBox("txtSP")->text().toInt(), TenPercentMore(before));
        QCOMPARE(CurrentPid(), pid);
        QVERIFY(window_->HasUnsavedChanges()); // the save question will come

        // The same menu item brings back the same dialog.
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        Trigger("mnuComItem_6");
        QCOMPARE(Dialog(), dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit*>("txtSP")->text(), QStringLiteral("10"));
    }

    void aValueTypedWhileTheDialogIsOpenGoesInFirst() {
        Open(demo_.leagueFile);
        Toolbar("GlobalEdit");
        const int pid = CurrentPid();
        QLineEdit* speed = DetailBox("txtSP");
        speed->setText("50"); // typed, not yet stored
        speed->setModified(true);
        EditAllSpeeds(Dialog(), "10");
        QCOMPARE(StoredSpeed(pid), 55);
        QCOMPARE(speed->text(), QStringLiteral("55"));
    }

    void anotherLeagueRefillsTheTeamList() {
        Open(demo_.leagueFile);
        Toolbar("GlobalEdit");
        auto* teams = Dialog()->findChild<QComboBox*>("cboTeam");
        QCOMPARE(teams->count(), 32 + 2);
        teams->setCurrentIndex(3);
        QTest::mouseClick(Dialog()->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);

        const tavrel::DemoLeagueFiles small = tavrel::WriteDemoLeague(
            PathOf(*dir_, "small"), {.teams = 4, .players = 150, .seed = 7});
        Open(small.leagueFile);
        Toolbar("GlobalEdit");
        QCOMPARE(teams->count(), 4 + 2);
        QCOMPARE(Dialog()->SelectedTeam(), 1001);
    }

    void helpAndAboutAreReachable() {
        Trigger("mnuHelpItem_0");
        QVERIFY(tavrel::OpenHelpViewer());
        QCOMPARE(tavrel::OpenHelpViewer()->CurrentSource().fileName(),
                 QStringLiteral("contents.html"));
        tavrel::ShowHelpContext(tavrel::kHelpGlobalEdit);
        Toolbar("Help");
        QCOMPARE(tavrel::OpenHelpViewer()->CurrentSource().fileName(),
                 QStringLiteral("contents.html"));

        bool aboutShown = false; // its texts are checked with the About box itself
        QTimer::singleShot(0, this, [&] {
            auto* about = qobject_cast<tavrel::frmAbout*>(QApplication::activeModalWidget());
            if (!about)
                return;
            aboutShown = true;
            QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        Trigger("mnuHelpItem_2"); // modal: returns when OK was clicked
        QVERIFY(aboutShown);
    }

    void closingTheMainWindowClosesHelp() {
        Trigger("mnuHelpItem_0");
        QVERIFY(tavrel::OpenHelpViewer());
        log_->answers << false; // do not save
        window_->close();
        QVERIFY(!tavrel::OpenHelpViewer());
    }
};

TAVREL_GUI_TEST_MAIN(MainWindowWiringTest)
#include "MainWindowWiringTest.moc"
