#pragma once

#include "grid/GridTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavrel::grid {

// What one filter box of the grid asks of its column. Alternatives are split by '|' and any of
// them may match:
// - number columns: ">50", ">=50", "<30", "<=30", "=50" or "50", "!=0", "50-60" (both ends
//   included);
// - text columns: "smi" (contains, ignoring case), "=Smith" or "=\"Smith\"" (exactly this text),
//   "!=Smith" (anything else); quotes keep a '|' inside the text. In the Position column a plain
//   term is the whole code ("T" is the tackles, not the tight ends), still ignoring case.
struct NumberTest {
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Between };
    Op op;
    std::int64_t low;
    std::int64_t high; // Between only
};

struct TextTest {
    enum class Mode { Contains, Equal, NotEqual, EqualIgnoringCase };
    Mode mode;
    std::string text; // Windows-1252; case-folded for the modes that ignore case
};

struct ColumnFilter {
    int column = 0;
    std::vector<NumberTest> numbers;
    std::vector<TextTest> texts;
};

struct FilterError {
    std::string reason; // UTF-8, for the box's tool tip
};

// An empty or blank text gives a filter with no tests, which matches every row.
std::variant<ColumnFilter, FilterError> ParseColumnFilter(int column, std::string_view utf8);

bool Matches(const GridTable& table, int row, const ColumnFilter& filter);

// The rows, in table order, that every filter matches.
std::vector<int> FilterRows(const GridTable& table, const std::vector<ColumnFilter>& filters);

// The Windows-1252 text with its letters in lower case (accented letters included).
std::string FoldCase(std::string_view windows1252);

} // namespace tavrel::grid
