#pragma once

#include "globaledit/GlobalEdit.h"
#include "store/CellChanges.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tavrel {

// A Global Edit as the window runs it: what each position did, and every cell the run changed,
// which makes the run one step to undo.
struct GlobalEditStep {
    std::vector<GlobalEditOutcome> outcomes;
    CellChanges changes;
};

// Runs ApplyGlobalEditPositions and records the cells it changes as it goes: position by position
// in check-box order, row by row, the edited ratings' actual and potential columns. A failure
// throws LeagueError (naming the position and the working database) and changes nothing.
GlobalEditStep ApplyGlobalEditAsStep(const std::filesystem::path& workingDb,
                                     std::span<const int> positionCodes,
                                     const GlobalEditInputs& inputs, Progress* progress = nullptr);

// The name of the step: "Global Edit of QB, WR", the positions in check-box order.
std::string GlobalEditStepText(std::span<const int> positionCodes);

// What a run did, for the status bar: "Global Edit changed QB: 12 players, WR: 0 players".
std::string GlobalEditSummary(const std::vector<GlobalEditOutcome>& outcomes);

} // namespace tavrel
