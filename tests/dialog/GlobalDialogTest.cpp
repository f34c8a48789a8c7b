#include "DemoWorkingDatabase.h"
#include "GuiTestSupport.h"
#include "league/Progress.h"
#include "shell/ContextIDs.h"
#include "shell/HelpViewer.h"
#include "ui/global/frmGlobal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace tavrel;

namespace {

// A Global Edit as the test describes it, applied by the test's own reading of the rule.
struct Edit {
    int team = 1001;
    std::set<int> positionCodes;
    std::array<double, kRatingCount> actual{};
    std::array<double, kRatingCount> potential{};
    std::int64_t actualMin = 0, actualMax = 99, potentialMin = 0, potentialMax = 99;
};

std::int64_t Scaled(std::int64_t value, double percent) {
    const double v = double(value);
    return std::llrint(v + v * (percent * 0.01)); // to nearest, a half to the even neighbour
}

std::vector<RatingRow> Expected(std::vector<RatingRow> rows, const Edit& edit) {
    for (RatingRow& row : rows) {
        if (!edit.positionCodes.contains(row.position))
            continue;
        if (edit.team != 1001 && row.team != edit.team)
            continue;
        for (int k = 0; k < kRatingCount; ++k) {
            if (edit.actual[k] == 0)
                continue;
            std::int64_t& a = row.actual[k];
            std::int64_t& p = row.potential[k];
            a = Scaled(a, edit.actual[k]);
            if (edit.potential[k] != 0)
                p = Scaled(p, edit.potential[k]);
            a = std::min(a, edit.actualMax);
            a = std::max(a, edit.actualMin);
            p = std::max(p, a);
            p = std::min(p, edit.potentialMax);
            p = std::max(p, edit.potentialMin);
        }
    }
    return rows;
}

// Records the progress of a run and, while the run is on, tries to start another one.
class MeddlingProgress : public Progress {
public:
    frmGlobal* dialog = nullptr;
    QStringList captions;
    bool enabledDuringRun = false;

    void Begin(const std::string& caption) override {
        captions << QString::fromStdString(caption);
        enabledDuringRun = enabledDuringRun || dialog->isEnabled();
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        dialog->findChild<QLineEdit*>("txtSP")->setText("90");
    }
    void SetValue(float) override {}
    void End() override {}
};

QStringList ComboItems(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i) + "=" + combo->itemData(i).toString();
    return items;
}

} // namespace

class GlobalDialogTest : public QObject {
    Q_OBJECT

    template <typename T> static T* Child(QWidget* dialog, const char* name) {
        T* child = dialog->findChild<T*>(name);
        if (!child)
            qFatal("no child %s", name);
        return child;
    }

    std::shared_ptr<guitest::PromptLog> log_ = std::make_shared<guitest::PromptLog>();
    guitest::FakePrompts prompts_{log_};

private slots:
    void init() { *log_ = guitest::PromptLog{}; }
    void cleanup() { QuitHelp(); }

    void demoLeagueTeamsAreListedInNameOrder() {
        DemoWorkingDatabase league;
        std::map<std::string, int> teams; // name without padding -> TeamID
        {
            SQLite::Database db(league.db().string());
            SQLite::Statement select(db, "SELECT TeamName, TeamID FROM Team");
            while (select.executeStep()) {
                std::string name = select.getColumn(0).getString();
                name.erase(name.find_last_not_of(std::string_view("\0 ", 2)) + 1);
                teams.emplace(name, select.getColumn(1).getInt());
            }
        }
        QVERIFY(teams.size() > 2);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        auto* combo = Child<QComboBox>(dialog, "cboTeam");
        QCOMPARE(combo->count(), int(teams.size()) + 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("All"));
        QCOMPARE(combo->itemData(0).toInt(), 1001);
        QCOMPARE(combo->itemText(combo->count() - 1), QStringLiteral("Free Agents"));
        QCOMPARE(combo->itemData(combo->count() - 1).toInt(), 0);
        auto lower = [](std::string text) {
            for (char& c : text)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            return text;
        };
        std::string previous;
        for (int i = 1; i + 1 < combo->count(); ++i) {
            const std::string name = combo->itemText(i).toStdString();
            QVERIFY2(teams.contains(name), name.c_str());
            QCOMPARE(combo->itemData(i).toInt(), teams[name]);
            QVERIFY2(lower(previous) < lower(name), name.c_str());
            previous = name;
        }
        delete dialog;
    }

