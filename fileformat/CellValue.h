#pragma once

#include "store/PlayersTable.h"

#include <string>
#include <string_view>
#include <variant>

namespace tavrel {

// What a user may type into a Players cell, wherever he types it (the detail fields, the grid):
// the two names, within their field width and the player file's code page, and the 48 ratings,
// whole numbers 0..255. Every other column is read-only there.
bool IsEditablePlayersColumn(int column);

// A typed text turned into the value to store, or the reason it is refused ("Speed must be a
// whole number from 0 to 255"). Ratings may carry spaces around the digits; names are kept as
// typed.
struct CellRefusal {
    std::string reason;
};
using ParsedCell = std::variant<Value, CellRefusal>;
ParsedCell ParseCellValue(int column, std::string_view utf8);

} // namespace tavrel
