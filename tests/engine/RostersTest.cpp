#include "reports/Rosters.h"

#include "TestFiles.h"
#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "store/Vocabulary.h"

#include <algorithm>
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

TEST(Rosters, ExactBytesOfASmallRoster) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("Bears"));
    // Team, position, names, college, ratings 7/80, years, age, height, weight.
    league.AddPlayer(MakePlayer({1, 6, "Lee", "Al", "Tech", 7, 80, 2, 24, 72, 190}));
    PlayerRow qb = MakePlayer({.team = 1, .position = 0});
    for (int k = 0; k < kRatingCount; ++k) {
        qb[testing::Col(ActualColumn(k))] = std::int64_t(10 + k);
        qb[testing::Col(PotentialColumn(k))] = std::int64_t(40 + k);
    }
    league.AddPlayer(qb);

    PrintRosters(league.db(), league.folder());
    EXPECT_EQ(FileContent(league.folder() / "Free Agents.txt"),
              "Free Agents\r\n \r\n" + kHead + kClosing);
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
    EXPECT_EQ(FileContent(league.folder() / "Bears.txt"), expected);
    std::string bears("Bears\0\0", 7); // one team's roster alone: the same bytes
    EXPECT_EQ(FileContent(PrintTeamRoster(league.db(), league.folder(), bears, 1)), expected);
}

// All rosters come from one pass over the players: each player lands in his own team's file, in
// position order and then file order, and a Team that is no team number in none. One run never
// writes two rosters into one file: the free agents keep "Free Agents.txt", a later team whose
// name is taken (exactly, or but for case) gets " (2)", " (3)" before ".txt". No name leaves the
// folder.
TEST(Rosters, EveryPlayerInHisTeamsFileAndEveryFileNamedOnce) {
    TestLeague league;
    const Value names[] = {
        std::string("Twins"),   std::string("Twins\0", 6), std::string("Free Agents"),
        std::string("TWINS"),   std::string("../x"),       std::string("a\\b:c*?\"<>|\x01\x7F"),
        std::string("\0\0", 2), std::string(".."),         Value{}};
    for (int row = 1; row <= 9; ++row) // team numbers 9 down to 1, in table order
        league.AddTeam(std::int64_t(10 - row), names[row - 1]);
    const struct {
        int team, position;
        const char* name;
    } players[] = {{9, 13, "S1a"}, {6, 6, "WR4a"}, {0, 0, "QB0"},  {9, 0, "QB1"},
                   {6, 0, "QB4"},  {9, 13, "S1b"}, {6, 6, "WR4b"}, {12, 0, "Nobody"}};
    for (const auto& p : players)
        league.AddPlayer(MakePlayer({.team = p.team, .position = p.position, .lastName = p.name}));
    league.Exec("UPDATE Players SET Team = 'x' WHERE rowid = 1"); // S1a now has no team
    const fs::path out = league.folder() / "out";
    fs::create_directory(out);

    const std::vector<std::string> files = {
        "Free Agents.txt", "Twins.txt", "Twins (2).txt",     "Free Agents (2).txt",
        "TWINS (3).txt",   ".._x.txt",  "a_b_c________.txt", "Team3.txt",
        "Team2.txt",       "Team1.txt"};
    std::vector<fs::path> paths;
    for (const std::string& file : files)
        paths.push_back(out / file);
    EXPECT_EQ(PrintRosters(league.db(), out), paths);
    std::vector<std::string> sorted = files;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(FileNames(out), sorted);
    EXPECT_EQ(FileNames(league.folder()), (std::vector<std::string>{"Tavrel.tmp", "out"}));

    const auto lastNames = [&](const std::string& file) {
        const std::string lines = FileContent(out / file);
        std::vector<std::string> found;
        for (std::size_t at = 0; (at = lines.find(", John", at)) != std::string::npos; ++at)
            found.push_back(lines.substr(lines.rfind(' ', at) + 1, at - lines.rfind(' ', at) - 1));
        return found;
    };
    EXPECT_EQ(lastNames("Free Agents.txt"), (std::vector<std::string>{"QB0"}));
    EXPECT_EQ(lastNames("Twins.txt"), (std::vector<std::string>{"QB1", "S1b"}));
    EXPECT_EQ(lastNames("Free Agents (2).txt"), std::vector<std::string>{});
    EXPECT_EQ(lastNames("TWINS (3).txt"), (std::vector<std::string>{"QB4", "WR4a", "WR4b"}));
    EXPECT_EQ(RosterFileName(".", 2), "Team2.txt");
    EXPECT_EQ(RosterFileName("Caf\xC2\x85", 1),
              "Caf_.txt"); // a control character of the upper half
}

// Names and colleges in Windows-1252; a college cut to thirty characters, trailing NULs removed.
TEST(Rosters, TextFields) {
    TestLeague league;
    league.AddTeam(std::int64_t(1), std::string("São Paulo"));
    league.AddPlayer(MakePlayer({.lastName = "Müller", .firstName = "José", .college = "Côte €"}));
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    league.AddPlayer(
        MakePlayer({.position = 1, .lastName = "A", .firstName = "B", .college = forty}));
    PlayerRow padded = MakePlayer({.position = 2, .lastName = "C", .firstName = "D"});
    padded[testing::Col("College")] = "Tech U  " + std::string(22, '\0') + "X";
    league.AddPlayer(padded);
    PrintRosters(league.db(), league.folder());

    const std::string roster = FileContent(league.folder() / "São Paulo.txt");
    EXPECT_TRUE(roster.starts_with("S\xE3o Paulo\r\n"));
    for (const std::string& line :
         {"QB M\xFCller, Jos\xE9" + std::string(13, ' ') + "3  25  74  210  C\xF4te \x80\r\n",
          "HB A, B       3  25  74  210  " + forty.substr(0, 30) + "\r\n",
          std::string("FB C, D       3  25  74  210  Tech U  \r\n")})
        EXPECT_NE(roster.find(line), std::string::npos) << line << roster;
}

TEST(Rosters, FailuresNameTheFileAndWriteNothing) {
    TestLeague league;
    const auto failedFile = [](const fs::path& db, const fs::path& folder) {
        return testing::Failure([&] { PrintRosters(db, folder); }).file();
    };
    const fs::path out = league.folder() / "out";
    EXPECT_EQ(failedFile(league.db(), out), out / "Free Agents.txt");
    fs::create_directory(out);
    EXPECT_EQ(failedFile(league.folder() / "absent.tmp", out), league.folder() / "absent.tmp");
    league.Exec("DROP TABLE Team");
    EXPECT_EQ(failedFile(league.db(), out), league.db());
    EXPECT_TRUE(FileNames(out).empty());
}

} // namespace
} // namespace tavrel
