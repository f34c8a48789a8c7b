// Start-up: the league named on the command line, the arguments answered without a window, and
// where an installed program finds its data.
#include "GuiTestSupport.h"
#include "shell/CommandLine.h"
#include "shell/ProgramFolders.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

using namespace guitest;

class StartUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::shared_ptr<PromptLog> log_;
    std::unique_ptr<frmMain> window_;

    QString Panel1() const { return window_->findChild<QLabel*>("Panel1")->text(); }

private slots:
    void init() {
        ClearProgramSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        log_ = std::make_shared<PromptLog>();
        const auto work = PathOf(*dir_, "work");
        std::filesystem::create_directories(work);
        window_ = std::make_unique<frmMain>(work, std::make_unique<FakePrompts>(log_));
        window_->show();
    }

    void cleanup() {
        window_.reset();
        QCOMPARE(log_->unexpectedQuestions, 0);
        dir_.reset();
    }

    void theLeagueNamedOnTheCommandLineOpensAndIsRemembered() {
        const tavrel::DemoLeagueFiles demo = tavrel::WriteDemoLeague(PathOf(*dir_, "league"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        const bool opened = window_->OpenLeagueFromCommandLine(QStringLiteral("league/Demo.lge"));
        QDir::setCurrent(previous);

        QVERIFY(opened);
        QVERIFY(log_->messages.isEmpty());
        QVERIFY(window_->IsLeagueOpen());
        const QString absolute = QPath(demo.leagueFile);
        QCOMPARE(Panel1(), absolute);
        QCOMPARE(ReadLastFile(), absolute);
    }

    void aMissingOrBadLeagueShowsTheFailureAndTheWindowStays_data() {
        QTest::addColumn<QByteArray>("playerBytes"); // empty: no player file
        QTest::addColumn<QString>("named");
        QTest::newRow("missing") << QByteArray() << "Missing.ply";
        QTest::newRow("not a player file") << QByteArray("PLY") << "Bad.ply";
    }

    void aMissingOrBadLeagueShowsTheFailureAndTheWindowStays() {
        QFETCH(QByteArray, playerBytes);
        QFETCH(QString, named);
        const QString league = dir_->filePath(QString(named).replace(".ply", ".lge"));
        if (!playerBytes.isEmpty()) {
            WriteBytes(league.toStdString(), "TMS:");
            WriteBytes(dir_->filePath(named).toStdString(), playerBytes.toStdString());
        }

        QVERIFY(!window_->OpenLeagueFromCommandLine(league));
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY2(log_->messages[0].contains(named), qPrintable(log_->messages[0]));
        QVERIFY(window_->isVisible());
        QVERIFY(!window_->IsLeagueOpen());
        QCOMPARE(ReadLastFile(), QString());
    }

    void helpAndVersionAreAnsweredWithoutAWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("textOnly");
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("league") << QStringList{"Demo.lge"} << false;
        QTest::newRow("version") << QStringList{"--version"} << true;
        QTest::newRow("short version") << QStringList{"-v"} << true;
        QTest::newRow("help after league") << QStringList{"Demo.lge", "--help"} << true;
        QTest::newRow("help all") << QStringList{"--help-all"} << true;
        QTest::newRow("file named --help") << QStringList{"--", "--help"} << false;
    }

    void dataComesFromTheInstallationOrFromBesideTheProgram() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("usr/bin") && QDir(root.path()).mkpath("build/shell"));
        QVERIFY(QDir(root.path()).mkpath("usr/share/tavrel"));
        QCOMPARE(tavrel::ProgramDataDirectory(root.filePath("usr/bin")),
                 root.filePath("usr/share/tavrel"));
        QCOMPARE(tavrel::ProgramDataDirectory(root.filePath("build/shell")),
                 root.filePath("build/shell"));
    }
};

TAVREL_GUI_TEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
