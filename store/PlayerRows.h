#pragma once

#include "store/PlayersTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {

// Moving whole Players rows between SQLite statements and PlayerRow values. Text goes in and out
// with its full length, so NULs inside a name survive.

// Binds the 90 values to parameters firstParameter .. firstParameter + 89 (1-based).
void BindPlayerRow(SQLite::Statement& statement, const PlayerRow& row, int firstParameter = 1);

// The same, but SQLite reads the text where it lies in `row` instead of copying it: `row` must stay
// unchanged until the statement has run. For bulk inserts, where copying every text shows.
void BindPlayerRowInPlace(SQLite::Statement& statement, const PlayerRow& row,
                          int firstParameter = 1);

// Reads result columns firstColumn .. firstColumn + 89 (0-based) in Players order.
void ReadPlayerRow(const SQLite::Statement& statement, PlayerRow& row, int firstColumn = 0);

// Binds or reads one value.
void BindValue(SQLite::Statement& statement, int parameter, const Value& value);
Value ReadValue(const SQLite::Statement& statement, int column);
// Reads into `into`, reusing the room a text already there has.
void ReadValue(const SQLite::Statement& statement, int column, Value& into);

// Steps through the rows of a query and reads whole Players rows from them. It talks to SQLite
// directly: where every column of every row is read, the statement wrapper's bookkeeping for
// each column costs more than SQLite's own work. Throws SQLite::Exception.
class PlayerRowCursor {
public:
    PlayerRowCursor(SQLite::Database& db, const std::string& query);
    ~PlayerRowCursor();
    PlayerRowCursor(const PlayerRowCursor&) = delete;
    PlayerRowCursor& operator=(const PlayerRowCursor&) = delete;

    bool Next(); // moves to the next row; false after the last
    std::int64_t Integer(int column) const;
    // Reads result columns firstColumn .. firstColumn + 89 (0-based) in Players order, reusing the
    // room the texts of `row` already have.
    void Read(PlayerRow& row, int firstColumn = 0) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// "Team, PID, JNum, ..." : the 90 column names in order, for SELECT and INSERT texts.
const std::string& PlayersColumnList();

} // namespace tavrel
