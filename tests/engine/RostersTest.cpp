#include "reports/Rosters.h"

#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "store/Vocabulary.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::FileContent;
using testing::FileNames;
using testing::MakePlayer;
using testing::PlayerSpec;
using testing::TestLeague;

namespace fs = std::filesystem;

const std::string kHead = "Pos Name      Yr Age HT  WT   College\r\n"
                          "  SP AG VT FA DU DI RE PM  AS TA SC AW BC BT VI CA  PB RB PR PD TK RD "
                          "KA KD\r\n"
                          " \r\n";
const std::string kClosing = "Tavrel\r\nhttps://tavrel.example.org\r\n";

std::string EmptyRoster(const std::string& name) {
    return name + "\r\n \r\n" + kHead + kClosing;
}

// The roster's player lines: everything between the page head and the closing lines.
std::string PlayerLines(const std::string& roster, const std::string& name) {
    const std::size_t start = (name + "\r\n \r\n" + kHead).size();
    return roster.substr(start, roster.size() - start - kClosing.size());
}

TEST(Rosters, ExactBytesOfASmallRoster) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("Bears"));
    league.AddPlayer(MakePlayer({.team = 1,
                                 .position = 6,
                                 .lastName = "Lee",
                                 .firstName = "Al",
                                 .college = "Tech",
                                 .actual = 7,
                                 .potential = 80,
                                 .years = 2,
                                 .age = 24,
                                 .height = 72,
                                 .weight = 190}));
    PlayerRow qb = MakePlayer({.team = 1, .position = 0});
    for (int k = 0; k < kRatingCount; ++k) {
        qb[testing::Col(ActualColumn(k))] = std::int64_t(10 + k);
        qb[testing::Col(PotentialColumn(k))] = std::int64_t(40 + k);
    }
    league.AddPlayer(qb);

    const fs::path out = league.folder() / "out";
    fs::create_directory(out);
    EXPECT_EQ(PrintRosters(league.db(), out),
              (std::vector<fs::path>{out / "Free Agents.txt", out / "Bears.txt"}));

    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"Bears.txt", "Free Agents.txt"}));
    EXPECT_EQ(FileContent(out / "Free Agents.txt"), EmptyRoster("Free Agents"));
    // Players in position order; "QB Smith, John" fills a whole print zone, so the personal data
    // moves to the next one; the one-digit ratings are not padded.
    const std::string expected =
        "Bears\r\n \r\n" + kHead +
        "QB Smith, John              3  25  74  210  State\r\n"
        "  10 11 12 33 32 30 29 31  13 14 17 28 26 23 27 24  18 19 21 25 22 20 16 15\r\n"
        "  40 41 42 63 62 60 59 61  43 44 47 58 56 53 57 54  48 49 51 55 52 50 46 45\r\n"
        " \r\n"
        "WR Lee, Al    2  24  72  190  Tech\r\n"
        "  7 7 7 7 7 7 7 7  7 7 7 7 7 7 7 7  7 7 7 7 7 7 7 7\r\n"
        "  80 80 80 80 80 80 80 80  80 80 80 80 80 80 80 80  80 80 80 80 80 80 80 80\r\n"
        " \r\n" +
        kClosing;
    EXPECT_EQ(FileContent(out / "Bears.txt"), expected);
}

// All rosters come from one pass over the players: each player lands in his own team's file, in
// position order and then file order, and a Team that is no team number in none.
TEST(Rosters, EveryPlayerLandsInHisTeamInPositionThenFileOrder) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("Ones"));
    league.AddTeam(std::int64_t(2), std::string("Twos"));
    const struct {
        int team, position;
        const char* name;
    } players[] = {{2, 13, "S2a"}, {1, 6, "WR1a"}, {0, 0, "QB0"},  {2, 0, "QB2"},
                   {1, 0, "QB1"},  {2, 13, "S2b"}, {1, 6, "WR1b"}, {5, 0, "Nobody"}};
    for (const auto& p : players)
        league.AddPlayer(MakePlayer({.team = p.team, .position = p.position, .lastName = p.name}));
    league.Exec("UPDATE Players SET Team = 'x' WHERE rowid = 1"); // S2a now has no team
    PrintRosters(league.db(), league.folder());

    const auto names = [&](const std::string& team) {
        const std::string lines = PlayerLines(FileContent(league.folder() / (team + ".txt")), team);
        std::vector<std::string> found;
        for (std::size_t at = 0; (at = lines.find(", John", at)) != std::string::npos; ++at)
            found.push_back(lines.substr(lines.rfind(' ', at) + 1, at - lines.rfind(' ', at) - 1));
        return found;
    };
    EXPECT_EQ(names("Free Agents"), (std::vector<std::string>{"QB0"}));
    EXPECT_EQ(names("Ones"), (std::vector<std::string>{"QB1", "WR1a", "WR1b"}));
    EXPECT_EQ(names("Twos"), (std::vector<std::string>{"QB2", "S2b"}));
}

