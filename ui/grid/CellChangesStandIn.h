#pragma once

// Stand-in for store/CellChanges.h until the window's undo history arrives: the same types and
// the two functions the grid uses, with the same meaning. Removed when the history is merged.

#include "store/PlayersTable.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tavrel {

struct CellChange {
    std::int64_t rowId;
    int column;
    Value before;
    Value after;
};
using CellChanges = std::vector<CellChange>;

struct ColumnSnapshot {
    std::vector<std::int64_t> rowIds;
    std::vector<int> columns;
    std::vector<Value> values; // row by row
};

ColumnSnapshot TakeColumnSnapshot(const std::filesystem::path& workingDb,
                                  std::vector<std::int64_t> rowIds, std::vector<int> columns);
// Writes the `after` values as one transaction.
void WriteCellChangesAfter(const std::filesystem::path& workingDb, const CellChanges& changes);

} // namespace tavrel
