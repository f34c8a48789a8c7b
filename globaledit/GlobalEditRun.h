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

// The mean actual and potential value of one rating over the players a run selects.
struct EditedRatingMean {
    int ratingIndex = 0;
    double actual = 0;
    double potential = 0;
};

// The means of every rating the inputs edit (actual percentage not zero), over the players that
// ApplyGlobalEdit would select for this position; empty when it selects none. Taken before and
// after a run, they show what the run did. Throws LeagueError naming the working database.
std::vector<EditedRatingMean> EditedRatingMeans(const std::filesystem::path& workingDb,
                                                int positionCode, const GlobalEditInputs& inputs);

} // namespace tavrel
