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

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
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

    CliResult Run(const std::vector<std::string>& args) {
        return testing::RunCli(TAVREL_CLI, args, {.tmpDir = tmp_});
    }

    // Writes the demo league into a folder of the test and returns its league file.
    fs::path Demo(const std::string& folder = "league",
                  const std::vector<std::string>& options = {}) {
        std::vector<std::string> args = {"demo", Folder(folder).string()};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, (Folder(folder) / "Demo.lge").string() + "\n");
        return Folder(folder) / "Demo.lge";
    }

    // A league of one team and one player, the worked example, named Smith; both names padded
    // with NULs.
    fs::path Tiny() {
        const fs::path dir = Folder("tiny");
        const testing::Bytes league = testing::TeamBlock(1, "Bears", "Coach One");
        WriteFileContent(dir / "Tiny.lge", std::string(league.begin(), league.end()));
        testing::Bytes record = testing::WorkedExampleRecord(45, 60, 7, 255);
        testing::Put(record, 23, "Smith");
        const testing::Bytes players = testing::PlayerFile({record});
        WriteFileContent(dir / "Tiny.ply", std::string(players.begin(), players.end()));
        return dir / "Tiny.lge";
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
    EXPECT_EQ(teams.out, "{\"TeamID\":1,\"TeamName\":\"Bears" + Repeat("\\u0000", 15) +
                             "\",\"Coach\":\"Coach One" + Repeat("\\u0000", 21) + "\"}\n");
    const CliResult teamsCsv = Run({"dump", league.string(), "--table=teams", "--format=csv"});
    ASSERT_EQ(teamsCsv.status, 0) << teamsCsv.err;
    EXPECT_EQ(teamsCsv.out, "TeamID,TeamName,Coach\r\n1,Bears,Coach One\r\n");

    const CliResult players = Run({"dump", league.string()});
    ASSERT_EQ(players.status, 0) << players.err;
    ASSERT_EQ(std::count(players.out.begin(), players.out.end(), '\n'), 1) << players.out;
    const auto row = nlohmann::ordered_json::parse(players.out);
    ASSERT_EQ(row.size(), 90u);
    const std::vector<std::string> firstKeys = {"Team",     "PID",      "JNum",      "FirstName",
                                                "LastName", "Years",    "Position",  "INJ_Sev",
                                                "INJ_Type", "INJ_Week", "INJStatus", "Pot_SP"};
    auto key = row.begin();
    for (const std::string& name : firstKeys)
        EXPECT_EQ((key++).key(), name);
    EXPECT_EQ(row["PID"], 10000);
    EXPECT_EQ(row["PositionTXT"], "S");
    EXPECT_EQ(row["Pot_FA"], 255);

    const CliResult csv = Run({"dump", league.string(), "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_TRUE(csv.out.starts_with("Team,PID,JNum,FirstName,LastName,Years,Position,INJ_Sev,"))
        << csv.out;
    EXPECT_NE(csv.out.find("\r\n0,10000,,John,Smith,0,13,,,,,60,0,"), std::string::npos) << csv.out;
}

// Trailing bytes are reported, and saved back with the rest.
TEST_F(Cli, SaveAsWritesTheSamePlayerFileAndLeavesTheLeagueAlone) {
    const fs::path league = Demo("small", {"--teams", "3", "--players", "20"});
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

    ExpectFailure(Run({"demo", (bad / "many").string(), "--teams", "300"}), bad / "many");
    EXPECT_FALSE(fs::exists(bad / "many" / "Demo.lge"));
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

} // namespace
} // namespace tavrel