    void boxesCarryTheirNamesTipsAndColours() {
        // code, actual tool tip, potential box, potential tool tip: as the users know them
        const QList<QStringList> expected = {
            {"SP", "Actual Speed", "txtP_SP", "Potential Speed"},
            {"AG", "Actual Agility", "txtP_AG", "Potential Agility"},
            {"VT", "Actual Vertical Jump", "txtP_VT", "Potentila Vertical Jump"},
            {"FA", "Actual Fatigue", "txtP_FA", "Potential Fatigue"},
            {"DU", "Actual Durability", "txtP_DU", "Potential Durability"},
            {"DI", "Actual Disipline", "txtP_DI", "Potential Disipline"},
            {"RE", "Actual Reading", "txtP_RE", "Potential Reading"},
            {"PM", "Actual Playmaking", "txtP_PM", "Potential Playmaking"},
            {"AS", "Actual Arm Strength", "txtP_AS", "Potential Arm Strength"},
            {"TA", "Actual Throw Accuracy", "txtP_TA", "Potential Throw Accuracy"},
            {"SC", "Actual Scrambling", "txtP_SC", "Potential Scrambling"},
            {"AW", "Actual Awareness", "txtP_AW", "Potential Awareness"},
            {"BC", "Actual Ball Carrying", "txtP_BC", "Potential Ball Carrying"},
            {"BT", "Actual Break Tackle", "txtP_BT", "Potential Break Tackle"},
            {"VI", "Actual Vision", "txtp_VI", "Potential Vision"},
            {"CA", "Actual Catching", "txtP_CA", "Potential Catching"},
            {"PB", "Actual Pass Blocking", "txtP_PB", "potential Pass Blocking"},
            {"RB", "Actual Run Blocking", "txtP_RB", "Potential Run blocking"},
            {"PR", "Actual Pass Rushing", "txtP_PR", "Potential Pas Rushing"},
            {"PD", "Actual Pass Defense", "txtP_PD", "Potential Pass Defense"},
            {"TK", "Actual Tackling", "txtP_TK", "Potential Tackling"},
            {"RD", "Actual Run Defense", "txtP_RD", "Potential Run Defense"},
            {"KA", "Actual Kick Accuracy", "txtP_KA", "Potential Kick Accuracy"},
            {"KD", "Actual Kick Distance", "txtP_KD", "Potential Kick Distance"},
        };
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        auto* ratings = Child<QGroupBox>(dialog, "fraRatings");
        QCOMPARE(ratings->title(), QStringLiteral("Ratings %"));
        QCOMPARE(ratings->findChildren<QLineEdit*>().size(), 48);
        QWidget* previous = nullptr;
        for (int i = 0; i < expected.size(); ++i) {
            const QStringList& e = expected[i];
            auto* actual = Child<QLineEdit>(dialog, qPrintable("txt" + e[0]));
            auto* potential = Child<QLineEdit>(dialog, qPrintable(e[2]));
            QCOMPARE(actual->toolTip(), e[1]);
            QCOMPARE(potential->toolTip(), e[3]);
            QCOMPARE(actual->text(), QStringLiteral("0"));
            QCOMPARE(potential->text(), QStringLiteral("0"));
            QCOMPARE(potential->palette().color(QPalette::Text), QColor(255, 0, 0));
            QVERIFY(actual->palette().color(QPalette::Text) != QColor(255, 0, 0));
            // Bands of eight: left to right within a band, the potential box under the actual
            // one, each band below the one before; all of it inside the frame.
            for (QLineEdit* box : {actual, potential}) {
                QVERIFY(box->isVisible());
                QVERIFY(ratings->rect().contains(box->geometry()));
                QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance("-100.5"));
            }
            QCOMPARE(potential->x(), actual->x());
            QVERIFY(potential->y() >= actual->y() + actual->height());
            if (i % 8 != 0) {
                QVERIFY(actual->x() > previous->x());
                QCOMPARE(actual->y(), previous->y());
            } else if (previous) {
                QVERIFY(actual->y() > previous->y() + 2 * previous->height());
            }
            previous = actual;
        }
        for (auto [name, text] : {std::pair{"txtActMax", "99"}, std::pair{"txtActMin", "0"},
                                  std::pair{"txtPotMax", "99"}, std::pair{"txtPotMin", "0"}})
            QCOMPARE(Child<QLineEdit>(dialog, name)->text(), QString(text));
        QCOMPARE(Child<QLineEdit>(dialog, "txtActMax")->parentWidget()->objectName(),
                 QStringLiteral("fraActual"));
        QCOMPARE(Child<QLineEdit>(dialog, "txtPotMin")->parentWidget()->objectName(),
                 QStringLiteral("fraPotential"));
        QVERIFY(Child<QPushButton>(dialog, "cmdOK")->isDefault());
        QCOMPARE(Child<QPushButton>(dialog, "cmdCancel")->text(), QStringLiteral("&Cancel"));
        QCOMPARE(Child<QPushButton>(dialog, "cmdHelp")->text(), QStringLiteral("&Help"));
        QVERIFY(!dialog->isModal());
        delete dialog;
    }

    void positionBoxesMapToTheirCodes() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        const QStringList captions = {"QB", "HB", "FB", "WR", "TE", "C",  "G", "T",
                                      "K",  "P",  "DE", "DT", "LB", "CB", "S"};
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(dialog->chkPosition(i)->text(), captions[i]);
            QVERIFY(!dialog->chkPosition(i)->isChecked());
            QCOMPARE(dialog->chkPosition(i)->y(), dialog->chkPosition(i / 5 * 5)->y()); // rows of 5
        }
        dialog->SelectPosition(9);
        QCOMPARE(dialog->SelectedPosition(), 14);
        QCOMPARE(dialog->SelectedPositionText(), QStringLiteral("P"));
        dialog->SelectPosition(14);
        QCOMPARE(dialog->SelectedPosition(), 13);
        QCOMPARE(dialog->SelectedPositionText(), QStringLiteral("S"));
        dialog->SelectPosition(15);
        dialog->SelectPosition(-1);
        QCOMPARE(dialog->SelectedPosition(), 13);
        QCOMPARE(dialog->SelectedPositionText(), QStringLiteral("S"));
        delete dialog;
    }

    void okWithOneTeamPercentagesAndBounds() {
        DemoWorkingDatabase league;
        const std::vector<RatingRow> before = ReadRatingRows(league.db());
        auto* dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        Child<QComboBox>(dialog, "cboTeam")->setCurrentIndex(2); // the second team by name
        const int team = dialog->SelectedTeam();
        QVERIFY(team != 1001 && team != 0);
        dialog->chkPosition(9)->setChecked(true); // P, code 14
        dialog->chkPosition(3)->setChecked(true); // WR, code 6
        Child<QLineEdit>(dialog, "txtSP")->setText(" 50 ");
        Child<QLineEdit>(dialog, "txtP_SP")->setText("-20");
        Child<QLineEdit>(dialog, "txtAG")->setText("-100");
        Child<QLineEdit>(dialog, "txtP_KD")->setText("30"); // actual 0: KD stays as it is
        Child<QLineEdit>(dialog, "txtp_VI")->setText("12.5");
        Child<QLineEdit>(dialog, "txtVI")->setText("2.5");
        Child<QLineEdit>(dialog, "txtActMin")->setText("30");
        Child<QLineEdit>(dialog, "txtActMax")->setText("90");
        Child<QLineEdit>(dialog, "txtPotMax")->setText("70");
        // Enter in a box presses OK.
        QTest::keyClick(Child<QLineEdit>(dialog, "txtSP"), Qt::Key_Return);

        Edit edit;
        edit.team = team;
        edit.positionCodes = {14, 6};
        edit.actual[*RatingIndex("SP")] = 50;
        edit.potential[*RatingIndex("SP")] = -20;
        edit.actual[*RatingIndex("AG")] = -100;
        edit.potential[*RatingIndex("KD")] = 30;
        edit.actual[*RatingIndex("VI")] = 2.5;
        edit.potential[*RatingIndex("VI")] = 12.5;
        edit.actualMin = 30;
        edit.actualMax = 90;
        edit.potentialMax = 70;
        const std::vector<RatingRow> after = ReadRatingRows(league.db());
        QVERIFY(after == Expected(before, edit));
        QVERIFY(after != before);
        delete dialog;
    }

    void okWithNothingTickedDoesNothing() {
        DemoWorkingDatabase league(kSmallLeague);
        const std::vector<RatingRow> before = ReadRatingRows(league.db());
        auto* dialog = new frmGlobal(league.db(), prompts_);
        QSignalSpy applied(dialog, &frmGlobal::GlobalEditApplied);
        dialog->show();
        Child<QLineEdit>(dialog, "txtSP")->setText("10");
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QVERIFY(ReadRatingRows(league.db()) == before);
        QCOMPARE(applied.count(), 0);
        QVERIFY(log_->messages.isEmpty());
        delete dialog;
    }

    void aBoxWithoutAValidNumberStopsTheRun_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("percentage word") << "txtP_KA"
                                         << "ten";
        QTest::newRow("percentage comma") << "txtSP"
                                          << "1,5";
        QTest::newRow("percentage empty") << "txtp_VI"
                                          << "";
        QTest::newRow("bound above a byte") << "txtActMax"
                                            << "256";
        QTest::newRow("bound below zero") << "txtActMin"
                                          << "-3";
        QTest::newRow("bound empty") << "txtPotMin"
                                     << " ";
        QTest::newRow("bound word") << "txtPotMax"
                                    << "max";
    }

    void aBoxWithoutAValidNumberStopsTheRun() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        DemoWorkingDatabase league(kSmallLeague);
        const std::vector<RatingRow> before = ReadRatingRows(league.db());
        auto* dialog = new frmGlobal(league.db(), prompts_);
        QSignalSpy starting(dialog, &frmGlobal::GlobalEditStarting);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        dialog->chkPosition(0)->setChecked(true);
        Child<QLineEdit>(dialog, "txtSP")->setText("10");
        // A later box is also bad: the first one in the order on screen is named.
        Child<QLineEdit>(dialog, "txtP_KD")->setText("bad");
        Child<QLineEdit>(dialog, qPrintable(box))->setText(text);
        Child<QPushButton>(dialog, "cmdOK")->setFocus();
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        QCOMPARE(log_->messages, QStringList{"Please Enter a Valid Number"});
        QCOMPARE(dialog->focusWidget(), Child<QLineEdit>(dialog, qPrintable(box)));
        QVERIFY(ReadRatingRows(league.db()) == before);
        QCOMPARE(starting.count(), 0);
        QVERIFY(dialog->isEnabled());
        delete dialog;
    }

    void cancelHidesAndKeepsEverything() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        Child<QComboBox>(dialog, "cboTeam")->setCurrentIndex(1);
        const QString team = Child<QComboBox>(dialog, "cboTeam")->currentText();
        const int teamId = dialog->SelectedTeam();
        dialog->chkPosition(3)->setChecked(true);
        Child<QLineEdit>(dialog, "txtTK")->setText("7");
        Child<QLineEdit>(dialog, "txtP_PR")->setText("-4");
        Child<QLineEdit>(dialog, "txtPotMax")->setText("80");
        QTest::keyClick(dialog, Qt::Key_Escape); // no button answers to Esc
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());

        dialog->show();
        QCOMPARE(Child<QComboBox>(dialog, "cboTeam")->currentText(), team);
        QCOMPARE(dialog->SelectedTeam(), teamId);
        QVERIFY(dialog->chkPosition(3)->isChecked());
        QCOMPARE(Child<QLineEdit>(dialog, "txtTK")->text(), QStringLiteral("7"));
        QCOMPARE(Child<QLineEdit>(dialog, "txtP_PR")->text(), QStringLiteral("-4"));
        QCOMPARE(Child<QLineEdit>(dialog, "txtPotMax")->text(), QStringLiteral("80"));
        delete dialog;
    }

    void closingThroughTheFrameUnloadsTheDialog() {
        DemoWorkingDatabase league(kSmallLeague);
        QPointer<frmGlobal> dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }

    void aNewLeagueRefillsTheTeamList() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        auto* combo = Child<QComboBox>(dialog, "cboTeam");
        dialog->show();
        const QStringList first = ComboItems(combo);
        QCOMPARE(first.size(), 3 + 2);
        combo->setCurrentIndex(2);
        Child<QLineEdit>(dialog, "txtSP")->setText("5");
        dialog->hide();

        // The working database is rebuilt for another league with other teams.
        auto replaceWith = [&league](const DemoWorkingDatabase& other) {
            std::filesystem::remove(league.db());
            std::filesystem::copy_file(other.db(), league.db());
        };
        const DemoWorkingDatabase other({.teams = 5, .players = 100, .seed = 8});
        replaceWith(other);
        dialog->LeagueOpened();
        QCOMPARE(ComboItems(combo), first); // still hidden: filled at the next showing
        dialog->show();
        QCOMPARE(combo->count(), 5 + 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("All"));
        QCOMPARE(combo->itemText(6), QStringLiteral("Free Agents"));
        QCOMPARE(dialog->SelectedTeam(), 1001);
        QCOMPARE(Child<QLineEdit>(dialog, "txtSP")->text(), QStringLiteral("5"));

        // Opened while the dialog is showing: refilled at once.
        const DemoWorkingDatabase third({.teams = 1, .players = 40, .seed = 9});
        replaceWith(third);
        dialog->LeagueOpened();
        QCOMPARE(combo->count(), 1 + 2);
        delete dialog;
    }

    // QB and S, actual speed +10 % in all teams, while the user keeps clicking and typing.
    void okScalesTheTickedPositionsAndIgnoresInputDuringTheRun() {
        DemoWorkingDatabase league;
        const std::vector<RatingRow> before = ReadRatingRows(league.db());
        MeddlingProgress progress;
        auto* dialog = new frmGlobal(league.db(), prompts_, &progress);
        progress.dialog = dialog;
        QSignalSpy starting(dialog, &frmGlobal::GlobalEditStarting);
        QSignalSpy applied(dialog, &frmGlobal::GlobalEditApplied);
        dialog->show();
        dialog->chkPosition(14)->setChecked(true); // S
        dialog->chkPosition(0)->setChecked(true);  // QB
        Child<QLineEdit>(dialog, "txtSP")->setText("10");
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        QCOMPARE(progress.captions, (QStringList{"Updating QB", "Updating S"}));
        QVERIFY(!progress.enabledDuringRun);
        QVERIFY(dialog->isEnabled());
        // The text typed during the run did not reach it: both positions took 10 %.
        Edit edit;
        edit.positionCodes = {0, 13};
        edit.actual[*RatingIndex("SP")] = 10;
        const std::vector<RatingRow> after = ReadRatingRows(league.db());
        QVERIFY(after == Expected(before, edit));
        QVERIFY(after != before);
        QVERIFY(log_->messages.isEmpty());
        QCOMPARE(starting.count(), 1);
        QCOMPARE(applied.count(), 1);
        QVERIFY(dialog->isVisible()); // the dialog stays for another run
        delete dialog;
    }

    void aFailedRunIsReportedAndTheDialogGoesOn() {
        QTemporaryDir dir;
        const std::filesystem::path missing =
            std::filesystem::path(dir.path().toStdString()) / "gone" / "Tavrel.tmp";
        auto* dialog = new frmGlobal(missing, prompts_);
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY2(log_->messages[0].contains("teams of") &&
                     log_->messages[0].contains(QString::fromStdString(missing.string())),
                 qPrintable(log_->messages[0]));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Tavrel - Global Edit"));
        QCOMPARE(ComboItems(Child<QComboBox>(dialog, "cboTeam")),
                 (QStringList{"All=1001", "Free Agents=0"}));

        QSignalSpy applied(dialog, &frmGlobal::GlobalEditApplied);
        dialog->show();
        dialog->chkPosition(0)->setChecked(true);
        Child<QLineEdit>(dialog, "txtSP")->setText("10");
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QCOMPARE(log_->messages.size(), 2);
        QVERIFY2(log_->messages[1].contains("QB") &&
                     log_->messages[1].contains(QString::fromStdString(missing.string())),
                 qPrintable(log_->messages[1]));
        QCOMPARE(applied.count(), 0);
        QVERIFY(dialog->isEnabled() && !dialog->IsRunning());
        delete dialog;
    }

    void helpOpensTheGlobalEditPage() {
        DemoWorkingDatabase league(kSmallLeague);
        auto* dialog = new frmGlobal(league.db(), prompts_);
        dialog->show();
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdHelp"), Qt::LeftButton);
        HelpViewer* viewer = OpenHelpViewer();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->CurrentSource().fileName(), QStringLiteral("globaledit.html"));
        QVERIFY(viewer->CurrentText().contains("Global Edit"));
        delete dialog;
    }
};

QTEST_MAIN(GlobalDialogTest)
#include "GlobalDialogTest.moc"
