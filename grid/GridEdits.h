#pragma once

#include "grid/GridTable.h"
#include "store/PlayersTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::grid {

// What the user typed or pasted into one cell of the grid.
struct CellInput {
    int row;          // table row
    int column;       // grid column
    std::string text; // UTF-8
};

struct PlannedEdit {
    std::int64_t rowId;
    int playersColumn;
    Value after;
};

struct EditRefusal {
    int row;
    int column;
    std::string reason;
};

// The edits a set of typed cells makes, checked cell by cell with the form's rules: a name within
// its width and the code page, a rating 0..255, the team by one of the league's team names or
// "Free Agents". A cell that shows the typed value already is no edit. The caller applies the
// edits only when there are no refusals, so a block is never half-applied.
struct EditPlan {
    std::vector<PlannedEdit> edits;
    std::vector<EditRefusal> refusals;
};
EditPlan PlanEdits(const GridTable& table, const std::vector<CellInput>& cells);

// "Row 3, SP: Actual Speed must be ..." for the first `shown` refusals, and how many more.
std::string DescribeRefusals(const std::vector<EditRefusal>& refusals, std::size_t shown = 3);

// Tab-separated text with a header row, as spreadsheets paste it, of the columns in the order
// given; and the cells of such a text
// (a trailing line break is not a row; "\r\n" and "\n" both end a line).
std::string CopyText(const GridTable& table, const std::vector<int>& rows,
                     const std::vector<int>& columns);
std::vector<std::vector<std::string>> SplitPastedText(std::string_view text);

// The cells a pasted text fills: its block with its top left cell at view row `top` of the rows
// shown (`shownRows`: table rows in view order) and at position `left` of the columns shown
// (`shownColumns`: grid columns in view order, hidden ones left out), so a block copied from the
// grid lands on the columns it came from however they are arranged. A first line that repeats the
// captions of the columns it covers is left out. Nothing when the block reaches past the last row
// or the last column shown (then nothing at all is pasted); none for an empty text.
std::optional<std::vector<CellInput>> PlanPaste(std::string_view text,
                                                const std::vector<int>& shownRows, int top,
                                                const std::vector<int>& shownColumns, int left);

} // namespace tavrel::grid