// One run never writes two rosters into one file: the free agents keep "Free Agents.txt", a later
// team whose name is taken (exactly, or but for case) gets " (2)", " (3)" before ".txt".
TEST(Rosters, TakenNamesGetANumberAndEveryFileIsListed) {
    TestLeague league;
    const struct {
        std::string team, file, player; // team 0, the free agents, has no name of its own
    } expected[] = {{"", "Free Agents.txt", "Loose"},
                    {"Twins", "Twins.txt", "First"},
                    {std::string("Twins\0", 6), "Twins (2).txt", "Second"},
                    {"Free Agents", "Free Agents (2).txt", "Named"},
                    {"TWINS", "TWINS (3).txt", "Loud"}};
    for (int team = 0; team < 5; ++team) {
        if (team > 0)
            league.AddTeam(std::int64_t(team), expected[team].team);
        league.AddPlayer(MakePlayer({.team = team, .lastName = expected[team].player}));
    }
    const auto written = PrintRosters(league.db(), league.folder());
    ASSERT_EQ(written.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(written[i], league.folder() / expected[i].file);
        const std::string roster = FileContent(written[i]);
        EXPECT_NE(roster.find(expected[i].player + ", John"), std::string::npos) << roster;
    }
}

TEST(Rosters, CollegeIsCutToThirtyWithTrailingNulsRemoved) {
    TestLeague league;
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    PlayerRow longName = MakePlayer({.team = 0, .lastName = "A", .firstName = "B"});
    longName[testing::Col("College")] = forty;
    league.AddPlayer(longName);
    PlayerRow padded = MakePlayer({.team = 0, .position = 1, .lastName = "C", .firstName = "D"});
    padded[testing::Col("College")] = "Tech U  " + std::string(22, '\0') + "X";
    league.AddPlayer(padded);
    PrintRosters(league.db(), league.folder());

    const std::string lines =
        PlayerLines(FileContent(league.folder() / "Free Agents.txt"), "Free Agents");
    EXPECT_NE(lines.find("QB A, B       3  25  74  210  " + forty.substr(0, 30) + "\r\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("HB C, D       3  25  74  210  Tech U  \r\n"), std::string::npos) << lines;
}

TEST(Rosters, TextIsWrittenInWindows1252) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("São Paulo"));
    league.AddPlayer(
        MakePlayer({.team = 1, .lastName = "Müller", .firstName = "José", .college = "Côte €"}));
    PrintRosters(league.db(), league.folder());
    const std::string roster = FileContent(league.folder() / "São Paulo.txt");
    EXPECT_TRUE(roster.starts_with("S\xE3o Paulo\r\n"));
    EXPECT_NE(roster.find("QB M\xFCller, Jos\xE9" + std::string(13, ' ') +
                          "3  25  74  210  C\xF4te \x80\r\n"),
              std::string::npos)
        << roster;
}

TEST(Rosters, FileNamesStayInsideTheFolder) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("../x"));
    league.AddTeam(std::int64_t(2), std::string("a\\b:c*?\"<>|\x01"));
    league.AddTeam(std::int64_t(5), std::string("\0\0", 2));
    league.AddTeam(std::int64_t(9), std::string(".."));
    league.AddTeam(std::int64_t(10), Value{});
    const fs::path out = league.folder() / "out";
    fs::create_directory(out);
    PrintRosters(league.db(), out);
    EXPECT_EQ(FileNames(out),
              (std::vector<std::string>{".._x.txt", "Free Agents.txt", "Team10.txt", "Team5.txt",
                                        "Team9.txt", "a_b_c_______.txt"}));
    EXPECT_EQ(FileNames(league.folder()), (std::vector<std::string>{"Tavrel.tmp", "out"}));
    EXPECT_EQ(RosterFileName("Caf\xC2\x85", 1),
              "Caf_.txt"); // a control character of the upper half
}

TEST(Rosters, FailuresNameTheFileAndWriteNothing) {
    TestLeague league;
    const fs::path out = league.folder() / "out";
    fs::create_directory(out);
    try {
        PrintRosters(league.folder() / "absent.tmp", out);
        FAIL();
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.file(), league.folder() / "absent.tmp");
    }
    league.Exec("DROP TABLE Team");
    EXPECT_THROW(PrintRosters(league.db(), out), LeagueError);
    EXPECT_TRUE(FileNames(out).empty());

    TestLeague fine;
    try {
        PrintRosters(fine.db(), fine.folder() / "missing");
        FAIL();
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.file(), fine.folder() / "missing" / "Free Agents.txt");
    }
}

} // namespace
} // namespace tavrel
