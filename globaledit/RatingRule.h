#pragma once

#include "globaledit/GlobalEdit.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrel {

// One rating's two columns on one row while the rule runs.
struct RatingValues {
    std::int64_t actual = 0;
    std::int64_t potential = 0;
    bool operator==(const RatingValues&) const = default;
};

// How often each bound step of the rule changed a value: the actual value held at the actual Max
// or Min, the potential lifted to the actual value, the potential held at the potential Max or Min.
struct RuleTally {
    long long heldAtActualMax = 0;
    long long heldAtActualMin = 0;
    long long liftedToActual = 0;
    long long heldAtPotentialMax = 0;
    long long heldAtPotentialMin = 0;
    RuleTally& operator+=(const RuleTally& other);
    bool operator==(const RuleTally&) const = default;
};

// The rating rule for rating k on one row, the one the run and the preview share: nothing when
// the actual percentage is 0; otherwise the actual value (and the potential, when its percentage
// is not 0) becomes value + value * (percent * 0.01), limited to a 16-bit column and rounded a
// half to the even neighbour, then the bound steps run in their fixed order (actual Max, actual
// Min, lift of the potential, potential Max, potential Min), so a Min above the Max wins and a
// potential Max below the actual value leaves the potential below it. Steps that changed a value
// are counted in `tally` when given.
void ApplyRatingRule(RatingValues& values, int ratingIndex, const GlobalEditInputs& inputs,
                     RuleTally* tally = nullptr);

// The rule for every edited rating of one player: ratings[j] holds the values of rating
// edited[j], and tallies[j] (when given) counts its steps. Whether any value changed, of any of
// the ratings, not only the last.
bool ApplyRatingRules(std::span<RatingValues> ratings, const std::vector<int>& edited,
                      const GlobalEditInputs& inputs, RuleTally* tallies = nullptr);

// The first input the rule cannot use, named for the message (the rating column of a percentage
// that is not finite, "actual Min" for a bound outside 0..255, ...); empty when all are usable.
std::string FirstInvalidInput(const GlobalEditInputs& inputs);

// The nearest whole number, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4),
// whatever rounding mode the floating-point unit is in. For values well inside 64 bits.
std::int64_t RoundHalfEven(double x);

} // namespace tavrel
