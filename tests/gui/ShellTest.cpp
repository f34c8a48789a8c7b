// The progress window and the splash.
#include "GuiTestSupport.h"
#include "shell/frmSplash2.h"
#include "shell/frmStatus.h"

#include <QApplication>
#include <QElapsedTimer>
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
        QElapsedTimer clock;
        qint64 shownAt = -1;
        frmSplash2 splash([&] { shownAt = clock.elapsed(); });
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QStringList texts;
        for (QLabel* label : splash.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Tavrel"));
        QVERIFY(texts.contains("2.0"));

        clock.start();
        splash.show();
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTRY_VERIFY_WITH_TIMEOUT(shownAt >= 0, 5000);
        QVERIFY2(shownAt >= 900 && shownAt < 2500, qPrintable(QString::number(shownAt)));
        QVERIFY(splash.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 6000);
        QVERIFY2(clock.elapsed() >= 2900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!QApplication::overrideCursor());
    }
};

TAVREL_GUI_TEST_MAIN(ShellTest)
#include "ShellTest.moc"
