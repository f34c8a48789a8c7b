// Runs the built tavrel-cli on leagues it generates or the test writes byte by byte, as a script
// would.
#include "CliRunner.h"
#include "TestFiles.h"
#include "TestPlayers.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::FileContent;
using testing::WriteFileContent;

std::string Text(const testing::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        tmp_ = Folder("tmp");
    }

    // Every run, failed or not, leaves its temporary folder empty.
    void TearDown() override {
        EXPECT_TRUE(fs::is_empty(tmp_)) << "tavrel-cli left files in its temporary folder";
    }

    fs::path Folder(const std::string& name) {
        const fs::path dir = fs::path(root_.path().toStdString()) / name;
        fs::create_directories(dir);
        return dir;
    }

    CliResult Run(const std::vector<std::string>& args, const fs::path& workingFolder = {}) {
        return testing::RunCli(TAVREL_CLI, args, {.workingFolder = workingFolder, .tmpDir = tmp_});
    }

    // A league of the team Bears (1) and the records given.
    fs::path League(const std::string& name, const std::vector<testing::Bytes>& records) {
        const fs::path dir = Folder(name);
        WriteFileContent(dir / (name + ".lge"), Text(testing::TeamBlock(1, "Bears", "Coach One")));
        WriteFileContent(dir / (name + ".ply"), Text(testing::PlayerFile(records)));
        return dir / (name + ".lge");
    }

    // One player, the worked example, named Smith; both names padded with NULs.
    fs::path Tiny() {
        testing::Bytes record = testing::WorkedExampleRecord(45, 60, 7, 255);
        testing::Put(record, 23, "Smith");
        return League("Tiny", {record});
    }

    // A failure is one line on standard error naming `file`, and nothing on standard output.
    void ExpectFailure(const CliResult& r, const fs::path& file) {
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.err.starts_with("tavrel-cli: ")) << r.err;
        EXPECT_NE(r.err.find(file.string()), std::string::npos) << r.err;
    }

    QTemporaryDir root_;
    fs::path tmp_;
};

