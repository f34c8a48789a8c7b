#include "globaledit/GlobalEdit.h"

#include "RecordingProgress.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/RatingRule.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavrel {
namespace {

using testing::MakePlayer;
using testing::PlayerSpec;
using testing::RecordingProgress;
using testing::TestLeague;

constexpr int kQB = 0, kWR = 6, kS = 13, kP = 14;
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
        GlobalEditInputs bounds{.actualMin = c.actualMin,
                                .actualMax = c.actualMax,
                                .potentialMin = c.potentialMin,
                                .potentialMax = c.potentialMax};
        bounds.actualPercent[kAG] = c.actualPercent;
        bounds.potentialPercent[kAG] = c.potentialPercent;
        RatingValues after = c.before;
        ApplyRatingRule(after, kAG, bounds);
        EXPECT_EQ(after.actual, c.after.actual) << c.what;
        EXPECT_EQ(after.potential, c.after.potential) << c.what;
    }
}

TEST(GlobalEdit, TeamChoiceSelectsThePlayersAndTheRuleReachesTheEditedColumnsOnly) {
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
    GlobalEditInputs in = SpeedBy(10, 10);

    in.team = 2;
    EXPECT_EQ(ApplyGlobalEdit(league.db(), kQB, in).rowsSelected, 1);
    EXPECT_EQ(actuals(), (std::vector<std::int64_t>{50, 55, 50, 50}));
    EXPECT_EQ(SpeedOf(league, team2), (Speed{55, 66})); // the edited columns only
    EXPECT_EQ(league.Number(team2, "Act_AG"), 50);
    EXPECT_EQ(league.Number(team2, "Pot_AG"), 60);

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

// An empty rating (named with its player), unusable inputs, a missing database: refused first.
TEST(GlobalEdit, RefusalsComeBeforeAnyChange) {
    TestLeague league;
    const auto fine = league.AddPlayer(WithSpeed(50, 60));
    GlobalEditInputs in = SpeedBy(10, std::nan(""));
    EXPECT_THROW(ApplyGlobalEdit(league.db(), kQB, in), LeagueError);
    in = SpeedBy(10);
    in.potentialMax = 256;
    EXPECT_THROW(ApplyGlobalEdit(league.db(), kQB, in), LeagueError);
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
    EXPECT_EQ(SpeedOf(league, fine), (Speed{50, 60}));
    const auto missing = league.folder() / "absent.tmp";
    try {
        ApplyGlobalEdit(missing, kQB, SpeedBy(10));
        FAIL();
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.file(), missing);
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(GlobalEditPositions, RunInCheckBoxOrderOncePerPosition) {
    TestLeague league;
    for (const int code : {kS, kP, kQB, kWR})
        league.AddPlayer(WithSpeed(50, 60, 1, code));
    RecordingProgress progress;
    const std::vector<int> codes = {kS, kP, kQB, kS, 99};
    const auto outcomes = ApplyGlobalEditPositions(league.db(), codes, SpeedBy(10), &progress);
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].positionCode, kQB);
    EXPECT_EQ(outcomes[1].positionCode, kP); // check box 9
    EXPECT_EQ(outcomes[2].positionCode, kS); // check box 14
    std::vector<std::string> captions;
    for (const auto& call : progress.calls)
        if (call.starts_with("Begin:"))
            captions.push_back(call.substr(6));
    EXPECT_EQ(captions, (std::vector<std::string>{"Updating QB", "Updating P", "Updating S"}));
    EXPECT_EQ(kGlobalEditPositionCodes[9], kP);
    EXPECT_EQ(kGlobalEditPositionCodes[14], kS);
}

TEST(GlobalEditInputText, PercentagesAreOrdinaryNumbers) {
    const std::pair<const char*, double> good[] = {
        {"10", 10}, {"  -12.5\t", -12.5}, {"+7", 7}, {".5", 0.5}, {"1e2", 100}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParsePercentText(text), value) << text;
    for (const char* bad : {"", " ", "abc", "5x", "1,5", "--5", "+-5", "nan", "inf", "1e400"})
        EXPECT_FALSE(ParsePercentText(bad)) << bad;
}

TEST(GlobalEditInputText, BoundsRoundHalfEvenIntoAByte) {
    const std::pair<const char*, int> good[] = {
        {"99", 99}, {"2.5", 2}, {"3.5", 4}, {" 255.4 ", 255}, {"-0.4", 0}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParseBoundText(text), value) << text;
    for (const char* bad : {"", "255.5", "256", "-1", "-0.6", "x", "1e9"})
        EXPECT_FALSE(ParseBoundText(bad)) << bad;
}

} // namespace
} // namespace tavrel
