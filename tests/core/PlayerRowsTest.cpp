#include "store/PlayerRows.h"

#include "TestPlayers.h"
#include "store/WorkingTables.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::Col;

// Rows that differ in every way a reader reusing one PlayerRow could get wrong, read back whole.
class PlayerRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.exec(PlayersTableSql("Players"));
        PlayerRow full;
        for (int i = 0; i < kPlayersColumnCount; ++i)
            full[i] = kPlayersColumns[i].type == ColumnType::Text ? Value(std::to_string(i) + "x")
                                                                  : Value(std::int64_t(i - 45));
        full[Col("FirstName")] = std::string("Al\0\0\0 ", 6);
        PlayerRow other = full;
        other[Col("FirstName")] = std::monostate{};
        other[Col("Head")] = std::string("\xC3\xA9");
        {
            PlayerRowInserter players(db_);
            players.Insert(full);
            players.Insert(other);
        }
        // What edits may leave: long text then short text with NULs inside, text then null,
        // numbers typed as fractions or text.
        db_.exec("INSERT INTO Players (LastName, College, Act_SP, Pot_SP) VALUES "
                 "('Abcdefghijklmnopqrstuvwxy', 'State', 200.0, 7), "
                 "(CAST(X'4C69000065' AS TEXT), NULL, 1.5, '\xC3\xA9')");
        PlayerRow edited, fractions;
        edited[Col("LastName")] = std::string("Abcdefghijklmnopqrstuvwxy");
        edited[Col("College")] = std::string("State");
        edited[Col("Act_SP")] = std::int64_t{200};
        edited[Col("Pot_SP")] = std::int64_t{7};
        fractions[Col("LastName")] = std::string("Li\0\0e", 5);
        fractions[Col("Act_SP")] = std::string("1.5");
        fractions[Col("Pot_SP")] = std::string("\xC3\xA9");
        expected_ = {full, other, edited, fractions};
    }
    SQLite::Database db_{":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE};
    const std::string query_ = "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid";
    std::vector<PlayerRow> expected_;
};

TEST_F(PlayerRowsTest, InsertedRowsComeBackWholeThroughTheStatementReaderAndTheCursor) {
    PlayerRow row;
    std::vector<PlayerRow> read;
    SQLite::Statement select(db_, query_);
    while (select.executeStep()) {
        ReadPlayerRow(select, row);
        read.push_back(row);
    }
    EXPECT_EQ(read, expected_);

    read.clear();
    PlayerRowCursor cursor(db_, query_);
    while (cursor.Next()) {
        cursor.Read(row);
        read.push_back(row);
    }
    EXPECT_EQ(read, expected_);
    EXPECT_THROW(PlayerRowCursor(db_, "SELECT nothing FROM Nowhere"), SQLite::Exception);
    EXPECT_THROW(PlayerRowInserter(db_, "Team"), SQLite::Exception);
}

} // namespace
} // namespace tavrel