TEST_F(Cli, InfoDescribesTheLeague) {
    const fs::path league = Tiny();
    const CliResult r = Run({"info", league.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "League file: " + league.string() +
                         "\nPlayer file: " + (league.parent_path() / "Tiny.ply").string() +
                         "\nTeams: 1\nPlayers: 1\nTrailing bytes: 0\n"
                         "Header: 48 44 52 00 01 02 FF 80 09 0A 0B 0C\n");
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, DumpGivesTheTablesAsImported) {
    const fs::path league = Tiny();
    const CliResult teams = Run({"dump", league.string(), "--table", "teams"});
    ASSERT_EQ(teams.status, 0) << teams.err;
    EXPECT_EQ(teams.out, "{\"TeamID\":1,\"TeamName\":\"Bears" + testing::JsonNuls(15) +
                             "\",\"Coach\":\"Coach One" + testing::JsonNuls(21) + "\"}\n");
    const CliResult teamsCsv = Run({"dump", league.string(), "--table=teams", "--format=csv"});
    ASSERT_EQ(teamsCsv.status, 0) << teamsCsv.err;
    EXPECT_EQ(teamsCsv.out, "TeamID,TeamName,Coach\r\n1,Bears,Coach One\r\n");

    const CliResult players = Run({"dump", league.string()});
    ASSERT_EQ(players.status, 0) << players.err;
    const auto row = nlohmann::json::parse(players.out); // one line: a second would not parse
    ASSERT_EQ(row.size(), 90u);
    EXPECT_EQ(row["PID"], 10000);
    EXPECT_EQ(row["PositionTXT"], "S");
    EXPECT_EQ(row["Pot_FA"], 255);

    const CliResult csv = Run({"dump", league.string(), "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_TRUE(csv.out.starts_with("Team,PID,JNum,FirstName,LastName,Years,Position,INJ_Sev,"
                                    "INJ_Type,INJ_Week,INJStatus,Pot_SP,"))
        << csv.out;
    EXPECT_NE(csv.out.find("\r\n0,10000,,John,Smith,0,13,,,,,60,0,"), std::string::npos) << csv.out;
}

// Trailing bytes are reported, and saved back with the rest.
TEST_F(Cli, SaveAsWritesTheSamePlayerFileAndLeavesTheLeagueAlone) {
    const fs::path league = Folder("small") / "Demo.lge";
    const CliResult demo =
        Run({"demo", Folder("small").string(), "--teams", "3", "--players", "20"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    EXPECT_EQ(demo.out, league.string() + "\n");
    const fs::path players = league.parent_path() / "Demo.ply";
    WriteFileContent(players, FileContent(players) + "\x01" + std::string(99, '\x7F'));
    const std::string leagueBytes = FileContent(league);
    const std::string playerBytes = FileContent(players);
    const CliResult info = Run({"info", league.string()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\nTeams: 3\nPlayers: 20\nTrailing bytes: 100\n"), std::string::npos)
        << info.out;

    const fs::path out = Folder("out") / "Copy.ply";
    WriteFileContent(out, std::string(1000000, 'x')); // replaced whole
    const CliResult r = Run({"save-as", league.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(FileContent(out) == playerBytes) << "the copy differs from the player file";
    EXPECT_TRUE(FileContent(league) == leagueBytes);
    EXPECT_TRUE(FileContent(players) == playerBytes);
    EXPECT_FALSE(fs::exists(league.parent_path() / "Demo.sw$"));
}

TEST_F(Cli, BadLeaguesFailWithOneLineNamingTheFile) {
    const fs::path league = Tiny();
    const fs::path bad = Folder("bad");
    const std::string ply = FileContent(league.parent_path() / "Tiny.ply");
    const std::string lge = FileContent(league);
    WriteFileContent(bad / "Missing.ply", ply); // no league file
    WriteFileContent(bad / "Alone.lge", lge);   // no player file
    fs::create_directory(bad / "Folder.lge");
    WriteFileContent(bad / "Folder.ply", ply);
    WriteFileContent(bad / "Odd.lge", lge);
    fs::create_directory(bad / "Odd.ply");
    WriteFileContent(bad / "Short.lge", lge);
    WriteFileContent(bad / "Short.ply", "PLY"); // shorter than its header
    const std::pair<const char*, const char*> cases[] = {{"Missing.lge", "Missing.lge"},
                                                         {"Alone.lge", "Alone.ply"},
                                                         {"Folder.lge", "Folder.lge"},
                                                         {"Odd.lge", "Odd.ply"},
                                                         {"Short.lge", "Short.ply"}};
    for (const auto& [given, blamed] : cases)
        for (const char* command : {"info", "dump"})
            ExpectFailure(Run({command, (bad / given).string()}), bad / blamed);

    ExpectFailure(Run({"demo", (bad / "many").string(), "--teams", "256"}), bad / "many");
    ExpectFailure(Run({"demo", (bad / "crowd").string(), "--players", "32001"}), bad / "crowd");
    ExpectFailure(Run({"demo", (bad / "Short.ply").string()}), bad / "Short.ply");
    EXPECT_FALSE(fs::exists(bad / "many"));
    EXPECT_FALSE(fs::exists(bad / "crowd"));
}

TEST_F(Cli, FailedSaveAsCreatesAndChangesNothing) {
    const fs::path league = Tiny();
    const fs::path players = league.parent_path() / "Tiny.ply";
    const std::string playerBytes = FileContent(players);
    const fs::path out = Folder("out");

    // The league cannot be read: an absent OUT stays absent, an existing one unchanged.
    const fs::path missing = Folder("none") / "Missing.lge";
    fs::copy_file(players, Folder("none") / "Missing.ply");
    ExpectFailure(Run({"save-as", missing.string(), (out / "New.ply").string()}), missing);
    EXPECT_FALSE(fs::exists(out / "New.ply"));
    WriteFileContent(out / "Old.ply", "keep me");
    ExpectFailure(Run({"save-as", missing.string(), (out / "Old.ply").string()}), missing);
    EXPECT_EQ(FileContent(out / "Old.ply"), "keep me");

    // OUT cannot be written, or is one of the league's own files, however it is spelled.
    const fs::path nowhere = out / "no such folder" / "Copy.ply";
    const fs::path spelledOtherwise = league.parent_path() / ".." / "tiny" / "Tiny.ply";
    for (const fs::path& target : {nowhere, out, spelledOtherwise, league})
        ExpectFailure(Run({"save-as", league.string(), target.string()}), target);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    EXPECT_TRUE(FileContent(players) == playerBytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
}

// The worked example moved to `team` and `position` (bytes 4 and 94), PID 10000 + n.
testing::Bytes Player(std::uint8_t n, std::uint8_t team, std::uint8_t position,
                      std::uint8_t actualSP, std::uint8_t actualFA = 7,
                      std::uint8_t potentialFA = 255) {
    testing::Bytes record = testing::WorkedExampleRecord(actualSP, 60, actualFA, potentialFA);
    record[0] += n;
    record[4] = team;
    record[94] = position;
    return record;
}

constexpr std::uint8_t kQB = 0, kS = 13;

// Out to a file of its own, then in place after a backup; players left out by team only, by
// position only and by both stay as they were.
TEST_F(Cli, GlobalEditWritesOutOrBacksUpThenSavesInPlace) {
    const std::vector<testing::Bytes> before = {Player(0, 0, kS, 45), Player(1, 1, kS, 45),
                                                Player(2, 1, kQB, 45), Player(3, 0, kQB, 45)};
    const fs::path league = League("Edit", before);
    const fs::path out = Folder("out") / "Edited.ply";
    const CliResult r = Run({"global-edit", league.string(), "--positions", "S,QB", "--team", "1",
                             "--act", "SP=10", "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "QB: 1 of 1 players changed\nS: 1 of 1 players changed\n"); // check-box order
    EXPECT_EQ(FileContent(out), Text(testing::PlayerFile({before[0], Player(1, 1, kS, 50),
                                                          Player(2, 1, kQB, 50), before[3]})));
    EXPECT_EQ(FileContent(league.parent_path() / "Edit.ply"), Text(testing::PlayerFile(before)));
    EXPECT_EQ(testing::FileNames(league.parent_path()),
              (std::vector<std::string>{"Edit.lge", "Edit.ply"}));

    // Options before LEAGUE take one value each.
    const CliResult inPlace =
        Run({"global-edit", "--act", "sp=-50", "--act", "FA=100", "--positions", "S",
             league.string(), "--team", "free", "--act-min", "30"});
    ASSERT_EQ(inPlace.status, 0) << inPlace.err;
    EXPECT_EQ(inPlace.out, "S: 1 of 1 players changed\n");
    EXPECT_EQ(FileContent(league.parent_path() / "Edit.sw$"), Text(testing::PlayerFile(before)));
    EXPECT_EQ(
        FileContent(league.parent_path() / "Edit.ply"),
        Text(testing::PlayerFile({Player(0, 0, kS, 30, 30, 99), before[1], before[2], before[3]})));
}

TEST_F(Cli, GlobalEditRefusalsWriteNothing) {
    const fs::path league = Tiny();
    const std::string playerBytes = FileContent(league.parent_path() / "Tiny.ply");
    const CliResult r =
        Run({"global-edit", league.string(), "--positions", "QB", "--act-max", "256"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--act-max"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Please Enter a Valid Number"), std::string::npos) << r.err;

    const fs::path missing = Folder("none") / "Missing.lge";
    const fs::path out = Folder("out") / "Edited.ply";
    ExpectFailure(Run({"global-edit", missing.string(), "--positions", "QB", "--act", "SP=10",
                       "--out", out.string()}),
                  missing);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(FileContent(league.parent_path() / "Tiny.ply"), playerBytes);
    EXPECT_EQ(testing::FileNames(league.parent_path()),
              (std::vector<std::string>{"Tiny.lge", "Tiny.ply"}));
}

TEST_F(Cli, RostersWritesOneFilePerTeamIntoTheFolder) {
    const fs::path league = Tiny();
    const fs::path out = Folder("out") / "rosters";
    const CliResult r = Run({"rosters", league.string(), "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              (out / "Free Agents.txt").string() + "\n" + (out / "Bears.txt").string() + "\n");
    EXPECT_EQ(testing::FileNames(out), (std::vector<std::string>{"Bears.txt", "Free Agents.txt"}));
    const std::string freeAgents = FileContent(out / "Free Agents.txt");
    EXPECT_NE(freeAgents.find("\r\nS Smith, John 0  0  0  210  \r\n  45 0 0 7 "), std::string::npos)
        << freeAgents;

    // By default into the current folder.
    ASSERT_EQ(Run({"rosters", league.string()}, Folder("here")).status, 0);
    EXPECT_TRUE(fs::exists(Folder("here") / "Free Agents.txt"));
}

} // namespace
} // namespace tavrel
