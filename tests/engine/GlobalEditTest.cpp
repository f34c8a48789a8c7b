#include "globaledit/GlobalEdit.h"

#include "RecordingProgress.h"
#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "globaledit/GlobalEditChanges.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/Preview.h"
#include "globaledit/RatingRule.h"
#include "stats/RatingDistribution.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <tuple>

namespace tavrel {
namespace {

using testing::MakePlayer;
using testing::RecordingProgress;
using testing::TestLeague;
namespace fs = std::filesystem;

constexpr int kQB = 0, kWR = 6, kS = 13, kP = 14;
constexpr int kCodes[] = {kQB, kWR, kS}; // in check-box order
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

// A player whose SP ratings are given; every other rating is 50/60.
PlayerRow WithSpeed(int actual, int potential, int team = 1, int position = kQB) {
    PlayerRow row = MakePlayer({.team = team, .position = position});
    row[testing::Col("Act_SP")] = std::int64_t(actual);
    row[testing::Col("Pot_SP")] = std::int64_t(potential);
    return row;
}

GlobalEditInputs SpeedBy(double actual, double potential = 0, int actualMin = 0, int actualMax = 99,
                         int potentialMin = 0, int potentialMax = 99, int team = kAllTeams) {
    GlobalEditInputs in{team, {}, {}, actualMin, actualMax, potentialMin, potentialMax};
    in.actualPercent[kSP] = actual;
    in.potentialPercent[kSP] = potential;
    return in;
}

// The cause `action` fails with, naming `db`.
std::string CauseOf(const fs::path& db, const std::function<void()>& action) {
    const LeagueError e = testing::Failure(action);
    EXPECT_EQ(e.file(), db);
    return e.cause();
}

// The rule itself, without a database: one row per case, each with the inputs it needs.
TEST(RatingRule, ScalesRoundsAndBoundsInItsOrder) {
    struct Case {
        const char* what;
        RatingValues before;
        double actualPercent, potentialPercent;
        int actualMin, actualMax, potentialMin, potentialMax;
        RatingValues after;
    };
    constexpr double kHuge = std::numeric_limits<double>::max();
    const Case cases[] = {
        {"49.5 rounds to the even 50", {45, 60}, 10, 0, 0, 99, 0, 99, {50, 60}},
        {"70.5 rounds to the even 70", {47, 90}, 50, 0, 0, 99, 0, 99, {70, 90}},
        {"60.5 rounds to the even 60", {55, 62}, 10, 0, 0, 99, 0, 99, {60, 62}},
        {"27.5 rounds up to the even 28", {25, 30}, 10, 0, 0, 99, 0, 99, {28, 30}},
        {"38.5 and 82.5 round down to the even", {35, 75}, 10, 10, 0, 99, 0, 99, {38, 82}},
        {"5.5 rounds up to the even 6", {5, 5}, 10, 10, 0, 99, 0, 99, {6, 6}},
        {"3.5 and 5.5 round up", {7, 11}, -50, -50, 0, 99, 0, 99, {4, 6}},
        {"2.5 and 4.5 round down", {5, 9}, -50, -50, 0, 99, 0, 99, {2, 4}},
        {"0.5 and 4.5 round down", {1, 3}, -50, 50, 0, 99, 0, 99, {0, 4}},
        {"5 * (-70 * 0.01) first: 1.4999... gives 1", {5, 5}, -70, 0, 0, 99, 0, 99, {1, 5}},
        {"16-bit limits scaled beyond them", {32767, -32768}, 100, 100, 0, 255, 0, 255, {255, 255}},
        {"the potential follows the actual", {60, 62}, 10, 0, 0, 99, 0, 99, {66, 66}},
        {"both scaled", {40, 50}, 10, 10, 0, 99, 0, 99, {44, 55}},
        {"0% actual leaves both alone", {150, 200}, 0, 50, 0, 99, 0, 99, {150, 200}},
        {"-100% reaches the actual Min 0", {70, 90}, -100, 0, 0, 99, 0, 99, {0, 90}},
        {"the actual Min lifts", {70, 90}, -100, 0, 30, 99, 0, 99, {30, 90}},
        {"the actual Max cuts", {95, 95}, 10, 0, 0, 99, 0, 99, {99, 99}},
        {"exactly at the actual Max stays", {90, 99}, 10, 0, 0, 99, 0, 99, {99, 99}},
        {"a Min above the Max wins", {70, 90}, 10, 0, 80, 70, 0, 99, {80, 90}},
        {"the potential Max wins over the lift", {80, 85}, 0.1, 0, 0, 99, 0, 50, {80, 50}},
        {"the potential Min comes last", {10, 10}, 10, 0, 0, 99, 40, 99, {11, 40}},
        {"bounds at 255", {200, 0}, 1e300, -1e300, 0, 255, 0, 255, {255, 255}},
        {"bounds at 0", {200, 0}, -kHuge, 0, 0, 255, 0, 255, {0, 0}},
    };
    for (const Case& c : cases) {
        GlobalEditInputs bounds{kAllTeams,     {}, {}, c.actualMin, c.actualMax, c.potentialMin,
                                c.potentialMax};
        bounds.actualPercent[kAG] = c.actualPercent;
        bounds.potentialPercent[kAG] = c.potentialPercent;
        RatingValues after = c.before;
        ApplyRatingRule(after, kAG, bounds);
        EXPECT_EQ(std::pair(after.actual, after.potential),
                  std::pair(c.after.actual, c.after.potential))
            << c.what;
    }
}

TEST(GlobalEdit, TeamChoiceSelectsThePlayersAndTheRuleReachesTheEditedColumnsOnly) {
    TestLeague league;
    // Teams 1, 2 and the free agents at QB, and team 2 at WR.
    for (const auto& [team, position] : {std::pair{1, kQB}, {2, kQB}, {0, kQB}, {2, kWR}})
        league.AddPlayer(WithSpeed(50, 60, team, position));
    const auto speeds = [&] {
        std::vector<std::int64_t> values;
        for (std::int64_t row = 1; row <= 4; ++row)
            for (const char* column : {"Act_SP", "Pot_SP", "Act_AG", "Pot_AG"})
                values.push_back(league.Number(row, column));
        return values;
    };
    GlobalEditInputs in = SpeedBy(10, 10);
    in.actualPercent[kAG] = 0.1; // edited after SP, yet 50 and 60 stay
    in.team = 2;
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kQB, in).rowsSelected, 1);
    EXPECT_EQ(speeds(), (std::vector<std::int64_t>{50, 60, 50, 60, 55, 66, 50, 60, 50, 60, 50, 60,
                                                   50, 60, 50, 60}));
    in.team = kFreeAgents;
    ApplyGlobalEdit(league.db(), kQB, in);
    EXPECT_EQ(speeds(), (std::vector<std::int64_t>{50, 60, 50, 60, 55, 66, 50, 60, 55, 66, 50, 60,
                                                   50, 60, 50, 60}));
    in.team = kAllTeams; // 60.5 goes to 60, 72.6 to 73
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kQB, in).rowsSelected, 3);
    EXPECT_EQ(speeds(), (std::vector<std::int64_t>{55, 66, 50, 60, 60, 73, 50, 60, 60, 73, 50, 60,
                                                   50, 60, 50, 60}));
}

