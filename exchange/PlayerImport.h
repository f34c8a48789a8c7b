#pragma once

#include "exchange/PlayerList.h"
#include "exchange/SheetReader.h"
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

// A cell the import will not take: its row as a spreadsheet numbers it (the header is row 1), its
// column by number (A is 1; 0 when the refusal concerns no one cell) and by the header's name,
// the cell's text (an excerpt of a long one), why, and the player the row's key found, when it
// found one ("record 5" or "PID 564").
struct ImportRefusal {
    int row = 0;
    int columnNumber = 0;
    std::string column;
    std::string value;
    std::string reason;
    std::string player;
};

// A plan keeps the first refusals to show them; the rest are only counted.
inline constexpr std::size_t kShownRefusals = 50;

// What a sheet would change, or why it changes nothing: either refusals (and no change at all)
// or the changes in sheet order, row by row.
struct ImportPlan {
    std::vector<PlayerCellChange> changes;
    std::vector<ImportRefusal> refusals; // the first kShownRefusals
    std::size_t refusalCount = 0;        // all of them
    std::size_t playersChanged = 0;
};

// Checks every cell of a sheet in the layout export writes (any column order, any subset of the
// columns) against `players`, and works out the changes, reading the sheet one row at a time.
// The key is the Record column when the sheet has one, else PID; a PID more than one record holds
// is refused. A blank cell (nothing, or only spaces and NULs) leaves its value alone, and so does
// text equal to the stored text without its padding, so a sheet exported and read back unchanged
// changes nothing. Refused: unknown or repeated column names, more named columns than the sheet
// has, a key that finds no player or a player a row before already changed, numbers that are not
// whole or do not fit their field, text the Windows-1252 code page cannot hold or longer than its
// field, a value in a column the player file does not keep, a derived value (PID, Weight,
// PositionTXT) that disagrees with the bytes it is worked out from, identifier bytes 0 and 0
// (the player file drops such a record: an import never deletes a player), and every flaw of the
// file itself (a quote never closed, malformed UTF-8, an oversized cell). Derived columns follow
// the bytes they come from. Throws LeagueError only when the sheet cannot be read.
ImportPlan PlanImport(SheetReader& sheet, const PlayerList& players);
// The same for a CSV text in memory.
ImportPlan PlanImport(std::string_view csv, const PlayerList& players);
// The same for a sheet file: .xlsx as a workbook, anything else as CSV. Throws LeagueError naming
// the file when it cannot be read or is a damaged workbook.
ImportPlan PlanSheetImport(const std::filesystem::path& sheet, const PlayerList& players);

// The changes as the working database writes them and the undo history keeps them
// (WriteCellChanges).
CellChanges ToCellChanges(std::span<const PlayerCellChange> changes);

// "row 3 (record 2), column 4 (D) LastName "Sm|th": holds a character ..." for the command line
// and the window.
std::string DescribeRefusal(const ImportRefusal& refusal);
// Every refusal the plan keeps, one line each, then "... and N more." for those it only counted.
std::vector<std::string> DescribeRefusals(const ImportPlan& plan);

} // namespace tavrel
