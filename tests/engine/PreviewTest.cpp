// The preview against the run it previews, on players whose ratings sit at and beyond the bounds.
#include "globaledit/Preview.h"

#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "globaledit/GlobalEditRun.h"
#include "stats/RatingDistribution.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::TestLeague;

constexpr int kQB = 0, kWR = 6;
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

struct Speed {
    int actual, potential, team = 1, position = kQB;
};

struct PreviewCase {
    const char* name;
    std::vector<Speed> players;
    GlobalEditInputs inputs;
    long long changed;
    RuleTally tally; // over the QB players the inputs select
};

GlobalEditInputs Inputs(double actual, double potential, int actualMin, int actualMax,
                        int potentialMin, int potentialMax, int team = kAllTeams) {
    GlobalEditInputs in{.team = team,
                        .actualMin = actualMin,
                        .actualMax = actualMax,
                        .potentialMin = potentialMin,
                        .potentialMax = potentialMax};
    in.actualPercent[kSP] = actual;
    in.potentialPercent[kSP] = potential;
    return in;
}

const PreviewCase kCases[] = {
    // 95 -> 104 held at 99, its potential lifted; 60/62 -> 66/66 lifted; 99 stays 99.
    {"HeldAtActualMaxAndLifted",
     {{45, 60}, {95, 97}, {60, 62}, {99, 99}, {20, 20, 1, kWR}},
     Inputs(10, 0, 0, 99, 0, 99),
     3,
     {.heldAtActualMax = 2, .liftedToActual = 2}},
    {"HeldAtActualMinAndPotentialMax",
     {{70, 90}, {20, 40}, {80, 85}},
     Inputs(-100, 0, 30, 99, 0, 50),
     3,
     {.heldAtActualMin = 3, .heldAtPotentialMax = 2}},
    // Min above Max: 99 is held at 70 and then at 80; both potentials are lifted, then held at 85.
    {"MinAboveMaxAndPotentialMin",
     {{50, 60}, {90, 99}},
     Inputs(10, -50, 80, 70, 85, 99),
     2,
     {.heldAtActualMax = 1, .heldAtActualMin = 2, .liftedToActual = 2, .heldAtPotentialMin = 2}},
    // Out-of-bound values under a zero actual percentage stay.
    {"ZeroActualPercentSelectsButChangesNothing", {{150, 200}}, Inputs(0, 50, 0, 99, 0, 99), 0, {}},
    {"OneTeamOnly",
     {{90, 90, 1}, {90, 90, 2}, {90, 90, 0}},
     Inputs(20, 0, 0, 99, 0, 99, 2),
     1,
     {.heldAtActualMax = 1, .liftedToActual = 1}},
};

void PrintTo(const PreviewCase& c, std::ostream* os) {
    *os << c.name;
}

class PreviewMatchesTheRun : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewMatchesTheRun, FiguresAreWhatTheRunDoes) {
    const PreviewCase& c = GetParam();
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
    EXPECT_EQ(preview.playersSelected, outcome.rowsSelected);
    EXPECT_EQ(preview.playersChanged, outcome.rowsChanged);
    EXPECT_EQ(preview.playersChanged, c.changed);
    EXPECT_EQ(preview.tally, c.tally);
    if (c.inputs.actualPercent[kSP] == 0) {
        EXPECT_TRUE(preview.ratings.empty());
        return;
    }
    ASSERT_EQ(preview.ratings.size(), 1u);
    const RatingPreview& sp = preview.ratings[0];
    EXPECT_EQ(sp.ratingIndex, kSP);
    EXPECT_EQ(sp.tally, c.tally);
    EXPECT_EQ(sp.actualBefore, before.actual);
    EXPECT_EQ(sp.potentialBefore, before.potential);
    EXPECT_EQ(sp.actualAfter, after.actual);
    EXPECT_EQ(sp.potentialAfter, after.potential);
}

