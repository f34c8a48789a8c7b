// The table model over the working database, and the list adapters the list filler writes into.
#include "ui/main/PlayersModel.h"

#include "GuiTestSupport.h"
#include "league/League.h"
#include "league/LeaguePaths.h"
#include "store/PlayerRowStore.h"
#include "ui/main/ListTargets.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

using namespace guitest;

namespace {

int Col(const char* name) {
    return *tavrel::PlayersColumnIndex(name);
}

// The stored value of one column of one row, bytes and all.
std::string Stored(const std::filesystem::path& db, int row, const char* column) {
    SQLite::Database d(db.string(), SQLite::OPEN_READONLY);
    SQLite::Statement q(d, std::string("SELECT ") + column +
                               " FROM Players ORDER BY rowid LIMIT 1 OFFSET ?");
    q.bind(1, row);
    if (!q.executeStep())
        return "<no row>";
    return q.getColumn(0).isNull() ? "<null>" : q.getColumn(0).getString();
}

} // namespace

class PlayersModelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path db_;
    std::unique_ptr<PlayersModel> model_;

    // The first row whose text column is padded with NULs.
    int RowPaddedWithNuls(const char* column) {
        for (int row = 0; row < model_->rowCount(); ++row) {
            const std::string value = Stored(db_, row, column);
            if (!value.empty() && value.back() == '\0')
                return row;
        }
        return -1;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        tavrel::DemoLeagueOptions options;
        options.teams = 4;
        options.players = 60;
        const auto demo = tavrel::WriteDemoLeague(PathOf(*dir_, "league"), options);
        db_ = PathOf(*dir_, "Tavrel.tmp");
        tavrel::LoadLeague(demo.playerFile, demo.leagueFile, db_);
        model_ = std::make_unique<PlayersModel>();
        model_->Attach(std::make_unique<tavrel::PlayerRowStore>(db_));
    }

    void cleanup() {
        model_.reset();
        dir_.reset();
    }

    void behavesAsAQtModelThroughEditsAndReloads() {
        QAbstractItemModelTester tester(model_.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model_->rowCount(), 60);
        QCOMPARE(model_->columnCount(), tavrel::kPlayersColumnCount);
        QCOMPARE(model_->headerData(Col("Act_SP"), Qt::Horizontal).toString(),
                 QStringLiteral("Act_SP"));
        QVERIFY(model_->setData(model_->index(5, Col("Act_SP")), 42));
        model_->Reload();
        QCOMPARE(model_->data(model_->index(5, Col("Act_SP"))).toInt(), 42);
        model_->Detach();
        QCOMPARE(model_->rowCount(), 0);
        model_->Attach(std::make_unique<tavrel::PlayerRowStore>(db_));
        QCOMPARE(model_->rowCount(), 60);
    }

    void showsNamesWithoutPaddingAndNeverRewritesWhatItShows() {
        const int row = RowPaddedWithNuls("FirstName");
        QVERIFY2(row >= 0, "the demo league pads some names with NULs");
        const std::string before = Stored(db_, row, "FirstName");
        const QModelIndex first = model_->index(row, Col("FirstName"));
        const QString shown = model_->data(first, Qt::EditRole).toString();
        QVERIFY(!shown.contains(QChar(0)) && !shown.endsWith(' '));
        QCOMPARE(shown.toStdString() + std::string(before.size() - shown.toUtf8().size(), '\0'),
                 before);

        QSignalSpy modified(model_.get(), &PlayersModel::modified);
        QSignalSpy changed(model_.get(), &QAbstractItemModel::dataChanged);
        const QModelIndex speed = model_->index(row, Col("Act_SP"));
        QVERIFY(model_->setData(first, shown));
        QVERIFY(model_->setData(speed, model_->data(speed).toString()));
        QVERIFY(model_->setData(speed, "0" + model_->data(speed).toString())); // same number
        QVERIFY(model_->setData(model_->index(row, Col("Weight")),
                                model_->data(model_->index(row, Col("Weight")))));
        QCOMPARE(modified.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(Stored(db_, row, "FirstName"), before);
    }

    void writesOnlyWholeRatingsAndNamesThatFit() {
        const QModelIndex speed = model_->index(3, Col("Pot_SP"));
        const QModelIndex last = model_->index(3, Col("LastName"));
        const std::string speedBefore = Stored(db_, 3, "Pot_SP");
        const std::string lastBefore = Stored(db_, 3, "LastName");
        for (const QVariant& bad :
             {QVariant("256"), QVariant("-1"), QVariant("12x"), QVariant(""), QVariant("1.5")})
            QVERIFY2(!model_->setData(speed, bad), qPrintable(bad.toString()));
        QVERIFY(!model_->setData(last, QString(26, 'a')));
        QVERIFY(!model_->setData(last, QStringLiteral("名前")));
        QVERIFY(!model_->setData(model_->index(3, Col("Weight")), 99));
        QVERIFY(!(model_->flags(model_->index(3, Col("Weight"))) & Qt::ItemIsEditable));
        QVERIFY(model_->flags(speed) & Qt::ItemIsEditable);
        QCOMPARE(Stored(db_, 3, "Pot_SP"), speedBefore);
        QCOMPARE(Stored(db_, 3, "LastName"), lastBefore);

        QSignalSpy modified(model_.get(), &PlayersModel::modified);
        QSignalSpy changed(model_.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(model_->setData(speed, "255"));
        QVERIFY(model_->setData(last, QString(25, QChar(0xE9)))); // é fits Windows-1252
        QCOMPARE(modified.count(), 2);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed[0][0].value<QModelIndex>(), speed);
        QCOMPARE(Stored(db_, 3, "Pot_SP"), std::string("255"));
        QCOMPARE(QString::fromStdString(Stored(db_, 3, "LastName")), QString(25, QChar(0xE9)));
        QCOMPARE(model_->data(speed).toInt(), 255);
    }

    void findsRowsByPidAndReportsAFailedWrite() {
        SQLite::Database d(db_.string(), SQLite::OPEN_READWRITE);
        SQLite::Statement q(d, "SELECT PID FROM Players ORDER BY rowid LIMIT 1 OFFSET 17");
        QVERIFY(q.executeStep());
        QCOMPARE(model_->RowOfPid(q.getColumn(0).getInt()), std::optional<int>(17));
        QCOMPARE(model_->RowOfPid(-31000), std::nullopt);

        QSignalSpy failed(model_.get(), &PlayersModel::writeFailed);
        QSignalSpy modified(model_.get(), &PlayersModel::modified);
        d.exec("CREATE TRIGGER refuse BEFORE UPDATE ON Players "
               "BEGIN SELECT RAISE(ABORT, 'refused by a trigger'); END");
        QVERIFY(!model_->setData(model_->index(0, Col("Act_TK")), "1"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed[0][0].toString().contains("Tavrel.tmp"));
        QVERIFY(failed[0][0].toString().contains("refused by a trigger"));

        d.exec("ALTER TABLE Players RENAME TO Gone");
        QVERIFY(!model_->setData(model_->index(1, Col("Act_TK")), "1"));
        QVERIFY(!model_->setData(model_->index(1, Col("Act_SP")), "1"));
        QCOMPARE(failed.count(), 2); // once for the unreadable row, not once per field
        QCOMPARE(modified.count(), 0);
    }

    void listAdaptersTakeEntriesDataAndText() {
        QListWidget list;
        ListWidgetTarget listTarget(&list);
        QComboBox combo;
        ComboBoxTarget comboTarget(&combo);
        for (tavrel::ListTarget* target : {static_cast<tavrel::ListTarget*>(&listTarget),
                                           static_cast<tavrel::ListTarget*>(&comboTarget)}) {
            QCOMPARE(target->NewIndex(), -1);
            target->SetListEntry(0, "Smith, John - QB");
            target->SetItemData(target->NewIndex(), -12);
            target->SetListEntry(1, "Émile, Zoë - K");
            target->SetItemData(target->NewIndex(), 300);
            target->SetListEntry(0, "Smith, Jon - QB"); // replaces, adds nothing
            QCOMPARE(target->NewIndex(), 1);
            target->SetText("Émile, Zoë - K");
            QCOMPARE(target->Text(), std::string("Émile, Zoë - K"));
        }
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.item(0)->text(), QStringLiteral("Smith, Jon - QB"));
        QCOMPARE(list.item(0)->data(Qt::UserRole).toInt(), -12);
        QCOMPARE(list.item(1)->data(Qt::UserRole).toInt(), 300);
        QCOMPARE(list.currentRow(), 1);
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemData(1).toInt(), 300);
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(comboTarget.Style(), tavrel::kDropDownListStyle);
        combo.setEditable(true);
        QCOMPARE(comboTarget.Style(), 0);
        comboTarget.SetText("typed");
        QCOMPARE(combo.currentText(), QStringLiteral("typed"));
        listTarget.Clear();
        comboTarget.Clear();
        QCOMPARE(list.count() + combo.count(), 0);
        QCOMPARE(listTarget.NewIndex(), -1);
    }
};

TAVREL_GUI_TEST_MAIN(PlayersModelTest)
#include "PlayersModelTest.moc"
