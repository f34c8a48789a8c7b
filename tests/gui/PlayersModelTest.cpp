// The table model over the working database.
#include "ui/main/PlayersModel.h"

#include "GuiTestSupport.h"
#include "TestPlayers.h"
#include "league/League.h"
#include "store/PlayerRowStore.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace guitest;

using tavrel::testing::Col;

class PlayersModelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path db_;
    std::unique_ptr<PlayersModel> model_;

    QVariant Stored(const char* column) const { // of the fourth row
        return guitest::Stored(db_, column, "ORDER BY rowid LIMIT 1 OFFSET 3");
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        const auto demo =
            tavrel::WriteDemoLeague(PathOf(*dir_, "league"), {.teams = 4, .players = 60});
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
        QVERIFY(model_->setData(model_->index(5, Col("Act_SP")), 42));
        model_->Reload();
        QCOMPARE(model_->data(model_->index(5, Col("Act_SP"))).toInt(), 42);
        model_->Detach();
        QCOMPARE(model_->rowCount(), 0);
        model_->Attach(std::make_unique<tavrel::PlayerRowStore>(db_));
        QCOMPARE(model_->rowCount(), 60);
    }

    void writesOnlyWholeRatingsAndNamesThatFit() {
        const QModelIndex speed = model_->index(3, Col("Pot_SP"));
        const QModelIndex last = model_->index(3, Col("LastName"));
        const QVariant speedBefore = Stored("Pot_SP");
        const QVariant lastBefore = Stored("LastName");
        for (const QVariant& bad :
             {QVariant("256"), QVariant("-1"), QVariant("12x"), QVariant(""), QVariant("1.5")})
            QVERIFY2(!model_->setData(speed, bad), qPrintable(bad.toString()));
        QVERIFY(!model_->setData(last, QString(26, 'a')));
        QVERIFY(!model_->setData(last, QStringLiteral("名前")));
        QVERIFY(!model_->setData(model_->index(3, Col("Weight")), 99));
        QVERIFY(!(model_->flags(model_->index(3, Col("Weight"))) & Qt::ItemIsEditable));
        QVERIFY(model_->flags(speed) & Qt::ItemIsEditable);
        QCOMPARE(Stored("Pot_SP"), speedBefore);
        QCOMPARE(Stored("LastName"), lastBefore);

        QSignalSpy modified(model_.get(), &PlayersModel::modified);
        QSignalSpy changed(model_.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(model_->setData(speed, "255"));
        QVERIFY(model_->setData(last, QString(25, QChar(0xE9)))); // é fits Windows-1252
        QCOMPARE(modified.count(), 2);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed[0][0].value<QModelIndex>(), speed);
        QCOMPARE(Stored("Pot_SP"), QVariant(255));
        QCOMPARE(Stored("LastName"), QVariant(QString(25, QChar(0xE9))));
        QCOMPARE(model_->data(speed).toInt(), 255);
    }

    void findsRowsByPidAndReportsAFailedWrite() {
        SQLite::Database d(db_.string(), SQLite::OPEN_READWRITE);
        const int pid = guitest::Stored(db_, "PID", "ORDER BY rowid LIMIT 1 OFFSET 17").toInt();
        QCOMPARE(model_->RowOfPid(pid), std::optional<int>(17));
        QCOMPARE(model_->RowOfPid(-31000), std::nullopt);
        d.exec("UPDATE Players SET PID = " + std::to_string(pid) +
               " WHERE rowid IN (SELECT rowid FROM Players ORDER BY rowid LIMIT 2 OFFSET 40)");
        model_->Reload();
        QCOMPARE(model_->RowOfPid(pid), std::optional<int>(17)); // the first in table order

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
};

TAVREL_GUI_TEST(PlayersModelTest)
#include "PlayersModelTest.moc"
