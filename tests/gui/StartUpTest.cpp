// Start-up: the league named on the command line, and where an installed program finds its data.
#include "GuiTestSupport.h"
#include "shell/ProgramFolders.h"
#include "ui/main/LastFileSetting.h"

#include <QDir>
#include <QLabel>

using namespace guitest;

class StartUpTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowSession> s_;

private slots:
    void init() {
        s_ = std::make_unique<MainWindowSession>();
        s_->window->show();
    }

    void cleanup() { s_.reset(); }

    void theLeagueNamedOnTheCommandLineOpensOrTheWindowSaysWhyNot_data() {
        QTest::addColumn<QString>("league");         // relative to the test's folder
        QTest::addColumn<QByteArray>("playerBytes"); // empty: no player file
        QTest::addColumn<QString>("failure");        // the file the message names; empty: it opens
        QTest::newRow("opens") << "league/Demo.lge" << QByteArray() << QString();
        QTest::newRow("missing") << "Missing.lge" << QByteArray() << "Missing.lge";
        QTest::newRow("not a player file") << "Bad.lge" << QByteArray("PLY") << "Bad.ply";
    }

    void theLeagueNamedOnTheCommandLineOpensOrTheWindowSaysWhyNot() {
        QFETCH(QString, league);
        QFETCH(QByteArray, playerBytes);
        QFETCH(QString, failure);
        if (!playerBytes.isEmpty()) {
            WriteFileContent(s_->dir.filePath(league).toStdString(), "TMS:");
            WriteFileContent(s_->dir.filePath(failure).toStdString(), playerBytes.toStdString());
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(s_->dir.path());
        const bool opened = s_->window->OpenLeagueFromCommandLine(league);
        QDir::setCurrent(previous);

        QCOMPARE(opened, failure.isEmpty());
        QCOMPARE(s_->window->IsLeagueOpen(), opened);
        QVERIFY(s_->window->isVisible());
        QCOMPARE(s_->log->messages.size(), opened ? 0 : 1);
        QVERIFY(opened || s_->log->messages[0].contains(failure));
        const QString remembered = opened ? QPath(s_->demo.leagueFile) : QString();
        QCOMPARE(ReadLastFile(), remembered);
        QCOMPARE(s_->Find<QLabel>("Panel1")->text(),
                 opened ? remembered : QStringLiteral("League: "));
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

TAVREL_GUI_TEST(StartUpTest)
#include "StartUpTest.moc"
