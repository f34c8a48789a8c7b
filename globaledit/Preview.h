#pragma once

#include "globaledit/GlobalEdit.h"
#include "globaledit/RatingRule.h"
#include "stats/Distribution.h"

#include <filesystem>
#include <span>
#include <vector>

namespace tavrel {

// What a run would do to one edited rating of one position: its values before and after, and how
// often each bound step acted.
struct RatingPreview {
    int ratingIndex = 0;
    Distribution actualBefore, actualAfter;
    Distribution potentialBefore, potentialAfter;
    RuleTally tally;
};

// What ApplyGlobalEdit would do to one position: the players it selects and changes, the bound
// steps summed over its edited ratings, and each edited rating.
struct PositionPreview {
    int positionCode = 0;
    long long playersSelected = 0;
    long long playersChanged = 0;
    RuleTally tally;
    std::vector<RatingPreview> ratings;
};

// Runs the rating rule of ApplyGlobalEdit over the same rows, read into memory through a
// read-only connection, so the working database is never written. Refuses the inputs the run
// refuses, with the same message; throws LeagueError naming the working database.
PositionPreview PreviewGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& inputs);

// One preview per position of InCheckBoxOrder(positionCodes), from one read of the players, as
// the run reads them. The positions' players never overlap, so each preview is what that position's
// run does after the ones before it.
std::vector<PositionPreview> PreviewGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs);

} // namespace tavrel
