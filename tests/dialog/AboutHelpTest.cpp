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
