#pragma once

#include "globaledit/GlobalEdit.h"

#include <filesystem>
#include <span>
#include <vector>

namespace tavrel {

// The position codes given, in the order of the Global Edit check boxes (QB, HB, FB, WR, TE, C, G,
// T, K, P, DE, DT, LB, CB, S) whatever the order given; a code given twice comes once, codes
// outside 0..14 not at all.
std::vector<int> InCheckBoxOrder(std::span<const int> positionCodes);

// Runs ApplyGlobalEdit once for each position of InCheckBoxOrder(positionCodes). Each position is
// its own transaction, so when one fails the positions before it stay edited; the LeagueError
// names the failing one.
std::vector<GlobalEditOutcome> ApplyGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs,
                                                        Progress* progress = nullptr);

} // namespace tavrel
