#include "store/PlayerRowStore.h"

#include "LeagueFixtures.h"
#include "TestLeague.h"
#include "store/TeamChoices.h"
#include "store/Vocabulary.h"

#include <thread>

namespace tavrel {
namespace {

using namespace std::string_literals;
using testing::Col;
using testing::TestLeague;

TEST(PlayerRowStore, ReadsRowsInTableOrderAndWritesOneValue) {
    TestLeague league;
    const std::string padded = "Lee"s + std::string(12, '\0');
    const std::int64_t zed = league.AddPlayer(0, 300, "Zed", padded, "QB");
    const std::int64_t abe = league.AddPlayer(2, 100, "Abe", "Al", "K");
    const std::int64_t dup = league.AddPlayer(2, 300, "Dup", "Second", "P");
    const std::int64_t none = league.AddPlayer(2, 0, "None", "No", "P");
    league.Exec("UPDATE Players SET PID = 'x' WHERE rowid = " + std::to_string(none));

    PlayerRowStore store(league.db());
    EXPECT_EQ(testing::Pairs(store.RowKeys()),
              (testing::KeyPairs{{zed, 300}, {abe, 100}, {dup, 300}, {none, std::nullopt}}));
    const PlayerRow first = store.ReadRow(zed);
    EXPECT_EQ(std::get<std::string>(first[Col("FirstName")]), padded);
    EXPECT_EQ(std::get<std::int64_t>(first[Col("PID")]), 300);

    // The one value changes; every other column of every row is as it was.
    PlayerRow expected = store.ReadRow(abe);
    store.WriteValue(abe, Col("Act_SP"), std::int64_t{77});
    expected[Col("Act_SP")] = std::int64_t{77};
    EXPECT_EQ(store.ReadRow(abe), expected);
    EXPECT_EQ(store.ReadRow(zed), first);

    EXPECT_THROW(store.WriteValue(9999, Col("Act_SP"), std::int64_t{1}), LeagueError);
    EXPECT_THROW(store.ReadRow(9999), LeagueError);
}

TEST(PlayerRowStore, NeverBlocksAnotherConnectionThatWrites) {
    TestLeague league;
    const std::int64_t id = league.AddPlayer(0, 1, "A", "B", "QB");
    PlayerRowStore store(league.db());
    store.RowKeys();
    store.ReadRow(id);
    store.WriteValue(id, Col("Pot_SP"), std::int64_t{5});

    SQLite::Database other(league.db().string(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN IMMEDIATE; UPDATE Players SET Act_AG = 9; COMMIT;");
    EXPECT_EQ(std::get<std::int64_t>(store.ReadRow(id)[Col("Act_AG")]), 9);

    other.exec("BEGIN IMMEDIATE"); // a writer that holds the database a moment is waited for
    std::thread commit([&] { usleep(200000), other.exec("COMMIT"); });
    EXPECT_NO_THROW(store.WriteValue(id, Col("Pot_SP"), std::int64_t{6}));
    commit.join();
}

TEST(PlayerRowStore, AMissingOrForeignDatabaseIsReportedByName) {
    TestLeague league;
    const auto missing = league.folder() / "gone.tmp";
    EXPECT_EQ(testing::Failure([&] { PlayerRowStore store(missing); }).file(), missing);
    EXPECT_FALSE(std::filesystem::exists(missing));

    const auto empty = league.folder() / "empty.tmp";
    { SQLite::Database make(empty.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE); }
    EXPECT_THROW(PlayerRowStore{empty}, LeagueError);
}

TEST(TeamChoices, OneEntryPerNameInNameOrderWithTheFirstRowsId) {
    TestLeague league;
    league.AddTeam(7, "Wolves"s + std::string(14, '\0'));
    league.AddTeam(3, "Bears"s + std::string(15, ' '));
    league.AddTeam(9, "Bears"s + std::string(15, '\0'));
    league.AddTeam(4, std::string(20, '\0'));
    league.AddTeam(5, std::monostate{});
    league.AddTeam(1, "Colts");
    std::vector<std::pair<std::string, int>> teams;
    for (const TeamChoice& t : ReadTeamChoices(league.db()))
        teams.emplace_back(t.name, t.teamId);
    EXPECT_EQ(teams, (std::vector<std::pair<std::string, int>>{
                         {"Bears", 3}, {"Colts", 1}, {"Wolves", 7}}));

    EXPECT_THROW(ReadTeamChoices(league.folder() / "gone.tmp"), LeagueError);
}

// The window's reports and undo steps name teams, positions and columns in the user's words.
TEST(TeamChoices, ReportsNameTeamsPositionsAndColumnsAsTheFormDoes) {
    TestLeague league;
    league.AddTeam(7, "Wolves"s + std::string(14, '\0'));
    league.AddTeam(7, "Later"); // a number's first row names it
    league.AddTeam(3, "Bears");
    league.AddTeam(std::monostate{}, "Nobody");
    const TeamNames teams = TeamNames::Read(league.db());
    EXPECT_EQ(teams.Shown(7), "Wolves (7)");
    EXPECT_EQ(teams.Shown(0), "Free Agents (0)");
    EXPECT_EQ(teams.Shown(40), "team 40");
    const auto named = [&teams](const char* column, const Value& value) {
        return NamedValue(Col(column), value, teams);
    };
    EXPECT_EQ(named("Team", std::int64_t{3}), "Bears (3)");
    EXPECT_EQ(named("Team", std::int64_t{1000}), "team 1000");
    EXPECT_EQ(named("Position", std::int64_t{6}), "WR");
    EXPECT_EQ(named("Position", std::int64_t{15}), "position code 15");
    EXPECT_EQ(named("Position", std::int64_t{1} << 32), "position code 4294967296");
    EXPECT_EQ(named("Team", Value{}), std::nullopt);
    EXPECT_EQ(named("Act_SP", std::int64_t{3}), std::nullopt);
    EXPECT_THROW(TeamNames::Read(league.folder() / "gone.tmp"), LeagueError);

    // The ratings' first and last columns of either block, and the columns around them.
    const std::pair<const char*, const char*> captions[] = {
        {"INJStatus", "INJStatus"},
        {"Pot_SP", "Potential Speed"},
        {"Pot_FA", "Potential Fatigue"},
        {"Act_SP", "Actual Speed"},
        {"Act_FA", "Actual Fatigue"},
        {"AGE", "Age"},
        {"FirstName", "First Name"},
        {"PositionTXT", "Position Text"},
        {"Act_52", "Act_52"},
    };
    for (const auto& [column, caption] : captions)
        EXPECT_EQ(ColumnCaption(Col(column)), caption) << column;
    EXPECT_EQ(CellEditText(Col("Pot_AG"), "John Smith"), "Change Potential Agility of John Smith");
}

} // namespace
} // namespace tavrel
