// Runs the built tavrel-cli on leagues it generates, as a script would.
#include "CliRunner.h"
#include "TestFiles.h"
#include "TestPlayers.h"
#include "league/PlayerRecord.h"
#include "league/Windows1252.h"
#include "store/PlayersTable.h"
#include "store/Text.h"

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::CliResult;
using testing::FileContent;
using testing::WriteFileContent;

std::vector<std::string> Lines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        lines.push_back(text.substr(at, next - at));
        at = next == std::string::npos ? text.size() : next + end.size();
    }
    return lines;
}

// Reads RFC 4180 records: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (i + 1 < text.size())
                records.emplace_back(1);
        } else {
            field += c;
        }
    }
    return records;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    char pair[4];
    for (const char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
        text += (text.empty() ? "" : " ") + std::string(pair);
    }
    return text;
}

// What the dump shows of a record, worked out here from the bytes rather than with the program's
// decoder: text from Windows-1252 by the code page's table, numbers from their offsets.
std::string Utf8Of(const testing::Record& r, int offset, int width) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string text;
    for (int i = 0; i < width; ++i) {
        const unsigned b = r[offset + i];
        const unsigned cp = b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : b;
        if (cp < 0x80) {
            text += char(cp);
        } else if (cp < 0x800) {
            text += {char(0xC0 | cp >> 6), char(0x80 | (cp & 0x3F))};
        } else {
            text +=
                {char(0xE0 | cp >> 12), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
        }
    }
    return text;
}

nlohmann::json ExpectedCells(const testing::Record& r) {
    const auto s16 = [&r](int at) { return std::int16_t(r[at] | r[at + 1] << 8); };
    static const char* const kPositions[] = {"QB", "HB", "FB", "C",  "G",  "T", "WR", "TE",
                                             "K",  "DE", "DT", "LB", "CB", "S", "P"};
    return {{"Team", r[4]},
            {"PID", s16(0)},
            {"JNum", nullptr},
            {"FirstName", Utf8Of(r, 8, 15)},
            {"LastName", Utf8Of(r, 23, 25)},
            {"Years", r[225]},
            {"Position", r[94]},
            {"INJStatus", nullptr},
            {"Pot_SP", r[243]},
            {"Pot_FA", r[289]},
            {"Act_SP", r[175]},
            {"Act_FA", r[221]},
            {"AGE", r[223]},
            {"Height", r[82]},
            {"Weight", s16(86)},
            {"Head", Utf8Of(r, 127, 5)},
            {"College", Utf8Of(r, 48, 31)},
            {"PositionTXT", r[94] < 15 ? kPositions[r[94]] : ""},
            {"rPID_1", r[1]},
            {"Unknown0", s16(2)},
            {"Unknown9", Utf8Of(r, 302, 64)},
            {"Pot_52", r[295]},
            {"Act_58", r[233]}};
}

