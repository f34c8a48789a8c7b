// tavrel-cli export, import, diff and check end to end, on generated leagues.
#include "CliRunner.h"
#include "ExchangeFixtures.h"
#include "TestFiles.h"
#include "demo/DemoLeague.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using namespace testing;

// Where the actual speed of the given record (counted from 1) lies in the player file.
std::size_t SpeedOffset(std::size_t record) {
    return kPlayerFileHeaderSize + (record - 1) * kPlayerRecordSize + 175;
}

// The Python that reads and writes workbooks as another program would, if it has openpyxl.
constexpr const char* kPython = "/usr/bin/python3";
bool HasOpenpyxl() {
    return std::system((std::string(kPython) + " -c 'import openpyxl' 2>/dev/null").c_str()) == 0;
}

class ExchangeCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.path().toStdString();
        files_ = WriteDemoLeague(folder_ / "league", {.teams = 6, .players = 400, .seed = 5});
        original_ = FileContent(files_.playerFile);
    }
    CliResult Run(const std::vector<std::string>& args) const {
        return RunCli(TAVREL_CLI, args, {.workingFolder = folder_});
    }
    std::string League() const { return files_.leagueFile.string(); }
    fs::path Backup() const { return folder_ / "league" / "Demo.sw$"; }

    QTemporaryDir dir_;
    fs::path folder_;
    DemoLeagueFiles files_;
    std::string original_;
};

