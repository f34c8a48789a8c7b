// Comparing two player files and checking one, on files changed in known ways.
#include "ExchangeFixtures.h"
#include "TestFiles.h"
#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"

#include <functional>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace testing;

// A league made byte by byte, for a case to change.
struct Files {
    std::vector<Bytes> records;
    Bytes header = CleanHeader(), tail;
    std::vector<TeamRecord> teams = {{1, "Bears", "Coach"}};
    PlayerFileImage File() const { return Image(records, tail, header); }
};

using Change = std::function<void(Files&)>;

// The diff as lines: how the players were matched, then "recordA/recordB column: a -> b" for each
// field, the unmatched records, and the parts of the files beside the records.
std::vector<std::string> Lines(const LeagueDiff& diff) {
    std::vector<std::string> lines = {diff.matchedByRecord ? "by Record" : "by PID"};
    for (const PlayerDifference& p : diff.changed)
        for (const FieldDifference& f : p.fields) {
            const auto [a, b] = ShownDifference(f);
            lines.push_back(std::to_string(p.recordA) + "/" + std::to_string(p.recordB) + " " +
                            DifferenceColumnName(f.column) + ": " + a + " -> " + b);
        }
    for (const UnmatchedPlayer& p : diff.onlyInA)
        lines.push_back("only in A: " + std::to_string(p.record));
    for (const UnmatchedPlayer& p : diff.onlyInB)
        lines.push_back("only in B: " + std::to_string(p.record));
    if (diff.headersDiffer)
        lines.push_back("headers differ");
    if (diff.trailingBytesDiffer)
        lines.push_back("trailing bytes differ");
    return lines;
}

TEST(Diff, ListsWhatDiffers) {
    const struct {
        const char* name;
        Change changeB;
        std::vector<std::string> lines;
    } cases[] = {
        {"same", [](Files&) {}, {"by Record"}},
        {"one rating",
         [](Files& f) { f.records[1][175] = 70; },
         {"by Record", "2/2 Act_SP: 50 -> 70"}},
        {"padding only, shown exactly",
         [](Files& f) { f.records[0][12] = ' '; },
         {"by Record",
          "1/1 FirstName: \"John" + JsonNuls(11) + "\" -> \"John " + JsonNuls(10) + "\""}},
        {"unmodelled bytes",
         [](Files& f) { f.records[2][176] = 0xFF, f.records[2][300] = 9; },
         {"by Record", "3/3 bytes no column carries: 176:01 300:00 -> 176:FF 300:09"}},
        {"a removed player: matched by PID",
         [](Files& f) { f.records.erase(f.records.begin()); },
         {"by PID", "only in A: 1"}},
        {"an added player, reordered",
         [](Files& f) {
             std::swap(f.records[0], f.records[1]);
             f.records.push_back(CleanRecord(13, 0, "New", "Man"));
         },
         {"by PID", "only in B: 5"}},
        {"repeated PIDs match in turn",
         [](Files& f) { f.records.erase(f.records.begin() + 2); },
         {"by PID", "3/3 Team: 1 -> 0", "3/3 FirstName: \"Al\" -> \"Bo\"", "only in A: 4"}},
        {"header", [](Files& f) { f.header[10] = 0; }, {"by Record", "headers differ"}},
        {"trailing bytes",
         [](Files& f) { f.tail.assign(2, 1); },
         {"by Record", "trailing bytes differ"}},
    };
    Files a;
    a.records = FourPlayers();
    a.tail = {1, 2}; // the same number of bytes after the last record, differing where changed
    for (const auto& c : cases) {
        Files b = a;
        c.changeB(b);
        const LeagueDiff diff =
            DiffPlayers(PlayerList::FromFile(a.File()), PlayerList::FromFile(b.File()));
        EXPECT_EQ(Lines(diff), c.lines) << c.name;
        EXPECT_EQ(diff.Equal(), c.lines.size() == 1) << c.name;
    }
}

