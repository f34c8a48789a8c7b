#pragma once

#include "globaledit/GlobalEdit.h"
#include "store/CellChanges.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tavrel {

// The cells a Global Edit of these positions can change, as they are before it runs: the actual
// and potential columns of the ratings it edits, for every player it selects. Compared with the
// same cells afterwards (ChangedCells), they make the run one step to undo. Throws LeagueError
// naming the working database.
ColumnSnapshot SnapshotGlobalEditCells(const std::filesystem::path& workingDb,
                                       std::span<const int> positionCodes,
                                       const GlobalEditInputs& inputs);

// The same cells read again, after the run.
ColumnSnapshot SnapshotAgain(const std::filesystem::path& workingDb, const ColumnSnapshot& before);

// The name of the step: "Global Edit of QB, WR", the positions in check-box order.
std::string GlobalEditStepText(std::span<const int> positionCodes);

// What a run did, for the status bar: "Global Edit changed QB: 12 players, WR: 0 players".
std::string GlobalEditSummary(const std::vector<GlobalEditOutcome>& outcomes);

} // namespace tavrel