// Export then import, a refused sheet (dry run or not), a dry run and a copy elsewhere write
// nothing of the league; then a change is saved in place after the backup.
TEST_F(ExchangeCommands, ImportWritesOnlyWhatItShould) {
    const fs::path sheet = folder_ / "players.csv";
    const CliResult exported = Run({"export", League(), "--out", sheet.string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string csv = FileContent(sheet);
    std::string header = "\xEF\xBB\xBFRecord";
    for (const PlayersColumn& c : kPlayersColumns)
        header += "," + std::string(c.name);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), header);
    const CliResult imported = Run({"import", League(), sheet.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "0 cells of 0 players changed\n");

    WriteFileContent(sheet, "Record,Act_SP,Speed\r\n3,300,1\r\n4,20,\r\n");
    std::vector<std::string> args = {"import", League(), sheet.string()};
    for (const bool dryRun : {false, true}) { // refused either way
        if (dryRun)
            args.push_back("--dry-run");
        const CliResult refused = Run(args);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("row 1, column 3 (C) Speed \"Speed\": there is no such column\n"
                                   "row 2 (record 3), column 2 (B) Act_SP \"300\": is outside "
                                   "0..255\n"),
                  std::string::npos)
            << refused.err;
        EXPECT_NE(refused.err.find("2 cells refused"), std::string::npos) << refused.err;
    }

    WriteFileContent(sheet, "Record,Act_SP\r\n3,77\r\n");
    const CliResult dry = Run({"import", League(), sheet.string(), "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    const std::string speed = std::to_string(std::uint8_t(original_[SpeedOffset(3)]));
    EXPECT_TRUE(dry.out.starts_with("record 3, PID ")) << dry.out;
    EXPECT_NE(dry.out.find(")\n  Act_SP: " + speed + " -> 77\n1 cells of 1 players would change\n"),
              std::string::npos)
        << dry.out;
    std::string expected = original_;
    expected[SpeedOffset(3)] = 77;
    const fs::path out = folder_ / "copy.ply";
    EXPECT_EQ(Run({"import", League(), sheet.string(), "--out", out.string()}).status, 0);
    EXPECT_EQ(FileContent(out), expected);
    EXPECT_EQ(Run({"import", League(), sheet.string(), "--out", files_.playerFile.string()}).status,
              1);
    EXPECT_EQ(Run({"export", League(), "--out", files_.playerFile.string()}).status, 1);
    EXPECT_EQ(FileContent(files_.playerFile), original_);
    EXPECT_FALSE(fs::exists(Backup()));

    const CliResult r = Run({"import", League(), sheet.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 cells of 1 players changed\n");
    EXPECT_EQ(FileContent(Backup()), original_);
    EXPECT_EQ(FileContent(files_.playerFile), expected);
}

TEST_F(ExchangeCommands, DiffAndCheckExitStatusAndJson) {
    const fs::path changed = folder_ / "changed.ply";
    std::string bytes = original_;
    bytes[SpeedOffset(7)] = 99;
    WriteFileContent(changed, bytes);

    EXPECT_EQ(Run({"diff", League(), files_.playerFile.string()}).status, 0);
    const CliResult r = Run({"diff", League(), changed.string(), "--format", "json"});
    ASSERT_EQ(r.status, 3) << r.err;
    const auto report = nlohmann::json::parse(r.out);
    EXPECT_EQ(report["matchedBy"], "Record");
    ASSERT_EQ(report["changed"].size(), 1u);
    EXPECT_EQ(report["changed"][0]["recordA"], 7);
    EXPECT_EQ(report["changed"][0]["fields"],
              nlohmann::json::parse(R"([{"column":"Act_SP","a":)" +
                                    std::to_string(std::uint8_t(original_[SpeedOffset(7)])) +
                                    R"(,"b":99}])"));
    EXPECT_EQ(Run({"diff", League(), (folder_ / "missing.ply").string()}).status, 1);

    const fs::path clean = folder_ / "clean.ply";
    const Bytes cleanBytes = FileBytes({CleanRecord(10, 1, "John", "Smith")});
    WriteFileContent(clean, std::string(cleanBytes.begin(), cleanBytes.end()));
    for (const std::string& league : {clean.string(), League()}) { // the demo league is clean
        const CliResult checked = Run({"check", league});
        EXPECT_EQ(checked.status, 0) << checked.out;
        EXPECT_EQ(checked.out, "No problems found.\n");
    }
    WriteFileContent(clean, std::string(cleanBytes.begin(), cleanBytes.end()) + "x");
    const CliResult warned = Run({"check", clean.string()});
    EXPECT_EQ(warned.status, 3) << warned.err;
    EXPECT_TRUE(warned.out.ends_with("\n1 warning.\n")) << warned.out;
    EXPECT_EQ(Run({"check", (folder_ / "missing.lge").string()}).status, 1);
}

// The workbook as a real reader sees it: the header, numbers as numbers, accents, the frozen row.
TEST_F(ExchangeCommands, XlsxOpensInARealReader) {
    if (!HasOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    std::vector<Bytes> records = FourPlayers();
    records[1][175] = 88;
    const Bytes bytes = FileBytes(records);
    WriteFileContent(files_.playerFile, std::string(bytes.begin(), bytes.end()));
    const fs::path book = folder_ / "players.xlsx";
    ASSERT_EQ(Run({"export", League(), "--out", book.string(), "--format", "xlsx"}).status, 0);

    const std::string script =
        "import openpyxl,sys\n"
        "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
        "rows = list(ws.iter_rows(values_only=True))\n"
        "h = rows[0]\n"
        "print(len(rows), h[0], h[1], h[-1], ws.freeze_panes)\n"
        "r = dict(zip(h, rows[2]))\n"
        "print(repr(r['Record']), repr(r['Act_SP']), repr(r['PID']), r['FirstName'], "
        "r['LastName'], repr(r['JNum']), r['College'] + '|')\n";
    WriteFileContent(folder_ / "read.py", script);
    const CliResult r = RunCli(kPython, {(folder_ / "read.py").string(), book.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "5 Record Team Act_58 A2\n"
                     "2 88 11 Jos\xC3\xA9 Mu\xC3\xB1oz None State|\n");
}

// diff says the leagues differ (exit 3) also when the only difference is a player one side has,
// or the player file header; the text and the JSON report name it.
TEST_F(ExchangeCommands, DiffFindsPlayersOfOneSideAndTheHeader) {
    const struct {
        const char* name;
        std::string b; // the player file B
        std::string text;
        const char* jsonKey;
    } cases[] = {
        {"a player only in A", original_.substr(0, original_.size() - kPlayerRecordSize),
         "0 players differ, 1 only in A, 0 only in B.\n", "onlyInA"},
        {"a player only in B",
         original_ + original_.substr(kPlayerFileHeaderSize, kPlayerRecordSize),
         "0 players differ, 0 only in A, 1 only in B.\n", "onlyInB"},
        {"the header",
         [this] {
             std::string b = original_;
             b[10] = char(b[10] ^ 0x5A);
             return b;
         }(),
         "The player file headers differ.\n0 players differ, 0 only in A, 0 only in B.\n",
         "headersDiffer"},
    };
    for (const auto& c : cases) {
        const fs::path b = folder_ / "b.ply";
        WriteFileContent(b, c.b);
        const CliResult text = Run({"diff", files_.playerFile.string(), b.string()});
        EXPECT_EQ(text.status, 3) << c.name << text.err;
        EXPECT_TRUE(text.out.ends_with(c.text)) << c.name << ": " << text.out;
        const CliResult json =
            Run({"diff", files_.playerFile.string(), b.string(), "--format", "json"});
        EXPECT_EQ(json.status, 3) << c.name << json.err;
        // Written a difference at a time, laid out as the JSON library lays out the whole.
        EXPECT_EQ(json.out, nlohmann::ordered_json::parse(json.out).dump(2) + "\n") << c.name;
        const auto report = nlohmann::json::parse(json.out);
        EXPECT_EQ(report["equal"], false) << c.name;
        const auto& found = report[c.jsonKey];
        EXPECT_TRUE(found.is_boolean() ? found.get<bool>() : found.size() == 1)
            << c.name << json.out;
    }
}

// A workbook comes back: exported and imported unchanged it changes no byte; saved again by
// another program after an edit, it changes what was edited and nothing else.
TEST_F(ExchangeCommands, XlsxRoundTrips) {
    const fs::path book = folder_ / "players.xlsx";
    ASSERT_EQ(Run({"export", League(), "--out", book.string(), "--format", "xlsx"}).status, 0);
    const CliResult same = Run({"import", League(), book.string()});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "0 cells of 0 players changed\n");
    EXPECT_EQ(FileContent(files_.playerFile), original_);

    if (!HasOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    const std::string script = "import openpyxl,sys\n"
                               "wb = openpyxl.load_workbook(sys.argv[1])\n"
                               "ws = wb.active\n"
                               "h = [c.value for c in ws[1]]\n"
                               "ws.cell(row=4, column=h.index('Act_SP') + 1).value = 77\n"
                               "wb.create_sheet('Notes')['A1'] = 'a second sheet is not read'\n"
                               "wb.save(sys.argv[2])\n";
    WriteFileContent(folder_ / "edit.py", script);
    const fs::path edited = folder_ / "edited.xlsx";
    const CliResult py =
        RunCli(kPython, {(folder_ / "edit.py").string(), book.string(), edited.string()});
    ASSERT_EQ(py.status, 0) << py.err;
    const fs::path out = folder_ / "out.ply";
    const CliResult r = Run({"import", League(), edited.string(), "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 cells of 1 players changed\n");
    std::string expected = original_;
    expected[SpeedOffset(3)] = 77;
    EXPECT_EQ(FileContent(out), expected);
}

} // namespace
} // namespace tavrel
