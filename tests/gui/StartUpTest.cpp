// Start-up: the league named on the command line, the arguments answered without a window, and
// where an installed program finds its data.
#include "GuiTestSupport.h"
#include "shell/ProgramFolders.h"
#include "ui/main/LastFileSetting.h"

#include <QDir>
#include <QLabel>

using namespace guitest;

class StartUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowSession> s_;

    QString Panel1() const { return s_->Find<QLabel>("Panel1")->text(); }

private slots:
    void init() {
        s_ = std::make_unique<MainWindowSession>();
        s_->window->show();
    }

    void cleanup() { s_.reset(); }

    void theLeagueNamedOnTheCommandLineOpensAndIsRemembered() {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(s_->dir.path());
        const bool opened =
            s_->window->OpenLeagueFromCommandLine(QStringLiteral("league/Demo.lge"));
        QDir::setCurrent(previous);

        QVERIFY(opened);
        QVERIFY(s_->log->messages.isEmpty());
        QVERIFY(s_->window->IsLeagueOpen());
        const QString absolute = QPath(s_->demo.leagueFile);
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
        const QString league = s_->dir.filePath(QString(named).replace(".ply", ".lge"));
        if (!playerBytes.isEmpty()) {
            WriteFileContent(league.toStdString(), "TMS:");
            WriteFileContent(s_->dir.filePath(named).toStdString(), playerBytes.toStdString());
        }

        QVERIFY(!s_->window->OpenLeagueFromCommandLine(league));
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains(named), qPrintable(s_->log->messages[0]));
        QVERIFY(s_->window->isVisible());
        QVERIFY(!s_->window->IsLeagueOpen());
        QCOMPARE(ReadLastFile(), QString());
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
