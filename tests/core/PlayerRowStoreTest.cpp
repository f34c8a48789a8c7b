#include "store/PlayerRowStore.h"

#include "LeagueFixtures.h"
#include "TestLeague.h"
#include "store/TeamChoices.h"

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

} // namespace
} // namespace tavrel