TEST(GlobalEdit, ReportsProgressBelowOneHundred) {
    TestLeague league;
    for (int i = 0; i < 4; ++i)
        league.AddPlayer(WithSpeed(50, 60, 1, kWR));
    RecordingProgress progress;
    // With every actual percentage 0 nothing changes, yet every row counts for progress.
    const GlobalEditOutcome outcome =
        ApplyGlobalEdit(league.db(), kWR, GlobalEditInputs{}, &progress);
    EXPECT_EQ(outcome.rowsSelected, 4);
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"Begin:Updating WR", "Set", "Set", "Set", "Set", "End"}));
    EXPECT_EQ(progress.values, (std::vector<float>{0.0f, 25.0f, 50.0f, 75.0f}));
    EXPECT_EQ(GlobalEditSummary({outcome, {kQB, 1, 1}}),
              "Global Edit changed WR: 0 players, QB: 1 player");

    RecordingProgress none; // a position without players does nothing, not even progress
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kP, SpeedBy(10), &none).rowsSelected, 0);
    EXPECT_TRUE(none.calls.empty());
}

// A refused run changes no byte of the database: a row the database refuses after others were
// changed; unusable inputs, an empty rating (named with its player), a missing database, which the
// preview refuses too, with the same message.
TEST(GlobalEdit, RefusalsAndFailuresChangeNoByte) {
    TestLeague league;
    for (int i = 0; i < 5; ++i)
        league.AddPlayer(WithSpeed(50, 60));
    const auto refusedRun = [](const fs::path& db, const GlobalEditInputs& in) {
        const std::string bytes = fs::exists(db) ? testing::FileContent(db) : "";
        const std::string cause = CauseOf(db, [&] { ApplyGlobalEdit(db, kQB, in); });
        EXPECT_EQ(fs::exists(db) ? testing::FileContent(db) : "", bytes);
        return cause;
    };
    league.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Players WHEN OLD.rowid = 4 "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_NE(refusedRun(league.db(), SpeedBy(10)).find("refused"), std::string::npos);

    const auto refusal = [&](const fs::path& db, const GlobalEditInputs& in) {
        const std::string cause = refusedRun(db, in);
        EXPECT_EQ(CauseOf(db, [&] { PreviewGlobalEdit(db, kQB, in); }), cause);
        return cause;
    };
    EXPECT_EQ(FirstInvalidInput({kAllTeams, {}, {}, 0, 255, 0, 255}), "");
    GlobalEditInputs tooHigh = SpeedBy(10);
    tooHigh.potentialMax = 256;
    EXPECT_EQ(refusal(league.db(), tooHigh), "Please Enter a Valid Number: potential Max");
    EXPECT_EQ(refusal(league.db(), SpeedBy(10, std::nan(""))),
              "Please Enter a Valid Number: Pot_SP");
    PlayerRow empty = WithSpeed(50, 60);
    empty[testing::Col("Pot_SP")] = Value{};
    league.AddPlayer(empty);
    EXPECT_EQ(refusal(league.db(), SpeedBy(10)),
              "Pot_SP of the player with PID " +
                  std::to_string(std::get<std::int64_t>(empty[testing::Col("PID")])) + " is empty");
    EXPECT_NE(refusal(league.folder() / "absent.tmp", SpeedBy(10)), "");
    EXPECT_FALSE(fs::exists(league.folder() / "absent.tmp"));
}

