// The preview against the run it previews, on players whose ratings sit at and beyond the bounds.
#include "globaledit/Preview.h"

#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "globaledit/GlobalEditRun.h"
#include "stats/RatingDistribution.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <tuple>

namespace tavrel {
namespace {

using testing::TestLeague;

constexpr int kQB = 0, kWR = 6, kS = 13;
constexpr int kCodes[] = {kQB, kWR, kS}; // in check-box order
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

struct Speed {
    int actual, potential, team = 1, position = kQB;
};

GlobalEditInputs Inputs(double actual, double potential, int actualMin, int actualMax,
                        int potentialMin, int potentialMax, int team = kAllTeams) {
    GlobalEditInputs in{team, {}, {}, actualMin, actualMax, potentialMin, potentialMax};
    in.actualPercent[kSP] = actual;
    in.potentialPercent[kSP] = potential;
    return in;
}

TEST(Preview, FiguresAreWhatTheRunDoes) {
    const struct {
        const char* name;
        std::vector<Speed> players;
        GlobalEditInputs inputs;
        long long changed;
        RuleTally tally; // over the QB players the inputs select
    } cases[] = {
        // 95 -> 104 held at 99, its potential lifted; 60/62 -> 66/66 lifted; 99 stays 99; 90
        // reaches 99 and is not held.
        {"held at the actual Max, lifted",
         {{45, 60}, {95, 97}, {60, 62}, {99, 99}, {20, 20, 1, kWR}, {90, 99}},
         Inputs(10, 0, 0, 99, 0, 99),
         4,
         {.heldAtActualMax = 2, .liftedToActual = 2}},
        {"held at the actual Min and the potential Max",
         {{70, 90}, {20, 40}, {80, 85}},
         Inputs(-100, 0, 30, 99, 0, 50),
         3,
         {.heldAtActualMin = 3, .heldAtPotentialMax = 2}},
        // 99 is held at 70 and then at 80; both potentials are lifted, then held at 85; 170 halves
        // to 85 exactly and is not held.
        {"Min above Max, potential Min",
         {{50, 60}, {90, 99}, {50, 170}},
         Inputs(10, -50, 80, 70, 85, 99),
         3,
         {.heldAtActualMax = 1,
          .heldAtActualMin = 3,
          .liftedToActual = 2,
          .heldAtPotentialMin = 2}},
        // Out-of-bound values under a zero actual percentage stay.
        {"0% actual selects, changes nothing", {{150, 200}}, Inputs(0, 50, 0, 99, 0, 99), 0, {}},
        {"one team only",
         {{90, 90, 1}, {90, 90, 2}, {90, 90, 0}},
         Inputs(20, 0, 0, 99, 0, 99, 2),
         1,
         {.heldAtActualMax = 1, .liftedToActual = 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeague league;
        for (const Speed& s : c.players) {
            PlayerRow row = testing::MakePlayer({.team = s.team, .position = s.position});
            row[testing::Col("Act_SP")] = std::int64_t(s.actual);
            row[testing::Col("Pot_SP")] = std::int64_t(s.potential);
            league.AddPlayer(row);
        }
        PlayerGroup group{.team = std::nullopt, .positionCode = kQB};
        if (c.inputs.team != kAllTeams)
            group.team = c.inputs.team;
        const RatingSpread before = ReadRatingSpread(league.db(), group, kSP);
        const std::string bytes = testing::FileContent(league.db());
        const PositionPreview preview = PreviewGlobalEdit(league.db(), kQB, c.inputs);
        EXPECT_EQ(testing::FileContent(league.db()), bytes); // the preview writes nothing

        const GlobalEditOutcome outcome = ApplyGlobalEdit(league.db(), kQB, c.inputs);
        const RatingSpread after = ReadRatingSpread(league.db(), group, kSP);
        EXPECT_EQ(std::tie(preview.playersSelected, preview.playersChanged, outcome.rowsChanged,
                           preview.tally),
                  std::tie(outcome.rowsSelected, c.changed, c.changed, c.tally));
        if (c.inputs.actualPercent[kSP] == 0) {
            EXPECT_TRUE(preview.ratings.empty());
            continue;
        }
        ASSERT_EQ(preview.ratings.size(), 1u);
        const RatingPreview& sp = preview.ratings[0];
        EXPECT_EQ(
            std::tie(sp.ratingIndex, sp.tally, sp.actualBefore, sp.potentialBefore, sp.actualAfter,
                     sp.potentialAfter),
            std::tie(kSP, c.tally, before.actual, before.potential, after.actual, after.potential));
    }
}

// Every rating edited over players whose values run through 0..255, at positions given out of
// check-box order and twice: previews and runs go in check-box order, once per position.
TEST(Preview, EveryRatingOfAGeneratedLeagueMatchesTheRun) {
    TestLeague league;
    for (int i = 0; i < 90; ++i) {
        PlayerRow row = testing::MakePlayer({.team = i % 4, .position = kCodes[i % 3]});
        for (int k = 0; k < kRatingCount; ++k) {
            row[testing::Col(ActualColumn(k))] = std::int64_t((i * 37 + k * 11) % 256);
            row[testing::Col(PotentialColumn(k))] = std::int64_t((i * 53 + k * 7) % 256);
        }
        league.AddPlayer(row);
    }
    GlobalEditInputs in{.actualMin = 10, .actualMax = 90, .potentialMin = 20, .potentialMax = 95};
    for (int k = 0; k < kRatingCount; ++k) {
        in.actualPercent[k] = (k % 5 - 2) * 7.5;
        in.potentialPercent[k] = k % 3 == 0 ? 0 : 12.5 - k;
    }
    in.actualPercent[kAG] = 0.5;
    const std::vector<int> codes = {kS, kWR, kQB, kS, 99};
    const auto previews = PreviewGlobalEditPositions(league.db(), codes, in);
    const auto outcomes = ApplyGlobalEditPositions(league.db(), codes, in);
    ASSERT_EQ(previews.size(), 3u);
    ASSERT_EQ(outcomes.size(), 3u);
    RuleTally total;
    for (std::size_t p = 0; p < previews.size(); ++p) {
        EXPECT_EQ(previews[p].positionCode, kCodes[p]);
        EXPECT_EQ(outcomes[p].positionCode, kCodes[p]);
        EXPECT_EQ(previews[p].playersSelected, outcomes[p].rowsSelected);
        EXPECT_EQ(previews[p].playersChanged, outcomes[p].rowsChanged);
        for (const RatingPreview& r : previews[p].ratings) {
            const RatingSpread after = ReadRatingSpread(
                league.db(), {.team = std::nullopt, .positionCode = kCodes[p]}, r.ratingIndex);
            EXPECT_EQ(r.actualAfter, after.actual) << ActualColumn(r.ratingIndex);
            EXPECT_EQ(r.potentialAfter, after.potential) << PotentialColumn(r.ratingIndex);
        }
        total += previews[p].tally;
    }
    EXPECT_GT(std::min({total.heldAtActualMax, total.heldAtActualMin, total.liftedToActual,
                        total.heldAtPotentialMax, total.heldAtPotentialMin}),
              0);
}

TEST(Distribution, SummariesAndSharedBins) {
    const std::vector<std::int64_t> small = {3, 1, 3, 2};
    EXPECT_EQ(Summarise(small), (Distribution{4, 2.25, 1, 3, {{1, 1}, {2, 1}, {3, 2}}}));
    // Values another tool stored, the whole 64 bits apart: counted, and binned without overflow.
    constexpr std::int64_t kLow = INT64_MIN, kHigh = INT64_MAX;
    const std::vector<std::int64_t> wide = {kHigh, kLow, kHigh};
    EXPECT_EQ(Summarise(wide).counts,
              (std::vector<std::pair<std::int64_t, long long>>{{kLow, 1}, {kHigh, 2}}));
    EXPECT_EQ(SharedBins(Summarise(wide), {}, 20).back(),
              (HistogramBin{8301034833169298231, kHigh, 2, 0}));
    EXPECT_EQ(Summarise({}), Distribution{});

    std::vector<std::int64_t> span(100);
    std::iota(span.begin(), span.end(), 0);
    const std::vector<std::int64_t> high = {99, 99, 100};
    const auto bins = SharedBins(Summarise(span), Summarise(high), 20);
    EXPECT_EQ(bins.front(), (HistogramBin{0, 5, 6, 0}));
    EXPECT_EQ(bins.back(), (HistogramBin{96, 100, 4, 3})); // 0..100 in bins of 6, the last short
    EXPECT_EQ(SharedBins(Summarise(high), Summarise(span), 20).back(),
              (HistogramBin{96, 100, 3, 4}));
    EXPECT_EQ(SharedBins(Summarise(small), {}, 20).size(), 3u); // a bin per value
    EXPECT_TRUE(SharedBins({}, {}, 20).empty());
}

} // namespace
} // namespace tavrel
