#pragma once

#include <SQLiteCpp/Statement.h>

#include "store/PlayersTable.h"

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

// "Team, PID, JNum, ..." : the 90 column names in order, for SELECT and INSERT texts.
const std::string& PlayersColumnList();

} // namespace tavrel
