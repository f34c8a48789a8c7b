#include "globaledit/GlobalEdit.h"

#include "RecordingProgress.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "globaledit/GlobalEditRun.h"
#include "league/LeagueError.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavrel {
namespace {

using testing::MakePlayer;
using testing::PlayerSpec;
using testing::RecordingProgress;
using testing::TestLeague;

constexpr int kQB = 0, kWR = 6, kP = 14;
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

// A player whose SP ratings are given; every other rating is 50/60.
PlayerRow WithSpeed(PlayerSpec spec, Value actual, Value potential) {
    PlayerRow row = MakePlayer(spec);
    row[testing::Col("Act_SP")] = std::move(actual);
    row[testing::Col("Pot_SP")] = std::move(potential);
    return row;
}

PlayerRow WithSpeed(int actual, int potential, int team = 1, int position = kQB) {
    return WithSpeed({.team = team, .position = position}, std::int64_t(actual),
                     std::int64_t(potential));
}

GlobalEditInputs SpeedBy(double actualPercent, double potentialPercent = 0) {
    GlobalEditInputs in;
    in.actualPercent[kSP] = actualPercent;
    in.potentialPercent[kSP] = potentialPercent;
    return in;
}

struct Speed {
    std::int64_t actual, potential;
    bool operator==(const Speed&) const = default;
};

Speed SpeedOf(const TestLeague& league, std::int64_t rowid) {
    return {league.Number(rowid, "Act_SP"), league.Number(rowid, "Pot_SP")};
}

void PrintTo(const Speed& s, std::ostream* os) {
    *os << s.actual << "/" << s.potential;
}

// Exact halves round to the even neighbour, the actual and the potential alike; each case is a
// position of its own, edited with its own percentages.
TEST(GlobalEdit, HalvesRoundToTheEvenNeighbour) {
    const struct {
        std::int64_t actual, potential;
        double actualPercent, potentialPercent;
        Speed expected;
    } cases[] = {
        {45, 60, 10, 0, {50, 60}},  // 49.5
        {35, 75, 10, 10, {38, 82}}, // 38.5 and 82.5
        {25, 15, 10, 10, {28, 28}}, // 27.5; 16.5 gives 16, lifted to the actual
        {5, 5, 10, 10, {6, 6}},     // 5.5
        {7, 11, -50, -50, {4, 6}},  // 3.5 and 5.5
        {5, 9, -50, -50, {2, 4}},   // 2.5 and 4.5
        {1, 3, -50, 50, {0, 4}},    // 0.5 and 4.5
        {47, 90, 50, 0, {70, 90}},  // 70.5
        {60, 62, 10, 0, {66, 66}},  // the potential follows the actual
    };
    TestLeague league;
    std::vector<std::int64_t> rows;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        rows.push_back(
            league.AddPlayer(WithSpeed(int(cases[i].actual), int(cases[i].potential), 1, int(i))));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        ApplyGlobalEdit(league.db(), int(i),
                        SpeedBy(cases[i].actualPercent, cases[i].potentialPercent));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(SpeedOf(league, rows[i]), cases[i].expected) << "case " << i;
        EXPECT_EQ(league.Number(rows[i], "Act_AG"), 50) << "other ratings stay";
    }
}

TEST(GlobalEdit, BoundStepsRunInTheirOrder) {
    TestLeague league;
    const auto a = league.AddPlayer(WithSpeed(70, 90));
    const auto b = league.AddPlayer(WithSpeed(80, 85));
    GlobalEditInputs minusAll = SpeedBy(-100);
    ApplyGlobalEdit(league.db(), kQB, minusAll);
    EXPECT_EQ(SpeedOf(league, a), (Speed{0, 90}));

    minusAll.actualMin = 30;
    ApplyGlobalEdit(league.db(), kQB, minusAll);
    EXPECT_EQ(SpeedOf(league, a), (Speed{30, 90}));

    GlobalEditInputs minAboveMax = SpeedBy(10);
    minAboveMax.actualMin = 80;
    minAboveMax.actualMax = 70;
    ApplyGlobalEdit(league.db(), kQB, minAboveMax);
    EXPECT_EQ(league.Number(a, "Act_SP"), 80);
    EXPECT_EQ(league.Number(b, "Act_SP"), 80);

    // The potential Max comes after the lift to the actual value, so it wins over it.
    GlobalEditInputs lowPotentialMax = SpeedBy(0.1);
    lowPotentialMax.potentialMax = 50;
    ApplyGlobalEdit(league.db(), kQB, lowPotentialMax);
    EXPECT_EQ(SpeedOf(league, b), (Speed{80, 50}));
}

