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

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavrel {
namespace {

using testing::MakePlayer;
using testing::RecordingProgress;
using testing::TestLeague;
namespace fs = std::filesystem;

constexpr int kQB = 0, kWR = 6, kP = 14;
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

// A player whose SP ratings are given; every other rating is 50/60.
PlayerRow WithSpeed(int actual, int potential, int team = 1, int position = kQB) {
    PlayerRow row = MakePlayer({.team = team, .position = position});
    row[testing::Col("Act_SP")] = std::int64_t(actual);
    row[testing::Col("Pot_SP")] = std::int64_t(potential);
    return row;
}

GlobalEditInputs SpeedBy(double actualPercent, double potentialPercent = 0) {
    GlobalEditInputs in;
    in.actualPercent[kSP] = actualPercent;
    in.potentialPercent[kSP] = potentialPercent;
    return in;
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
    EXPECT_EQ(outcome.rowsChanged, 0);
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
        std::string cause;
        try {
            ApplyGlobalEdit(db, kQB, in);
        } catch (const LeagueError& e) {
            EXPECT_EQ(e.file(), db);
            cause = e.cause();
        }
        EXPECT_EQ(fs::exists(db) ? testing::FileContent(db) : "", bytes);
        return cause;
    };
    league.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Players WHEN OLD.rowid = 4 "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_NE(refusedRun(league.db(), SpeedBy(10)).find("refused"), std::string::npos);

    const auto refusal = [&](const fs::path& db, const GlobalEditInputs& in) {
        std::string previewCause;
        try {
            PreviewGlobalEdit(db, kQB, in);
        } catch (const LeagueError& e) {
            EXPECT_EQ(e.file(), db);
            previewCause = e.cause();
        }
        const std::string cause = refusedRun(db, in);
        EXPECT_EQ(previewCause, cause);
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