struct Speed {
    int actual, potential, team = 1, position = kQB;
};

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
         SpeedBy(10),
         4,
         {.heldAtActualMax = 2, .liftedToActual = 2}},
        {"held at the actual Min and the potential Max",
         {{70, 90}, {20, 40}, {80, 85}},
         SpeedBy(-100, 0, 30, 99, 0, 50),
         3,
         {.heldAtActualMin = 3, .heldAtPotentialMax = 2}},
        // 99 is held at 70 and then at 80; both potentials are lifted, then held at 85; 170 halves
        // to 85 exactly and is not held.
        {"Min above Max, potential Min",
         {{50, 60}, {90, 99}, {50, 170}},
         SpeedBy(10, -50, 80, 70, 85, 99),
         3,
         {.heldAtActualMax = 1,
          .heldAtActualMin = 3,
          .liftedToActual = 2,
          .heldAtPotentialMin = 2}},
        // Out-of-bound values under a zero actual percentage stay.
        {"0% actual selects, changes nothing", {{150, 200}}, SpeedBy(0, 50), 0, {}},
        {"one team only",
         {{90, 90, 1}, {90, 90, 2}, {90, 90, 0}},
         SpeedBy(20, 0, 0, 99, 0, 99, 2),
         1,
         {.heldAtActualMax = 1, .liftedToActual = 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeague league;
        for (const Speed& s : c.players)
            league.AddPlayer(WithSpeed(s.actual, s.potential, s.team, s.position));
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

// Percentages are ordinary numbers; bounds round half to even into a byte.
TEST(GlobalEditInputText, NumbersAsTyped) {
    const std::pair<const char*, double> percents[] = {
        {"10", 10}, {"  -12.5\t", -12.5}, {"+7", 7}, {".5", 0.5}, {"1e2", 100}};
    for (const auto& [text, value] : percents)
        EXPECT_EQ(ParsePercentText(text), value) << text;
    for (const char* bad : {"", " ", "abc", "5x", "1,5", "--5", "+-5", "nan", "inf", "1e400"})
        EXPECT_FALSE(ParsePercentText(bad)) << bad;
    const std::pair<const char*, int> bounds[] = {
        {"99", 99}, {"2.5", 2}, {"3.5", 4}, {" 255.4 ", 255}, {"-0.4", 0}};
    for (const auto& [text, value] : bounds)
        EXPECT_EQ(ParseBoundText(text), value) << text;
    for (const char* bad : {"", "255.5", "256", "-1", "-0.6", "x", "1e9"})
        EXPECT_FALSE(ParseBoundText(bad)) << bad;
}

} // namespace
} // namespace tavrel