TEST(GlobalEdit, ZeroActualPercentLeavesBothColumnsAlone) {
    TestLeague league;
    const auto outOfBounds = league.AddPlayer(WithSpeed(150, 200));
    // An unusable value in a rating the run does not edit is no obstacle.
    const auto empty = league.AddPlayer(WithSpeed({}, Value{}, Value{}));
    GlobalEditInputs in = SpeedBy(0, 50);
    in.actualPercent[kAG] = 10;
    const GlobalEditOutcome outcome = ApplyGlobalEdit(league.db(), kQB, in);
    EXPECT_EQ(SpeedOf(league, outOfBounds), (Speed{150, 200}));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(league.Get(empty, "Act_SP")));
    EXPECT_EQ(league.Number(outOfBounds, "Act_AG"), 55);
    EXPECT_EQ(outcome.rowsSelected, 2);
    EXPECT_EQ(outcome.rowsChanged, 2);
}

TEST(GlobalEdit, TeamChoiceSelectsThePlayers) {
    TestLeague league;
    const auto team1 = league.AddPlayer(WithSpeed(50, 60, 1));
    const auto team2 = league.AddPlayer(WithSpeed(50, 60, 2));
    const auto free = league.AddPlayer(WithSpeed(50, 60, 0));
    const auto otherPosition = league.AddPlayer(WithSpeed(50, 60, 2, kWR));
    auto actuals = [&] {
        return std::vector<std::int64_t>{
            league.Number(team1, "Act_SP"), league.Number(team2, "Act_SP"),
            league.Number(free, "Act_SP"), league.Number(otherPosition, "Act_SP")};
    };
    GlobalEditInputs in = SpeedBy(10);

    in.team = 2;
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kQB, in).rowsSelected, 1);
    EXPECT_EQ(actuals(), (std::vector<std::int64_t>{50, 55, 50, 50}));

    in.team = kFreeAgents;
    ApplyGlobalEdit(league.db(), kQB, in);
    EXPECT_EQ(actuals(), (std::vector<std::int64_t>{50, 55, 55, 50}));

    in.team = kAllTeams;
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kQB, in).rowsSelected, 3);
    EXPECT_EQ(actuals(), (std::vector<std::int64_t>{55, 60, 60, 50})); // 60.5 goes to 60
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
    EXPECT_EQ(outcome.rowsChanged, 0);
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"Begin:Updating WR", "Set", "Set", "Set", "Set", "End"}));
    EXPECT_EQ(progress.values, (std::vector<float>{0.0f, 25.0f, 50.0f, 75.0f}));

    RecordingProgress none; // a position without players does nothing, not even progress
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kP, SpeedBy(10), &none).rowsSelected, 0);
    EXPECT_TRUE(none.calls.empty());
}

TEST(GlobalEdit, HugePercentagesAreLimitedNotOverflowed) {
    TestLeague league;
    const auto p = league.AddPlayer(WithSpeed(200, 0));
    GlobalEditInputs in = SpeedBy(1e300, -1e300);
    in.actualMax = 255;
    in.potentialMax = 255;
    ApplyGlobalEdit(league.db(), kQB, in);
    EXPECT_EQ(SpeedOf(league, p), (Speed{255, 255}));
    in = SpeedBy(-std::numeric_limits<double>::max());
    ApplyGlobalEdit(league.db(), kQB, in);
    EXPECT_EQ(league.Number(p, "Act_SP"), 0);

    // Stored values at the 16-bit limits, scaled far beyond them.
    TestLeague limits;
    const auto high = limits.AddPlayer(WithSpeed(32767, -32768));
    in = SpeedBy(100, 100);
    in.actualMax = in.potentialMax = 255;
    ApplyGlobalEdit(limits.db(), kQB, in);
    EXPECT_EQ(SpeedOf(limits, high), (Speed{255, 255}));
}

