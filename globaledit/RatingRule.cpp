#include "globaledit/RatingRule.h"

#include <algorithm>
#include <cmath>

namespace tavrel {
namespace {

// A rating column holds a signed 16-bit number; a scaled value is limited to that range before the
// bounds apply, so no input can overflow it.
constexpr double kColumnLow = -32768.0;
constexpr double kColumnHigh = 32767.0;

// value + value * (percent * 0.01) in exactly the form the users know, the product with 0.01
// first, stored the way a 16-bit column takes a fraction.
std::int64_t Scale(std::int64_t value, double percent) {
    const double v = static_cast<double>(value);
    return RoundHalfEven(std::clamp(v + v * (percent * 0.01), kColumnLow, kColumnHigh));
}

bool IsValidBound(int bound) {
    return bound >= 0 && bound <= 255;
}

// Sets `value` to `bound` and counts the step when the comparison holds.
void Hold(std::int64_t& value, std::int64_t bound, bool when, long long* counter) {
    if (!when)
        return;
    value = bound;
    if (counter)
        ++*counter;
}

} // namespace

RuleTally& RuleTally::operator+=(const RuleTally& other) {
    heldAtActualMax += other.heldAtActualMax;
    heldAtActualMin += other.heldAtActualMin;
    liftedToActual += other.liftedToActual;
    heldAtPotentialMax += other.heldAtPotentialMax;
    heldAtPotentialMin += other.heldAtPotentialMin;
    return *this;
}

std::int64_t RoundHalfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    const auto whole = static_cast<std::int64_t>(below);
    if (fraction < 0.5)
        return whole;
    if (fraction > 0.5 || whole % 2 != 0)
        return whole + 1;
    return whole;
}

void ApplyRatingRule(RatingValues& r, int k, const GlobalEditInputs& in, RuleTally* tally) {
    if (in.actualPercent[k] == 0.0)
        return;
    RuleTally none;
    RuleTally& t = tally ? *tally : none;
    r.actual = Scale(r.actual, in.actualPercent[k]);
    if (in.potentialPercent[k] != 0.0)
        r.potential = Scale(r.potential, in.potentialPercent[k]);
    Hold(r.actual, in.actualMax, r.actual > in.actualMax, &t.heldAtActualMax);
    Hold(r.actual, in.actualMin, r.actual < in.actualMin, &t.heldAtActualMin);
    Hold(r.potential, r.actual, r.actual > r.potential, &t.liftedToActual);
    Hold(r.potential, in.potentialMax, r.potential > in.potentialMax, &t.heldAtPotentialMax);
    Hold(r.potential, in.potentialMin, r.potential < in.potentialMin, &t.heldAtPotentialMin);
}

bool ApplyRatingRules(std::span<RatingValues> ratings, const std::vector<int>& edited,
                      const GlobalEditInputs& in, RuleTally* tallies) {
    bool changed = false;
    for (std::size_t j = 0; j < edited.size(); ++j) {
        RatingValues& r = ratings[j];
        const RatingValues before = r;
        ApplyRatingRule(r, edited[j], in, tallies ? &tallies[j] : nullptr);
        changed = changed || r != before;
    }
    return changed;
}

std::string FirstInvalidInput(const GlobalEditInputs& in) {
    for (int k = 0; k < kRatingCount; ++k) {
        if (!std::isfinite(in.actualPercent[k]))
            return ActualColumn(k);
        if (!std::isfinite(in.potentialPercent[k]))
            return PotentialColumn(k);
    }
    if (!IsValidBound(in.actualMin))
        return "actual Min";
    if (!IsValidBound(in.actualMax))
        return "actual Max";
    if (!IsValidBound(in.potentialMin))
        return "potential Min";
    if (!IsValidBound(in.potentialMax))
        return "potential Max";
    return {};
}

} // namespace tavrel
