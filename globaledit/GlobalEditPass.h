#pragma once

#include "globaledit/GlobalEdit.h"
#include "store/CellChanges.h"

#include <filesystem>
#include <span>
#include <vector>

namespace tavrel {

// The run behind ApplyGlobalEdit and its callers: one read of the players of every position
// given (distinct codes, in the order they run), then, position by position, the rating rule, the
// changed rows written and the progress of that position, all in one transaction. A failure
// throws LeagueError naming the position and the working database, and changes nothing. When
// `changes` is given, every cell the run changed is appended to it, position by position, row by
// row, the edited ratings' actual and potential columns in record order.
std::vector<GlobalEditOutcome> RunGlobalEditPass(const std::filesystem::path& workingDb,
                                                 std::span<const int> positionCodes,
                                                 const GlobalEditInputs& inputs, Progress* progress,
                                                 CellChanges* changes);

} // namespace tavrel
