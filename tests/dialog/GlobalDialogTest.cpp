#include "DemoWorkingDatabase.h"
#include "GuiTestSupport.h"
#include "league/Progress.h"
#include "shell/ContextIDs.h"
#include "store/WorkingTables.h"
#include "ui/global/frmGlobal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <cmath>
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

// A working database of three teams, in no order, one name padded with NULs and one with spaces.
class TeamsOnly {
public:
    TeamsOnly() {
        db_ = std::filesystem::path(dir_.path().toStdString()) / "Tavrel.tmp";
        PrepareWorkingDatabase(db_);
        CreatePlayersTable(db_, "Players");
        CreateTeamTable(db_, "Team");
        SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
        db.exec("INSERT INTO Team VALUES (2, 'Lions', 'A'), (9, 'Colts   ', 'B'), "
                "(3, CAST(X'626561727300' AS TEXT), 'C')");
    }
    const std::filesystem::path& db() const { return db_; }

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
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

    void teamsAreListedAfterAllInNameOrderWithTheFreeAgentsLast() {
        TeamsOnly league;
        auto* dialog = new frmGlobal(league.db(), prompts_);
        QCOMPARE(ComboItems(Child<QComboBox>(dialog, "cboTeam")),
                 (QStringList{"All=1001", "bears=3", "Colts=9", "Lions=2", "Free Agents=0"}));
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
};

QTEST_MAIN(GlobalDialogTest)
#include "GlobalDialogTest.moc"