INSTANTIATE_TEST_SUITE_P(Preview, PreviewMatchesTheRun, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every rating edited over players whose values run through 0..255, at every position.
TEST(Preview, EveryRatingOfAGeneratedLeagueMatchesTheRun) {
    TestLeague league;
    for (int i = 0; i < 90; ++i) {
        PlayerRow row = testing::MakePlayer({.team = i % 4, .position = i % 3 == 0 ? kQB : kWR});
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
    const std::vector<int> codes = {kWR, kQB};
    const auto previews = PreviewGlobalEditPositions(league.db(), codes, in);
    const auto outcomes = ApplyGlobalEditPositions(league.db(), codes, in);
    ASSERT_EQ(previews.size(), 2u);
    RuleTally total;
    for (std::size_t p = 0; p < previews.size(); ++p) {
        EXPECT_EQ(previews[p].positionCode, outcomes[p].positionCode);
        EXPECT_EQ(previews[p].playersSelected, outcomes[p].rowsSelected);
        EXPECT_EQ(previews[p].playersChanged, outcomes[p].rowsChanged);
        for (const RatingPreview& r : previews[p].ratings) {
            const RatingSpread after = ReadRatingSpread(
                league.db(), {.team = std::nullopt, .positionCode = previews[p].positionCode},
                r.ratingIndex);
            EXPECT_EQ(r.actualAfter, after.actual) << ActualColumn(r.ratingIndex);
            EXPECT_EQ(r.potentialAfter, after.potential) << PotentialColumn(r.ratingIndex);
        }
        total += previews[p].tally;
    }
    EXPECT_GT(total.heldAtActualMax, 0);
    EXPECT_GT(total.heldAtActualMin, 0);
    EXPECT_GT(total.liftedToActual, 0);
    EXPECT_GT(total.heldAtPotentialMax, 0);
    EXPECT_GT(total.heldAtPotentialMin, 0);
}

TEST(Preview, RefusesWhatTheRunRefuses) {
    TestLeague league;
    PlayerRow empty = testing::MakePlayer({});
    empty[testing::Col("Pot_SP")] = Value{};
    league.AddPlayer(empty);
    GlobalEditInputs in = Inputs(10, 0, 0, 99, 0, 256);
    try {
        PreviewGlobalEdit(league.db(), kQB, in);
        FAIL();
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.cause(), "Please Enter a Valid Number: potential Max");
    }
    in.potentialMax = 99;
    try {
        PreviewGlobalEdit(league.db(), kQB, in);
        FAIL();
    } catch (const LeagueError& e) {
        EXPECT_NE(e.cause().find("Pot_SP of the player with PID"), std::string::npos) << e.cause();
    }
    EXPECT_THROW(PreviewGlobalEdit(league.folder() / "absent.tmp", kQB, in), LeagueError);
    EXPECT_FALSE(std::filesystem::exists(league.folder() / "absent.tmp"));
}

TEST(Distribution, SummariesAndSharedBins) {
    const std::vector<std::int64_t> small = {3, 1, 3, 2};
    const Distribution d = Summarise(small);
    EXPECT_EQ(d, (Distribution{4, 2.25, 1, 3, {{1, 1}, {2, 1}, {3, 2}}}));
    const std::vector<std::int64_t> wide = {40000, -40000, 40000};
    EXPECT_EQ(Summarise(wide).counts,
              (std::vector<std::pair<std::int64_t, long long>>{{-40000, 1}, {40000, 2}}));
    EXPECT_EQ(Summarise({}), Distribution{});

    std::vector<std::int64_t> span;
    for (int v = 0; v < 100; ++v)
        span.push_back(v);
    const std::vector<std::int64_t> high = {99, 99, 104};
    const auto bins = SharedBins(Summarise(span), Summarise(high), 20);
    ASSERT_EQ(bins.size(), 18u); // 0..104 in bins of 6, the last one short
    EXPECT_EQ(bins.front(), (HistogramBin{0, 5, 6, 0}));
    EXPECT_EQ(bins[16], (HistogramBin{96, 101, 4, 2}));
    EXPECT_EQ(bins.back(), (HistogramBin{102, 104, 0, 1}));
    EXPECT_EQ(SharedBins(Summarise(small), {}, 20).size(), 3u); // a bin per value
    EXPECT_TRUE(SharedBins({}, {}, 20).empty());
}

} // namespace
} // namespace tavrel
