#include "GuiTestSupport.h"
#include "league/ProgramInfo.h"
#include "shell/ContextIDs.h"
#include "shell/HelpViewer.h"
#include "shell/SystemInfo.h"
#include "shell/frmAbout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <SQLiteCpp/Database.h>

using namespace tavrel;

class AboutHelpTest : public QObject {
    Q_OBJECT

    std::shared_ptr<guitest::PromptLog> log_;
    std::unique_ptr<guitest::FakePrompts> prompts_;

private slots:
    void init() {
        log_ = std::make_shared<guitest::PromptLog>();
        prompts_ = std::make_unique<guitest::FakePrompts>(log_);
    }
    void cleanup() { QuitHelp(); }

    void aboutBoxShowsTitleVersionAndHomePage() {
        frmAbout about(*prompts_);
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tavrel"));
        QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Tavrel"));
        QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 2.0.0"));
        QVERIFY(!about.findChild<QLabel*>("lblDescription")->text().isEmpty());
        auto* homePage = about.findChild<QLineEdit*>("txtHomePage");
        QCOMPARE(homePage->text(), QString::fromLatin1(kHomePageAddress));
        QVERIFY(homePage->isReadOnly());
        QCOMPARE(about.findChild<QPushButton*>("cmdSysInfo")->text(),
                 QStringLiteral("&System Info..."));

        auto* ok = about.findChild<QPushButton*>("cmdOK");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        QVERIFY(log_->messages.isEmpty());
    }

#ifndef Q_OS_WIN
    void systemInfoOpensTheProgramsOwnWindow() {
        frmAbout about(*prompts_);
        about.show();
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        QWidget* window = about.OpenSystemInfoWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QStringList shown;
        for (const QLabel* label : window->findChildren<QLabel*>())
            shown << label->text();
        QVERIFY2(shown.contains(QString::fromLatin1(qVersion())), qPrintable(shown.join('|')));
        QVERIFY(shown.contains(QString::fromLatin1(SQLite::getLibVersion())));
        QVERIFY(shown.contains(QSysInfo::currentCpuArchitecture()));
        QVERIFY(log_->messages.isEmpty());
    }
#endif

    void systemInfoWithNothingToShowSaysSo() {
        frmAbout about(*prompts_);
        about.SetSystemInfoSource([] { return QList<SystemInfoItem>{}; });
        about.StartSysInfo();
#ifndef Q_OS_WIN
        QCOMPARE(log_->messages,
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
        QVERIFY(!about.OpenSystemInfoWindow());
#endif
    }

    void helpFilePathHasOneSeparator_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("helpFile");
        QTest::newRow("drive root") << "C:\\"
                                    << "C:\\Tavrel99.HLP";
        QTest::newRow("windows folder") << "C:\\Games\\Tavrel"
                                        << "C:\\Games\\Tavrel\\Tavrel99.HLP";
        QTest::newRow("blanks around") << "  /opt/tavrel  "
                                       << "/opt/tavrel/Tavrel99.HLP";
        QTest::newRow("ends in separator") << "/opt/tavrel/"
                                           << "/opt/tavrel/Tavrel99.HLP";
        QTest::newRow("root") << "/"
                              << "/Tavrel99.HLP";
        QTest::newRow("qt style windows path") << "C:/Tavrel"
                                               << "C:/Tavrel/Tavrel99.HLP";
    }

    void helpFilePathHasOneSeparator() {
        QFETCH(QString, directory);
        QFETCH(QString, helpFile);
        QCOMPARE(HelpFilePath(directory), helpFile);
    }

    void initHelpTakesTheProgramDirectory() {
        InitHelp(nullptr);
        QCOMPARE(CurrentHelpFilePath(), QCoreApplication::applicationDirPath() + "/Tavrel99.HLP");
        QCOMPARE(HelpPagesFolder(CurrentHelpFilePath()),
                 QCoreApplication::applicationDirPath() + "/Tavrel99-help");
    }

    void contentsAndGlobalEditTopicFromCompiledPages() {
        QTemporaryDir programDir; // no help folder: the compiled-in pages serve
        InitHelp(nullptr, programDir.path());
        QVERIFY(!OpenHelpViewer());

        ShowHelpContents();
        HelpViewer* viewer = OpenHelpViewer();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->CurrentSource(), QUrl("qrc:/help/contents.html"));
        QVERIFY(viewer->CurrentText().contains("Topics"));

        ShowHelpContext(kHelpGlobalEdit);
        QCOMPARE(OpenHelpViewer(), viewer); // one viewer, reused
        QCOMPARE(viewer->CurrentSource(), QUrl("qrc:/help/globaledit.html"));
        QVERIFY(viewer->CurrentText().contains("Global Edit: changing a whole position"));
        QVERIFY(viewer->windowTitle().contains("Global Edit"));

        QuitHelp();
        QVERIFY(!OpenHelpViewer());
    }

    void helpFolderBesideTheProgramIsPreferred() {
        QTemporaryDir programDir;
        QVERIFY(QDir(programDir.path()).mkdir("Tavrel99-help"));
        QFile page(programDir.filePath("Tavrel99-help/contents.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><p>Pages installed beside the program</p></body></html>");
        page.close();

        InitHelp(nullptr, programDir.path() + "/");
        ShowHelpContents();
        QVERIFY(OpenHelpViewer()->CurrentText().contains("Pages installed beside the program"));

        // The folder lacks the Global Edit page: the viewer says so and carries on.
        ShowHelpContext(kHelpGlobalEdit);
        const QString text = OpenHelpViewer()->CurrentText();
        QVERIFY2(text.contains("could not be found") && text.contains("globaledit.html"),
                 qPrintable(text));
    }

    void topicWithoutPageShowsNotFound() {
        QTemporaryDir programDir;
        InitHelp(nullptr, programDir.path());
        ShowHelpContext(4711);
        const QString text = OpenHelpViewer()->CurrentText();
        QVERIFY2(text.contains("topic-4711.html") && text.contains("could not be found"),
                 qPrintable(text));
        ShowHelpContents(); // and the viewer still works afterwards
        QVERIFY(OpenHelpViewer()->CurrentText().contains("Topics"));
    }

    void everyPageHasATitleAndWorkingLinks() {
        const QStringList pages = QDir(":/help").entryList({"*.html"});
        // The six topics, and the page on undo, the window and the keyboard.
        QCOMPARE(pages.size(), 7);
        for (int id :
             {kHelpLeagueFiles, kHelpPlayers, kHelpGlobalEdit, kHelpRosters, kHelpFilesWritten})
            QVERIFY2(pages.contains(HelpPageOfContext(id)), qPrintable(HelpPageOfContext(id)));

        const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
        for (const QString& name : pages) {
            QFile file(":/help/" + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            QVERIFY2(html.contains("<title>"), qPrintable(name));
            for (auto match = href.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                QVERIFY2(QFile::exists(":/help/" + target),
                         qPrintable(name + " links to missing " + target));
            }
        }
    }
};

QTEST_MAIN(AboutHelpTest)
#include "AboutHelpTest.moc"
