#include "store/CellChanges.h"

#include "LeagueFixtures.h"
#include "TestLeague.h"

namespace tavrel {
namespace {

using namespace std::string_literals;
using testing::Col;
using testing::Failure;
using testing::ReadPlayers;
using testing::TestLeague;

struct Fixture {
    TestLeague league;
    std::int64_t a, b, c;
    Fixture() {
        a = league.AddPlayer(1, 10, "Able"s + std::string(21, '\0'), "Al", "QB");
        b = league.AddPlayer(2, 20, "Baker", "Bo", "WR");
        c = league.AddPlayer(0, 30, "Cole", "Cy", "K");
    }
};

TEST(CellChanges, AfterThenBeforeRestoresTheTableExactly) {
    Fixture f;
    const std::vector<PlayerRow> original = ReadPlayers(f.league.db());
    const std::string padded = "Zed"s + std::string(22, '\0');
    const CellChanges changes = {
        {f.a, Col("Act_SP"), std::int64_t{50}, std::int64_t{77}},
        {f.a, Col("LastName"), "Able"s + std::string(21, '\0'), padded},
        {f.c, Col("Pot_FA"), std::int64_t{60}, std::int64_t{0}},
        {f.a, Col("Pot_SP"), std::int64_t{60}, std::int64_t{99}}, // row a again, later
    };
    for (const bool throughStore : {false, true}) {
        if (throughStore)
            PlayerRowStore(f.league.db()).WriteChanges(changes, CellSide::After);
        else
            WriteCellChanges(f.league.db(), changes, CellSide::After);
        std::vector<PlayerRow> expected = original;
        expected[0][Col("Act_SP")] = std::int64_t{77};
        expected[0][Col("LastName")] = padded;
        expected[0][Col("Pot_SP")] = std::int64_t{99};
        expected[2][Col("Pot_FA")] = std::int64_t{0};
        EXPECT_EQ(ReadPlayers(f.league.db()), expected);

        WriteCellChanges(f.league.db(), changes, CellSide::Before);
        EXPECT_EQ(ReadPlayers(f.league.db()), original);
    }
    // A cell listed twice ends at its last After and goes back to its first Before.
    const CellChanges twice = {{f.b, Col("Act_AG"), std::int64_t{50}, std::int64_t{60}},
                               {f.a, Col("Act_AG"), std::int64_t{50}, std::int64_t{51}},
                               {f.b, Col("Act_AG"), std::int64_t{60}, std::int64_t{70}}};
    WriteCellChanges(f.league.db(), twice, CellSide::After);
    EXPECT_EQ(f.league.Number(f.b, "Act_AG"), 70);
    EXPECT_EQ(f.league.Number(f.a, "Act_AG"), 51);
    WriteCellChanges(f.league.db(), twice, CellSide::Before);
    EXPECT_EQ(ReadPlayers(f.league.db()), original);
}

TEST(CellChanges, AFailureAnywhereLeavesTheWholeTableAsItWas) {
    Fixture f;
    const std::vector<PlayerRow> original = ReadPlayers(f.league.db());
    const CellChange good{f.a, Col("Act_SP"), std::int64_t{50}, std::int64_t{1}};
    const struct {
        const char* what;
        CellChange bad;
    } cases[] = {
        {"a row that is gone", {999, Col("Act_SP"), std::int64_t{50}, std::int64_t{1}}},
        {"a column below the table", {f.b, -1, std::int64_t{50}, std::int64_t{1}}},
        {"a column past the table", {f.b, kPlayersColumnCount, std::int64_t{0}, std::int64_t{1}}},
    };
    for (const auto& c : cases) {
        for (const CellSide side : {CellSide::After, CellSide::Before}) {
            SCOPED_TRACE(c.what);
            const CellChanges changes = {good, c.bad, good};
            EXPECT_EQ(Failure([&] { WriteCellChanges(f.league.db(), changes, side); }).file(),
                      f.league.db());
            EXPECT_EQ(ReadPlayers(f.league.db()), original);
        }
    }
    EXPECT_THROW(WriteCellChanges(f.league.folder() / "none.tmp", {good}, CellSide::After),
                 LeagueError);
}

TEST(CellChanges, SnapshotsBeforeAndAfterAPassGiveExactlyTheChangedCells) {
    Fixture f;
    const std::vector<int> columns = {Col("Act_SP"), Col("Pot_SP"), Col("FirstName")};
    const ColumnSnapshot before = TakeColumnSnapshot(f.league.db(), {f.c, f.a}, columns);
    f.league.Exec("UPDATE Players SET Pot_SP = 61, Act_AG = 1");
    f.league.Exec("UPDATE Players SET FirstName = 'Ann' WHERE PID = 10");
    const ColumnSnapshot after = TakeColumnSnapshot(f.league.db(), before.rowIds, columns);

    using Cell = std::tuple<std::int64_t, int, Value, Value>;
    std::vector<Cell> changes;
    for (const CellChange& c : ChangedCells(before, after))
        changes.emplace_back(c.rowId, c.column, c.before, c.after);
    const Value sixty = std::int64_t{60}, sixtyOne = std::int64_t{61};
    // Act_AG is not in the snapshot, row b not either.
    EXPECT_EQ(changes, (std::vector<Cell>{{f.c, Col("Pot_SP"), sixty, sixtyOne},
                                          {f.a, Col("Pot_SP"), sixty, sixtyOne},
                                          {f.a, Col("FirstName"), "Al"s, "Ann"s}}));

    ColumnSnapshot other = after;
    other.columns.pop_back();
    EXPECT_THROW(ChangedCells(before, other), std::invalid_argument);
    EXPECT_EQ(Failure([&] {
                  TakeColumnSnapshot(f.league.db(), {f.a, 999}, columns);
              }).cause(),
              "row 999 is gone");
}

} // namespace
} // namespace tavrel
