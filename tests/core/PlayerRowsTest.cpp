#include "store/PlayerRows.h"

#include "TestPlayers.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <functional>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::Col;

// Three rows that differ in every way a reader reusing one PlayerRow could get wrong: long text
// followed by short text with NULs inside, text followed by null, numbers typed as fractions.
class PlayerRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.exec(PlayersTableSql("Players"));
        SQLite::Statement insert(db_, "INSERT INTO Players (LastName, College, Act_SP, Pot_SP) "
                                      "VALUES (?, ?, ?, ?)");
        insert.bind(1, std::string("Abcdefghijklmnopqrstuvwxy"));
        insert.bind(2, std::string("State"));
        insert.bind(3, 200.0);
        insert.bind(4, 7);
        insert.exec();
        insert.reset();
        insert.bind(1, std::string("Li\0\0e", 5));
        insert.bind(2);
        insert.bind(3, 1.5);
        insert.bind(4, std::string("\xC3\xA9"));
        insert.exec();
    }
    void ExpectRows(const std::function<bool(PlayerRow&)>& next) {
        PlayerRow row;
        ASSERT_TRUE(next(row));
        EXPECT_EQ(std::get<std::string>(row[Col("LastName")]), "Abcdefghijklmnopqrstuvwxy");
        EXPECT_EQ(std::get<std::int64_t>(row[Col("Act_SP")]), 200);
        EXPECT_EQ(std::get<std::int64_t>(row[Col("Pot_SP")]), 7);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(row[Col("Team")]));
        ASSERT_TRUE(next(row));
        EXPECT_EQ(std::get<std::string>(row[Col("LastName")]), std::string("Li\0\0e", 5));
        EXPECT_TRUE(std::holds_alternative<std::monostate>(row[Col("College")]));
        EXPECT_EQ(std::get<std::string>(row[Col("Act_SP")]), "1.5");
        EXPECT_EQ(std::get<std::string>(row[Col("Pot_SP")]), "\xC3\xA9");
        EXPECT_FALSE(next(row));
    }
    SQLite::Database db_{":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE};
    const std::string query_ = "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid";
};

TEST_F(PlayerRowsTest, StatementReaderAndCursorReuseOneRow) {
    SQLite::Statement select(db_, query_);
    ExpectRows([&](PlayerRow& row) {
        if (!select.executeStep())
            return false;
        ReadPlayerRow(select, row);
        return true;
    });
    PlayerRowCursor cursor(db_, query_);
    ExpectRows([&](PlayerRow& row) {
        if (!cursor.Next())
            return false;
        cursor.Read(row);
        return true;
    });
    EXPECT_THROW(PlayerRowCursor(db_, "SELECT nothing FROM Nowhere"), SQLite::Exception);
}

TEST(PlayerRowInserter, RowsComeBackAsTheyWentIn) {
    SQLite::Database db(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(PlayersTableSql("Players"));
    PlayerRow first;
    for (int i = 0; i < kPlayersColumnCount; ++i)
        first[i] = kPlayersColumns[i].type == ColumnType::Text ? Value(std::to_string(i) + "x")
                                                               : Value(std::int64_t(i - 45));
    first[Col("FirstName")] = std::string("Al\0\0\0 ", 6);
    PlayerRow second = first;
    second[Col("FirstName")] = std::monostate{};
    second[Col("Head")] = std::string("\xC3\xA9");
    {
        PlayerRowInserter players(db);
        players.Insert(first);
        players.Insert(second);
    }
    PlayerRowCursor cursor(db, "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid");
    PlayerRow row;
    for (const PlayerRow* expected : {&first, &second}) {
        ASSERT_TRUE(cursor.Next());
        cursor.Read(row);
        EXPECT_EQ(row, *expected);
    }
    EXPECT_FALSE(cursor.Next());
    EXPECT_THROW(PlayerRowInserter(db, "Team"), SQLite::Exception);
}

} // namespace
} // namespace tavrel
