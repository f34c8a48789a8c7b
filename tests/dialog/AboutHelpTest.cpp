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

};

QTEST_MAIN(AboutHelpTest)
#include "AboutHelpTest.moc"
