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

// Does what ApplyGlobalEdit does for each position of InCheckBoxOrder(positionCodes), one after
// the other with the progress of each, in one pass over the players and one transaction: when
// one position fails, no position is edited, and the LeagueError names the failing one.
std::vector<GlobalEditOutcome> ApplyGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs,
                                                        Progress* progress = nullptr);

} // namespace tavrel
