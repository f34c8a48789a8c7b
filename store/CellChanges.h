#pragma once

#include "store/PlayersTable.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace SQLite {
class Database;
}

namespace tavrel {

// One cell of Players as a change left it: its row, its column (a kPlayersColumns index) and the
// value before and after. A list of them is one step the user can undo and redo.
struct CellChange {
    std::int64_t rowId;
    int column;
    Value before;
    Value after;
};
using CellChanges = std::vector<CellChange>;

// Which values of a CellChanges list to write: `after` to do the change, `before` to undo it.
enum class CellSide { Before, After };

// Writes one side of `changes` into the Players table as one transaction: the cells of one row
// go in one UPDATE. When a cell is listed twice, the first `before` and the last `after` count,
// so undoing restores the state before the whole list. A row that is not there, a column outside
// the table or a failed write throws LeagueError naming the database; the table is then unchanged.
void WriteCellChanges(SQLite::Database& db, const CellChanges& changes, CellSide side);
void WriteCellChanges(const std::filesystem::path& workingDb, const CellChanges& changes,
                      CellSide side);

// The values of some columns of some rows, taken before a bulk pass and again after it, so that
// what the pass changed becomes a CellChanges list.
struct ColumnSnapshot {
    std::vector<std::int64_t> rowIds;
    std::vector<int> columns;  // kPlayersColumns indexes
    std::vector<Value> values; // row by row: rowIds.size() x columns.size()
};

// Reads `columns` of the rows `rowIds`. Throws LeagueError naming the database when a row is
// not there or the table cannot be read.
ColumnSnapshot TakeColumnSnapshot(SQLite::Database& db, std::vector<std::int64_t> rowIds,
                                  std::vector<int> columns);
ColumnSnapshot TakeColumnSnapshot(const std::filesystem::path& workingDb,
                                  std::vector<std::int64_t> rowIds, std::vector<int> columns);

// The cells whose value differs between two snapshots of the same rows and columns, row by row
// in the snapshots' order. Throws std::invalid_argument when the snapshots do not match.
CellChanges ChangedCells(const ColumnSnapshot& before, const ColumnSnapshot& after);

} // namespace tavrel
