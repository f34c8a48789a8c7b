// The progress window.
#include "GuiTestSupport.h"
#include "shell/frmStatus.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void progressWindowFollowsAPassWithFewRepaints() {
        frmStatus status;
        QProgressBar* bar = status.findChild<QProgressBar*>("ProgressBar1");
        QLabel* label = status.findChild<QLabel*>("Label1");
        QVERIFY(bar && label);
        QVERIFY(status.isHidden());

        // An import of 32,000 records: one SetValue per record.
        {
            tavrel::ProgressScope scope(&status, "Please Wait - Loading League");
            QVERIFY(status.isVisible());
            QCOMPARE(label->text(), QStringLiteral("Please Wait - Loading League"));
            QVERIFY(QApplication::overrideCursor());
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
};

TAVREL_GUI_TEST_MAIN(ShellTest)
#include "ShellTest.moc"