TEST(GlobalEdit, FailedRowLeavesThePositionUnchanged) {
    TestLeague league;
    std::vector<std::int64_t> rows;
    for (int i = 0; i < 5; ++i)
        rows.push_back(league.AddPlayer(WithSpeed(50, 60)));
    league.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Players WHEN OLD.rowid = " +
                std::to_string(rows[3]) + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
    try {
        ApplyGlobalEdit(league.db(), kQB, SpeedBy(10));
        FAIL() << "the refused row went unnoticed";
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.file(), league.db());
        EXPECT_NE(e.cause().find("refused"), std::string::npos);
    }
    for (const auto row : rows)
        EXPECT_EQ(league.Number(row, "Act_SP"), 50);
}

TEST(GlobalEdit, EmptyRatingIsRefusedByNameBeforeAnyChange) {
    TestLeague league;
    const auto fine = league.AddPlayer(WithSpeed(50, 60));
    const PlayerRow broken = WithSpeed({}, std::int64_t(50), Value{});
    league.AddPlayer(broken);
    try {
        ApplyGlobalEdit(league.db(), kQB, SpeedBy(10));
        FAIL() << "an empty potential was scaled";
    } catch (const LeagueError& e) {
        EXPECT_NE(e.cause().find("Pot_SP"), std::string::npos) << e.what();
        EXPECT_NE(
            e.cause().find(std::to_string(std::get<std::int64_t>(broken[testing::Col("PID")]))),
            std::string::npos)
            << e.what();
    }
    EXPECT_EQ(league.Number(fine, "Act_SP"), 50);
}

TEST(GlobalEdit, UnusableInputsAreRefusedBeforeAnyChange) {
    TestLeague league;
    const auto p = league.AddPlayer(WithSpeed(50, 60));
    GlobalEditInputs in = SpeedBy(10, std::nan(""));
    EXPECT_THROW(ApplyGlobalEdit(league.db(), kQB, in), LeagueError);
    in = SpeedBy(10);
    in.potentialMax = 256;
    EXPECT_THROW(ApplyGlobalEdit(league.db(), kQB, in), LeagueError);
    EXPECT_EQ(SpeedOf(league, p), (Speed{50, 60}));
}

TEST(GlobalEditPositions, MeansShowWhatARunDid) {
    TestLeague league;
    league.AddPlayer(WithSpeed(40, 60));
    league.AddPlayer(WithSpeed(60, 60));
    league.AddPlayer(WithSpeed(99, 99, 1, kWR));
    const GlobalEditInputs in = SpeedBy(10);
    const auto before = EditedRatingMeans(league.db(), kQB, in);
    ApplyGlobalEdit(league.db(), kQB, in);
    const auto after = EditedRatingMeans(league.db(), kQB, in);
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(before[0].ratingIndex, kSP);
    EXPECT_DOUBLE_EQ(before[0].actual, 50.0);
    EXPECT_DOUBLE_EQ(after[0].actual, 55.0);
    EXPECT_DOUBLE_EQ(after[0].potential, 63.0);
    EXPECT_TRUE(EditedRatingMeans(league.db(), kP, in).empty());
}

TEST(GlobalEditInputText, PercentagesAreOrdinaryNumbers) {
    EXPECT_EQ(ParsePercentText("10"), 10.0);
    EXPECT_EQ(ParsePercentText("  -12.5\t"), -12.5);
    EXPECT_EQ(ParsePercentText("+7"), 7.0);
    EXPECT_EQ(ParsePercentText(".5"), 0.5);
    EXPECT_EQ(ParsePercentText("1e2"), 100.0);
    for (const char* bad : {"", " ", "abc", "5x", "1,5", "--5", "+-5", "nan", "inf", "1e400"})
        EXPECT_FALSE(ParsePercentText(bad)) << bad;
}

TEST(GlobalEditInputText, BoundsRoundHalfEvenIntoAByte) {
    EXPECT_EQ(ParseBoundText("99"), 99);
    EXPECT_EQ(ParseBoundText("2.5"), 2);
    EXPECT_EQ(ParseBoundText("3.5"), 4);
    EXPECT_EQ(ParseBoundText(" 255.4 "), 255);
    EXPECT_EQ(ParseBoundText("-0.4"), 0);
    for (const char* bad : {"", "255.5", "256", "-1", "-0.6", "x", "1e9"})
        EXPECT_FALSE(ParseBoundText(bad)) << bad;
}

} // namespace
} // namespace tavrel