std::vector<testing::Record> Records(const fs::path& playerFile) {
    return testing::PlayerFileRecords(FileContent(playerFile));
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

TEST_F(Cli, InfoDescribesTheDemoLeague) {
    const fs::path league = Demo();
    const fs::path players = league.parent_path() / "Demo.ply";
    const CliResult r = Run({"info", league.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "League file: " + league.string() + "\nPlayer file: " + players.string() +
                         "\nTeams: 32\nPlayers: 1700\nTrailing bytes: 0\nHeader: " +
                         Hex(FileContent(players).substr(0, 12)) + "\n");
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, DumpJsonlGivesEveryColumnAsImported) {
    const fs::path league = Demo();
    const std::vector<testing::Record> records = Records(league.parent_path() / "Demo.ply");
    const CliResult r = Run({"dump", league.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), records.size());
    EXPECT_NE(r.out.find("\\u0000"), std::string::npos); // NUL padding is kept

    for (std::size_t n = 0; n < lines.size(); ++n) {
        const auto row = nlohmann::ordered_json::parse(lines[n]);
        ASSERT_EQ(row.size(), std::size_t(kPlayersColumnCount));
        int i = 0;
        for (const auto& [key, value] : row.items())
            EXPECT_EQ(key, kPlayersColumns[i++].name);
        const nlohmann::json expected = ExpectedCells(records[n]);
        for (const auto& [key, value] : expected.items())
            EXPECT_EQ(row[key].dump(), value.dump()) << "row " << n << " " << key;
    }
}

TEST_F(Cli, DumpTeamsAndCsv) {
    const fs::path league = Demo();
    const CliResult teams = Run({"dump", league.string(), "--table", "teams"});
    ASSERT_EQ(teams.status, 0) << teams.err;
    const std::vector<std::string> lines = Lines(teams.out);
    ASSERT_EQ(lines.size(), 32u);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const auto team = nlohmann::ordered_json::parse(lines[n]);
        EXPECT_EQ(team.begin().key(), "TeamID");
        EXPECT_EQ(team["TeamID"], n + 1);
        EXPECT_EQ(CharacterCount(team["TeamName"].get<std::string>()), 20u);
        EXPECT_EQ(CharacterCount(team["Coach"].get<std::string>()), 30u);
    }

    const CliResult csv = Run({"dump", league.string(), "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.find('\0'), std::string::npos); // the demo has NULs only as padding
    const auto records = ParseCsv(csv.out);
    const std::vector<testing::Record> players = Records(league.parent_path() / "Demo.ply");
    ASSERT_EQ(records.size(), players.size() + 1);
    for (int i = 0; i < kPlayersColumnCount; ++i)
        EXPECT_EQ(records[0][i], kPlayersColumns[i].name);
    for (std::size_t n = 0; n < players.size(); ++n) {
        ASSERT_EQ(records[n + 1].size(), std::size_t(kPlayersColumnCount)) << "row " << n;
        const nlohmann::json cells = ExpectedCells(players[n]);
        for (const auto& [key, value] : cells.items()) {
            std::string expected = value.is_string() ? value.get<std::string>()
                                   : value.is_null() ? std::string()
                                                     : value.dump();
            EXPECT_EQ(records[n + 1][*PlayersColumnIndex(key)], StripTrailingNulls(expected))
                << "row " << n << " " << key;
        }
    }

    const CliResult csvTeams = Run({"dump", league.string(), "--table=teams", "--format=csv"});
    ASSERT_EQ(csvTeams.status, 0) << csvTeams.err;
    EXPECT_TRUE(csvTeams.out.starts_with("TeamID,TeamName,Coach\r\n1,"));
    EXPECT_EQ(ParseCsv(csvTeams.out).size(), 33u);
}

TEST_F(Cli, SaveAsWritesTheSamePlayerFileAndLeavesTheLeagueAlone) {
    const fs::path league = Demo();
    const fs::path players = league.parent_path() / "Demo.ply";
    const std::string leagueBytes = FileContent(league);
    const std::string playerBytes = FileContent(players);
    const auto stamp = fs::last_write_time(players);

    const fs::path out = Folder("out") / "Copy.ply";
    const CliResult r = Run({"save-as", league.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(FileContent(out) == playerBytes) << "the copy differs from the player file";
    EXPECT_TRUE(FileContent(league) == leagueBytes);
    EXPECT_TRUE(FileContent(players) == playerBytes);
    EXPECT_EQ(fs::last_write_time(players), stamp);
    EXPECT_FALSE(fs::exists(league.parent_path() / "Demo.sw$"));

    // Over an existing file, which is replaced whole.
    WriteFileContent(out, std::string(100000, 'x'));
    ASSERT_EQ(Run({"save-as", league.string(), out.string()}).status, 0);
    EXPECT_TRUE(FileContent(out) == playerBytes);
}

TEST_F(Cli, TrailingBytesAreReportedAndSavedBack) {
    const fs::path league = Demo("small", {"--teams", "3", "--players", "20"});
    const fs::path players = league.parent_path() / "Demo.ply";
    WriteFileContent(players, FileContent(players) + std::string(100, '\x7F'));

    const CliResult info = Run({"info", league.string()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\nTeams: 3\nPlayers: 20\nTrailing bytes: 100\n"), std::string::npos)
        << info.out;

    const fs::path out = Folder("out") / "Copy.ply";
    ASSERT_EQ(Run({"save-as", league.string(), out.string()}).status, 0);
    EXPECT_TRUE(FileContent(out) == FileContent(players));
}

TEST_F(Cli, DemoIsTheSameEveryRun) {
    const fs::path first = Demo("first");
    const fs::path second = Demo("second");
    const fs::path reseeded = Demo("third", {"--seed", "7"});
    EXPECT_TRUE(FileContent(first) == FileContent(second));
    EXPECT_TRUE(FileContent(first.parent_path() / "Demo.ply") ==
                FileContent(second.parent_path() / "Demo.ply"));
    EXPECT_FALSE(FileContent(first.parent_path() / "Demo.ply") ==
                 FileContent(reseeded.parent_path() / "Demo.ply"));
}

TEST_F(Cli, BadLeaguesFailWithOneLineNamingTheFile) {
    const fs::path league = Demo();
    const fs::path bad = Folder("bad");

    // No league file, though its player file is there.
    fs::copy_file(league.parent_path() / "Demo.ply", bad / "Missing.ply");
    ExpectFailure(Run({"info", (bad / "Missing.lge").string()}), bad / "Missing.lge");
    ExpectFailure(Run({"dump", (bad / "Missing.lge").string()}), bad / "Missing.lge");

    // No player file beside the league file.
    fs::copy_file(league, bad / "Alone.lge");
    ExpectFailure(Run({"info", (bad / "Alone.lge").string()}), bad / "Alone.ply");

    // A folder where the league file should be.
    fs::create_directory(bad / "Folder.lge");
    fs::copy_file(league.parent_path() / "Demo.ply", bad / "Folder.ply");
    ExpectFailure(Run({"info", (bad / "Folder.lge").string()}), bad / "Folder.lge");

    // A folder where the player file should be.
    fs::copy_file(league, bad / "Odd.lge");
    fs::create_directory(bad / "Odd.ply");
    ExpectFailure(Run({"dump", (bad / "Odd.lge").string()}), bad / "Odd.ply");

    // A player file shorter than its header.
    fs::copy_file(league, bad / "Short.lge");
    WriteFileContent(bad / "Short.ply", "PLY");
    ExpectFailure(Run({"info", (bad / "Short.lge").string()}), bad / "Short.ply");

    // Demo options the generator refuses.
    ExpectFailure(Run({"demo", (bad / "many").string(), "--teams", "300"}), bad / "many");
    EXPECT_FALSE(fs::exists(bad / "many" / "Demo.lge"));
}

TEST_F(Cli, FailedSaveAsCreatesAndChangesNothing) {
    const fs::path league = Demo();
    const fs::path players = league.parent_path() / "Demo.ply";
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

    // OUT cannot be written.
    const fs::path nowhere = out / "no such folder" / "Copy.ply";
    ExpectFailure(Run({"save-as", league.string(), nowhere.string()}), nowhere);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    ExpectFailure(Run({"save-as", league.string(), out.string()}), out);

    // OUT is one of the league's own files, however it is spelled.
    const fs::path spelledOtherwise = league.parent_path() / ".." / "league" / "Demo.ply";
    ExpectFailure(Run({"save-as", league.string(), spelledOtherwise.string()}), spelledOtherwise);
    ExpectFailure(Run({"save-as", league.string(), league.string()}), league);
    EXPECT_TRUE(FileContent(players) == playerBytes);
    EXPECT_EQ(fs::file_size(league), FileContent(league).size());
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
}

TEST_F(Cli, OutputThatCannotBeWrittenIsAFailure) {
    const fs::path league = Demo();

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", QString::fromStdString(tmp_.string()));
    process.setProcessEnvironment(environment);

    // The reader goes away early, as in "dump | head": a failure, not a silent death that would
    // leave the temporary folder behind.
    process.start("bash",
                  {"-c", R"("$0" dump "$1" | head -c 100 >/dev/null; exit ${PIPESTATUS[0]})",
                   TAVREL_CLI, QString::fromStdString(league.string())});
    ASSERT_TRUE(process.waitForFinished(300000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_NE(process.readAllStandardError().indexOf("Writing the standard output"), -1);

    if (fs::exists("/dev/full")) {
        process.setStandardOutputFile("/dev/full");
        for (const char* command : {"dump", "info"}) {
            process.start(TAVREL_CLI, {command, QString::fromStdString(league.string())});
            ASSERT_TRUE(process.waitForFinished(300000));
            EXPECT_EQ(process.exitCode(), 1) << command;
            EXPECT_NE(process.readAllStandardError().indexOf("No space left"), -1) << command;
        }
    }
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
    const fs::path league = Demo();
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate"},
        {"info"},
        {"info", league.string(), "extra"},
        {"dump", league.string(), "--table", "coaches"},
        {"dump", league.string(), "--format", "xml"},
        {"save-as", league.string()},
        {"demo"},
        {"demo", Folder("d").string(), "--teams", "many"},
        {"info", league.string(), "--frobnicate"},
    };
    for (const auto& args : misuses) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(no arguments)" : args[0]);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(Folder("d") / "Demo.lge"));

    const CliResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"info", "dump", "save-as", "demo"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    const CliResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("2.0.0"), std::string::npos);
}

} // namespace
} // namespace tavrel
