#pragma once

#include "exchange/PlayerList.h"
#include "store/CellChanges.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// One cell of the working table that an import changes: the player's row (its rowid and its
// 1-based place in the player file), the Players column, the value before and after: a CellChange
// that also knows the player's place, for the lists that show him.
struct PlayerCellChange {
    std::int64_t rowId = 0;
    std::size_t record = 0;
    int column = 0;
    Value before;
    Value after;
};

// A cell the import will not take: its row of the CSV file (the header is row 1), the column
// name, the cell's text and why.
struct ImportRefusal {
    int row = 0;
    std::string column;
    std::string value;
    std::string reason;
};

// What a CSV file would change, or why it changes nothing: either refusals (and no change at all)
// or the changes in file order, row by row.
struct ImportPlan {
    std::vector<PlayerCellChange> changes;
    std::vector<ImportRefusal> refusals;
    std::size_t playersChanged = 0;
};

// Checks every cell of a CSV in the layout export writes (any column order, any subset of the
// columns) against `players`, and works out the changes. The key is the Record column when the
// file has one, else PID; a PID more than one record holds is refused. An empty cell leaves its
// value alone, and so does text equal to the stored text without its padding, so a sheet
// exported and read back unchanged changes nothing. Refused: unknown or repeated column names, a
// key that finds no player or a player a row before already changed, numbers that are not whole
// or do not fit their field, text the Windows-1252 code page cannot hold or longer than its
// field, a value in a column the player file does not keep, and a derived value (PID, Weight,
// PositionTXT) that disagrees with the bytes it is worked out from. Derived columns follow the
// bytes they come from. Never throws for what the file holds.
ImportPlan PlanImport(std::string_view csv, const PlayerList& players);

// The changes as the working database writes them and the undo history keeps them
// (WriteCellChanges).
CellChanges ToCellChanges(std::span<const PlayerCellChange> changes);

// "row 3, LastName "Sm|th": holds a character ..." for the command line and the window.
std::string DescribeRefusal(const ImportRefusal& refusal);

} // namespace tavrel