// Each problem as its kind and record ("@2"), or its kind alone when no record has it.
TEST(Check, FindsEachProblemWithItsPlayerOrTeam) {
    const struct {
        const char* name;
        Change spoil;
        std::vector<std::string> problems;
    } cases[] = {
        {"clean, at limits", [](Files& f) { f.records[0][175] = 60, f.records[0][245] = 99; }, {}},
        {"record size", [](Files& f) { f.header[8] = 0x6F; }, {"record-size"}},
        {"empty identifier",
         [](Files& f) { f.records[1][0] = f.records[1][1] = 0; },
         {"empty-id@2"}},
        {"duplicate PID", [](Files& f) { f.records[2][0] = 10; }, {"duplicate-pid@1"}},
        {"actual above potential",
         [](Files& f) { f.records[0][221] = 61; },
         {"actual-above-potential@1"}},
        {"rating above 99", [](Files& f) { f.records[2][289] = 100; }, {"rating-above-99@3"}},
        {"unlisted team", [](Files& f) { f.records[1][4] = 9; }, {"unknown-team@2"}},
        {"unknown position", [](Files& f) { f.records[1][94] = 15; }, {"unknown-position@2"}},
        {"shared team number",
         [](Files& f) {
             f.teams.push_back({1, "Lions", "Coach"});
         },
         {"duplicate-team"}},
        {"name characters",
         [](Files& f) {
             f.records[0][9] = 0x01;  // control character inside the first name
             f.records[2][24] = 0x81; // a byte Windows-1252 leaves undefined
             f.teams[0].coach = "Co\x1F";
         },
         {"name-characters@1", "name-characters@3", "name-characters"}},
        {"trailing bytes", [](Files& f) { f.tail.assign(3, 1); }, {"trailing-bytes"}},
    };
    for (const auto& c : cases) {
        Files league;
        league.records = {CleanRecord(10, 1, "John", "Smith"), CleanRecord(11, 1, "José", "Muñoz"),
                          CleanRecord(12, 0, "Al", "Jones")};
        c.spoil(league);
        std::vector<std::string> found;
        for (const LeagueProblem& p : CheckLeague(league.File(), league.teams)) {
            found.push_back(p.kind + (p.record ? "@" + std::to_string(*p.record) : ""));
            if (p.record) {
                EXPECT_NE(p.message.find("record " + std::to_string(*p.record)), std::string::npos)
                    << p.message;
            }
        }
        EXPECT_EQ(found, c.problems) << c.name;
    }
    EXPECT_EQ(PlayerFileOf("a/Demo.LgE"), std::filesystem::path("a/Demo.ply"));
}

// The window's check names the columns as its form does; the command line keeps the names of the
// spreadsheets' columns.
TEST(Check, NamesColumnsByCaptionForTheWindow) {
    Files league;
    league.records = {CleanRecord(10, 1, "John", "Smith")};
    league.records[0][175] = 120; // actual speed above 99 and above its potential
    league.records[0][9] = 0x01;  // a control character in the first name
    const auto messages = [&](CheckWording wording) {
        std::vector<std::string> texts;
        for (const LeagueProblem& p : CheckLeague(league.File(), league.teams, wording))
            texts.push_back(p.message);
        return texts;
    };
    const std::vector<std::string> names = messages(CheckWording::ColumnNames);
    const std::vector<std::string> captions = messages(CheckWording::Captions);
    ASSERT_EQ(names.size(), 3u);
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_NE(names[0].find("above potential: SP 120 > 60"), std::string::npos) << names[0];
    EXPECT_NE(names[1].find("above 99: Act_SP 120"), std::string::npos) << names[1];
    EXPECT_NE(names[2].find("bytes in FirstName"), std::string::npos) << names[2];
    EXPECT_NE(captions[0].find("above potential: Speed 120 > 60"), std::string::npos)
        << captions[0];
    EXPECT_NE(captions[1].find("above 99: Actual Speed 120"), std::string::npos) << captions[1];
    EXPECT_NE(captions[2].find("bytes in First Name"), std::string::npos) << captions[2];
}

} // namespace
} // namespace tavrel
