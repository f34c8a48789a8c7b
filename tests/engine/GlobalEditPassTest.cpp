// Global Edit of several positions in one pass: the same saved bytes, counts and progress as the
// positions edited one call at a time (and as the players edited on their way in), the changed
// cells as one step to undo, and failures that change nothing.
#include "RecordingProgress.h"
#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "demo/DemoLeague.h"
#include "globaledit/GlobalEditChanges.h"
#include "globaledit/GlobalEditOnImport.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/Preview.h"
#include "league/League.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>
#include <tuple>

namespace tavrel {
namespace {

using testing::RecordingProgress;
using testing::TestLeague;
namespace fs = std::filesystem;

constexpr int kQB = 0, kWR = 6, kS = 13, kP = 14;
const int kSP = *RatingIndex("SP");
const int kAG = *RatingIndex("AG");

// A generated league, imported afresh for each edit.
class GeneratedLeague {
public:
    GeneratedLeague() : files_(WriteDemoLeague(Folder() / "league", {6, 700, 7})) {}

    fs::path Folder() const { return dir_.path().toStdString(); }
    LoadedLeague Import(const fs::path& db, const ImportedRowEdit& edit = {}) const {
        return LoadLeague(files_.playerFile, files_.leagueFile, db, nullptr, edit);
    }
    // The player file the working database saves as.
    std::string Saved(const LoadedLeague& league, const fs::path& db, const char* name) const {
        SaveLeague(Folder() / name, league, db);
        return testing::FileContent(Folder() / name);
    }

private:
    QTemporaryDir dir_;
    DemoLeagueFiles files_;
};

using Change = std::tuple<std::int64_t, int, Value, Value>;
std::vector<Change> AsTuples(const CellChanges& changes) {
    std::vector<Change> tuples;
    for (const CellChange& c : changes)
        tuples.emplace_back(c.rowId, c.column, c.before, c.after);
    return tuples;
}

// The cells a run of these positions can change, read independently of the run: the edited
// ratings' columns of the selected players, position by position in check-box order, by rowid.
ColumnSnapshot SelectedCells(const fs::path& db, std::span<const int> codes,
                             const GlobalEditInputs& in) {
    std::vector<std::int64_t> rowIds;
    SQLite::Database connection(db.string(), SQLite::OPEN_READONLY);
    SQLite::Statement select(connection, "SELECT rowid FROM Players WHERE Position = ?1 AND "
                                         "(?2 = 1001 OR Team = ?2) ORDER BY rowid");
    for (const int code : InCheckBoxOrder(codes)) {
        select.bind(1, code);
        select.bind(2, in.team);
        while (select.executeStep())
            rowIds.push_back(select.getColumn(0).getInt64());
        select.reset();
    }
    std::vector<int> columns;
    for (const int k : EditedRatings(in)) {
        columns.push_back(testing::Col(ActualColumn(k)));
        columns.push_back(testing::Col(PotentialColumn(k)));
    }
    return TakeColumnSnapshot(connection, rowIds, columns);
}

GlobalEditInputs EveryRatingScaled(int team) {
    GlobalEditInputs in{
        .team = team, .actualMin = 20, .actualMax = 90, .potentialMin = 25, .potentialMax = 95};
    for (int k = 0; k < kRatingCount; ++k) {
        in.actualPercent[k] = (k % 5 - 2) * 6.5 + 0.5;
        in.potentialPercent[k] = k % 3 == 0 ? 0 : 9.5 - k;
    }
    return in;
}

// Two ratings scaled by under one percent: many players keep every value.
GlobalEditInputs TwoRatingsNudged(int team) {
    GlobalEditInputs in{.team = team};
    in.actualPercent[kSP] = 0.9;
    in.actualPercent[kAG] = -0.9;
    in.potentialPercent[kAG] = 0.9;
    return in;
}

TEST(GlobalEditPass, SeveralPositionsAtOnceSaveWhatOnePositionAtATimeSaves) {
    const GeneratedLeague league;
    const fs::path one = league.Folder() / "one.tmp", all = league.Folder() / "all.tmp";
    const struct {
        const char* name;
        GlobalEditInputs inputs;
        std::vector<int> codes; // as ticked, in any order
    } cases[] = {
        {"every position, every rating, all teams",
         EveryRatingScaled(kAllTeams),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"some positions out of order, one team", EveryRatingScaled(2), {kS, kQB, kP, kWR}},
        {"free agents, two ratings nudged", TwoRatingsNudged(kFreeAgents), {kWR, kQB, 9, 3}},
        {"two ratings nudged, all teams", TwoRatingsNudged(kAllTeams), {kS, kP, kQB, kWR, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadedLeague loaded = league.Import(one);
        league.Import(all);
        const std::string original = league.Saved(loaded, one, "original.ply");

        RecordingProgress oneProgress, allProgress;
        const ColumnSnapshot before = SelectedCells(one, c.codes, c.inputs);
        std::vector<GlobalEditOutcome> oneAtATime;
        for (const int code : InCheckBoxOrder(c.codes))
            oneAtATime.push_back(ApplyGlobalEdit(one, code, c.inputs, &oneProgress));
        const GlobalEditStep step = ApplyGlobalEditAsStep(all, c.codes, c.inputs, &allProgress);
        EXPECT_EQ(AsTuples(step.changes),
                  AsTuples(ChangedCells(before, SelectedCells(one, c.codes, c.inputs))));

        ASSERT_EQ(step.outcomes.size(), oneAtATime.size());
        long long changed = 0;
        for (std::size_t p = 0; p < oneAtATime.size(); ++p) {
            EXPECT_EQ(std::tie(step.outcomes[p].positionCode, step.outcomes[p].rowsSelected,
                               step.outcomes[p].rowsChanged),
                      std::tie(oneAtATime[p].positionCode, oneAtATime[p].rowsSelected,
                               oneAtATime[p].rowsChanged));
            changed += step.outcomes[p].rowsChanged;
        }
        EXPECT_GT(changed, 0);
        EXPECT_EQ(allProgress.calls, oneProgress.calls);
        EXPECT_EQ(allProgress.values, oneProgress.values);
        const std::string edited = league.Saved(loaded, one, "one.ply");
        EXPECT_NE(edited, original);
        EXPECT_TRUE(league.Saved(loaded, all, "all.ply") == edited);

        // Edited on the way in, as the command line's global-edit does: the same bytes, counts.
        GlobalEditOnImport onImport(c.codes, c.inputs, "League.lge");
        const fs::path in = league.Folder() / "in.tmp";
        const LoadedLeague editedIn =
            league.Import(in, [&](PlayerRow& row) { onImport.Edit(row); });
        EXPECT_TRUE(league.Saved(editedIn, in, "in.ply") == edited);
        ASSERT_EQ(onImport.Outcomes().size(), oneAtATime.size());
        for (std::size_t p = 0; p < oneAtATime.size(); ++p)
            EXPECT_EQ(std::tie(onImport.Outcomes()[p].positionCode,
                               onImport.Outcomes()[p].rowsSelected,
                               onImport.Outcomes()[p].rowsChanged),
                      std::tie(oneAtATime[p].positionCode, oneAtATime[p].rowsSelected,
                               oneAtATime[p].rowsChanged));

        // The step undoes to the bytes before the run and redoes to the edited ones.
        WriteCellChanges(all, step.changes, CellSide::Before);
        EXPECT_TRUE(league.Saved(loaded, all, "undone.ply") == original);
        WriteCellChanges(all, step.changes, CellSide::After);
        EXPECT_TRUE(league.Saved(loaded, all, "redone.ply") == edited);
    }
}

PlayerRow WithRatings(int position, std::pair<int, int> sp, std::pair<int, int> ag) {
    PlayerRow row = testing::MakePlayer({.team = 1, .position = position});
    row[testing::Col("Act_SP")] = std::int64_t(sp.first);
    row[testing::Col("Pot_SP")] = std::int64_t(sp.second);
    row[testing::Col("Act_AG")] = std::int64_t(ag.first);
    row[testing::Col("Pot_AG")] = std::int64_t(ag.second);
    return row;
}

// A player counts as changed when any of his edited ratings changes: the first (SP) only, the
// last (AG) only, both, or neither (0 stays 0 whatever the percentage).
TEST(GlobalEditPass, APlayerChangesWhenAnyOfHisEditedRatingsChanges) {
    TestLeague league;
    const std::int64_t firstOnly = league.AddPlayer(WithRatings(kQB, {50, 60}, {0, 0}));
    const std::int64_t lastOnly = league.AddPlayer(WithRatings(kQB, {0, 0}, {50, 60}));
    league.AddPlayer(WithRatings(kQB, {0, 0}, {0, 0}));
    league.AddPlayer(WithRatings(kQB, {40, 40}, {40, 40}));
    GlobalEditInputs in;
    in.actualPercent[kSP] = 10;
    in.actualPercent[kAG] = 10;
    const int codes[] = {kQB};

    const std::vector<PositionPreview> previews =
        PreviewGlobalEditPositions(league.db(), codes, in);
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].playersSelected, 4);
    EXPECT_EQ(previews[0].playersChanged, 3);
    EXPECT_EQ(PreviewGlobalEdit(league.db(), kQB, in).playersChanged, 3);

    const GlobalEditStep step = ApplyGlobalEditAsStep(league.db(), codes, in);
    ASSERT_EQ(step.outcomes.size(), 1u);
    EXPECT_EQ(step.outcomes[0].rowsChanged, 3);
    EXPECT_EQ(league.Number(firstOnly, "Act_SP"), 55);
    EXPECT_EQ(league.Number(firstOnly, "Pot_SP"), 60);
    EXPECT_EQ(league.Number(lastOnly, "Act_AG"), 55);
    // SP of the first, AG of the second, all four of the last.
    EXPECT_EQ(step.changes.size(), 6u);
}

// A position that cannot be edited stops the whole run before anything is written, also the
// positions before it; the message names that position, or the first in check-box order when
// several cannot.
TEST(GlobalEditPass, AFailingPositionChangesNoPositionAndIsNamed) {
    const struct {
        const char* name;
        std::vector<int> unusableAt; // positions given a player with an empty Pot_SP
        const char* refuseUpdatesAt; // a trigger refusing updates of this position's rows
        const char* position;        // the one the message names
        const char* cause;
    } cases[] = {
        {"an empty rating in the later position", {kWR}, nullptr, "WR", "is empty"},
        {"empty in both, the later one first in the table", {kWR, kQB}, nullptr, "QB", "is empty"},
        {"the database refuses a row of the later position", {}, "6", "WR", "refused"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeague league;
        for (const int position : c.unusableAt) {
            PlayerRow empty = WithRatings(position, {50, 60}, {50, 60});
            empty[testing::Col("Pot_SP")] = Value{};
            league.AddPlayer(empty);
        }
        for (int i = 0; i < 3; ++i) {
            league.AddPlayer(WithRatings(kQB, {50, 60}, {50, 60}));
            league.AddPlayer(WithRatings(kWR, {50, 60}, {50, 60}));
        }
        if (c.refuseUpdatesAt)
            league.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Players WHEN OLD.Position = " +
                        std::string(c.refuseUpdatesAt) +
                        " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        GlobalEditInputs in;
        in.actualPercent[kSP] = 10;
        const int codes[] = {kWR, kQB};
        const std::string bytes = testing::FileContent(league.db());
        RecordingProgress progress;
        const LeagueError e =
            testing::Failure([&] { ApplyGlobalEditAsStep(league.db(), codes, in, &progress); });
        const std::string operation = "Global Edit of " + std::string(c.position) + " in";
        EXPECT_EQ(e.operation(), operation);
        EXPECT_EQ(e.file(), league.db());
        EXPECT_NE(e.cause().find(c.cause), std::string::npos) << e.cause();
        EXPECT_TRUE(testing::FileContent(league.db()) == bytes);
        // Each pass begun is ended; the preview refuses the same way.
        EXPECT_EQ(progress.ends, int(progress.captions.size()));
        if (!c.refuseUpdatesAt) {
            const auto preview = [&] { PreviewGlobalEditPositions(league.db(), codes, in); };
            EXPECT_EQ(testing::Failure(preview).operation(), "Previewing " + operation);
        }
    }
}

} // namespace
} // namespace tavrel
