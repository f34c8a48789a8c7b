// The progress window and the splash.
#include "GuiTestSupport.h"
#include "shell/frmSplash2.h"
#include "shell/frmStatus.h"

#include <QApplication>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void progressWindowFollowsAPassWithFewRepaints() {
        frmStatus status;
        QProgressBar* bar = status.findChild<QProgressBar*>("ProgressBar1");
        QLabel* label = status.findChild<QLabel*>("Label1");
        QVERIFY(bar && label);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(status.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(status.isHidden());

        // An import of 32,000 records: one SetValue per record.
        {
            tavrel::ProgressScope scope(&status, "Please Wait - Loading League");
            QVERIFY(status.isVisible());
            QCOMPARE(label->text(), QStringLiteral("Please Wait - Loading League"));
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            const QPoint centre = status.screen()->availableGeometry().center();
            QVERIFY((status.frameGeometry().center() - centre).manhattanLength() <= 4);
            scope.Set(5);
            QCOMPARE(bar->value(), 5);
            const int before = status.RepaintCount();
            tavrel::ProgressStepper stepper(&status, 5, 95, 32000);
            for (int i = 0; i < 32000; ++i)
                stepper.Advance();
            QVERIFY2(status.RepaintCount() - before <= 96,
                     qPrintable(QString::number(status.RepaintCount() - before)));
            QCOMPARE(bar->value(), static_cast<int>(stepper.value()));
            QVERIFY(bar->value() >= 98 && bar->value() < 100);
        }
        QVERIFY(status.isHidden());
        QVERIFY(!QApplication::overrideCursor());

        // The save that follows starts the bar again from 0.
        {
            tavrel::ProgressScope scope(&status, "Please Wait - Saving....");
            scope.Set(0);
            QCOMPARE(bar->value(), 0);
            QCOMPARE(label->text(), QStringLiteral("Please Wait - Saving...."));
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void splashShowsTheMainWindowAfterASecondAndLeavesAfterThree() {
        bool mainShown = false;
        frmSplash2 splash([&] { mainShown = true; });
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QStringList texts;
        for (QLabel* label : splash.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Tavrel"));
        QVERIFY(texts.contains("2.0"));

        // The timers' own settings, not the wall clock: a loaded machine fires them late, and
        // coarse timers may fire a little early.
        auto* timer1 = splash.findChild<QTimer*>("Timer1");
        auto* timer2 = splash.findChild<QTimer*>("Timer2");
        QVERIFY(timer1 && timer2);
        QCOMPARE(timer1->interval(), 1000);
        QCOMPARE(timer2->interval(), 3000);
        QVERIFY(!timer1->isActive() && !timer2->isActive());

        splash.show();
        QVERIFY(timer1->isActive() && timer2->isActive());
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTRY_VERIFY_WITH_TIMEOUT(mainShown, 10000);
        QVERIFY(splash.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 10000);
        QVERIFY(!QApplication::overrideCursor());
    }
};

TAVREL_GUI_TEST_MAIN(ShellTest)
#include "ShellTest.moc"
