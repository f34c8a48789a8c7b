#pragma once

#include "store/PlayersTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {

// Moving whole Players rows between SQLite statements and PlayerRow values. Text goes in and out
// with its full length, so NULs inside a name survive.

// Binds the 90 values to parameters firstParameter .. firstParameter + 89 (1-based).
void BindPlayerRow(SQLite::Statement& statement, const PlayerRow& row, int firstParameter = 1);

// Reads result columns firstColumn .. firstColumn + 89 (0-based) in Players order.
void ReadPlayerRow(const SQLite::Statement& statement, PlayerRow& row, int firstColumn = 0);

// Binds or reads one value.
void BindValue(SQLite::Statement& statement, int parameter, const Value& value);
Value ReadValue(const SQLite::Statement& statement, int column);

// The bulk forms, for passes over every row (import, save). They talk to SQLite directly: where
// every column of every row is moved, the statement wrapper's bookkeeping for each column costs
// more than SQLite's own work. Both throw SQLite::Exception.

// Steps through the rows of a query and reads whole Players rows from them.
class PlayerRowCursor {
public:
    PlayerRowCursor(SQLite::Database& db, const std::string& query);
    ~PlayerRowCursor();
    PlayerRowCursor(const PlayerRowCursor&) = delete;
    PlayerRowCursor& operator=(const PlayerRowCursor&) = delete;

    // Binds a whole number to parameter ?n of the query, before the first Next.
    void Bind(int parameter, std::int64_t value);
    bool Next(); // moves to the next row; false after the last
    std::int64_t Integer(int column) const;
    bool IsNull(int column) const;
    bool IsInteger(int column) const;
    // The value as text, every byte as stored (NULs included); a number in SQLite's decimal form.
    // Valid until the next call on this cursor.
    std::string_view Text(int column) const;
    // Reads one result column, reusing the room a text in `into` already has.
    void ReadValue(int column, Value& into) const;
    // Reads result columns firstColumn .. firstColumn + 89 (0-based) in Players order, reusing the
    // room the texts of `row` already have.
    void Read(PlayerRow& row, int firstColumn = 0) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// Appends whole rows to a table of the Players columns with one prepared INSERT, reused.
class PlayerRowInserter {
public:
    explicit PlayerRowInserter(SQLite::Database& db, const std::string& table = "Players");
    ~PlayerRowInserter();
    PlayerRowInserter(const PlayerRowInserter&) = delete;
    PlayerRowInserter& operator=(const PlayerRowInserter&) = delete;

    void Insert(const PlayerRow& row);

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// "Team, PID, JNum, ..." : the 90 column names in order, for SELECT and INSERT texts.
const std::string& PlayersColumnList();

} // namespace tavrel
