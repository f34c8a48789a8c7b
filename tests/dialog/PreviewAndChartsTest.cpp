// The Global Edit dialog's preview and recipes, and the rating chart window.
#include "DemoWorkingDatabase.h"
#include "GuiTestSupport.h"
#include "globaledit/GlobalEditRun.h"
#include "stats/RatingDistribution.h"
#include "ui/charts/HistogramChart.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/global/PreviewPanel.h"
#include "ui/global/frmGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace tavrel;

class PreviewAndChartsTest : public QObject {
    Q_OBJECT

    std::shared_ptr<guitest::PromptLog> log_ = std::make_shared<guitest::PromptLog>();
    guitest::FakePrompts prompts_{log_};
    QTemporaryDir dir_;

    static QLineEdit* Box(QWidget* dialog, const char* name) {
        return dialog->findChild<QLineEdit*>(name);
    }
    static void Click(QWidget* dialog, const char* name) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    // QB and S, speed +10 % and potential -20 %, actual Max 45, potential Min 55.
    static void TypeAnEdit(frmGlobal* dialog) {
        dialog->chkPosition(0)->setChecked(true);
        dialog->chkPosition(14)->setChecked(true);
        Box(dialog, "txtSP")->setText("10");
        Box(dialog, "txtP_SP")->setText("-20");
        Box(dialog, "txtActMax")->setText("45");
        Box(dialog, "txtPotMin")->setText("55");
    }

private slots:
    void init() { *log_ = guitest::PromptLog{}; }

    void previewShowsWhatOkThenDoes() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        QSignalSpy starting(dialog, &frmGlobal::PreviewStarting);
        dialog->show();
        auto* help = dialog->findChild<QPushButton*>("cmdHelp");
        auto* preview = dialog->findChild<QPushButton*>("cmdPreview");
        QCOMPARE(preview->text(), QStringLiteral("Pre&view"));
        QCOMPARE(preview->x(), help->x());
        QVERIFY(preview->y() > help->y());
        QVERIFY(!dialog->Preview()->isVisible());

        TypeAnEdit(dialog);
        const std::string bytes = guitest::ReadBytes(league.db());
        Click(dialog, "cmdPreview");
        QCOMPARE(starting.count(), 1);
        QCOMPARE(guitest::ReadBytes(league.db()), bytes);
        PreviewPanel* panel = dialog->Preview();
        QVERIFY(panel->isVisible() && !panel->IsStale());
        const std::vector<PositionPreview> shown = panel->Previews();
        QCOMPARE(shown.size(), std::size_t(2));
        auto* table = panel->findChild<QTableWidget*>("tblPreview");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("S"));
        QCOMPARE(table->item(1, 1)->text(), QString::number(shown[1].playersSelected));
        QCOMPARE(table->item(1, 3)->text(), QString::number(shown[1].tally.heldAtActualMax));
        QVERIFY(shown[0].tally.heldAtActualMax + shown[1].tally.heldAtActualMax > 0);
        QCOMPARE(panel->findChild<QLabel*>("lblPreviewActual")->text(),
                 QStringLiteral("Before: %1\nAfter: %2")
                     .arg(SummaryText(shown[0].ratings[0].actualBefore),
                          SummaryText(shown[0].ratings[0].actualAfter)));

        Click(dialog, "cmdOK");
        QVERIFY(log_->messages.isEmpty());
        for (const PositionPreview& p : shown) {
            const RatingSpread after = ReadRatingSpread(
                league.db(), {.team = std::nullopt, .positionCode = p.positionCode}, 0);
            QVERIFY(p.ratings[0].actualAfter == after.actual);
            QVERIFY(p.ratings[0].potentialAfter == after.potential);
        }
        QVERIFY(panel->IsStale()); // the players changed
        Click(dialog, "cmdPreview");
        QVERIFY(!panel->IsStale());
        Box(dialog, "txtAG")->setText("5");
        QVERIFY(panel->IsStale());
        delete dialog;
    }

    void recipesKeepEveryBoxTickAndTheTeam() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        TypeAnEdit(dialog);
        Box(dialog, "txtp_VI")->setText("-2.5");
        auto* team = dialog->findChild<QComboBox*>("cboTeam");
        team->setCurrentIndex(2);
        const QString file = dir_.filePath("recipe.json");
        log_->files << file;
        Click(dialog, "cmdSaveRecipe");

        auto* fresh = new frmGlobal(league.db(), prompts_);
        log_->files << file;
        Click(fresh, "cmdLoadRecipe");
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        for (QLineEdit* box : dialog->findChildren<QLineEdit*>())
            QCOMPARE(Box(fresh, qPrintable(box->objectName()))->text(), box->text());
        for (int i = 0; i < kPositionCount; ++i)
            QCOMPARE(fresh->chkPosition(i)->isChecked(), dialog->chkPosition(i)->isChecked());
        QCOMPARE(fresh->SelectedTeam(), dialog->SelectedTeam());

        // A team this league lacks, and a newer recipe: refused by name, nothing changed.
        guitest::WriteBytes(file.toStdString(), R"({"version": 1, "team": 200})");
        log_->files << file;
        Click(fresh, "cmdLoadRecipe");
        guitest::WriteBytes(file.toStdString(), R"({"version": 2})");
        log_->files << file;
        Click(fresh, "cmdLoadRecipe");
        QCOMPARE(log_->messages.size(), 2);
        QVERIFY2(log_->messages[0].contains("team: this league has no team 200"),
                 qPrintable(log_->messages[0]));
        QVERIFY2(log_->messages[1].contains("version: 2 is from a newer"),
                 qPrintable(log_->messages[1]));
        QCOMPARE(fresh->SelectedTeam(), dialog->SelectedTeam());
        delete fresh;
        delete dialog;
    }
};

QTEST_MAIN(PreviewAndChartsTest)
#include "PreviewAndChartsTest.moc"
