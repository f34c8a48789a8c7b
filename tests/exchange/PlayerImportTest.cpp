// What a CSV changes, or why it changes nothing, checked against a player file of four players.
#include "exchange/PlayerImport.h"

#include "ExchangeFixtures.h"
#include "TestFiles.h"
#include "TestLeague.h"
#include "exchange/Csv.h"
#include "exchange/PlayerExport.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace testing;
using namespace std::string_literals;

struct Change {
    std::size_t record;
    std::string column;
    Value after;
    bool operator==(const Change&) const = default;
};

// The players of a player file as the window imports against them: rows of the working database
// of the league being edited (the command line imports against the file's records).
PlayerList InWorkingDatabase(const PlayerList& file, TestLeague& league) {
    PlayerRow row;
    for (std::size_t n = 0; n < file.Count(); ++n) {
        file.Read(n, row);
        league.AddPlayer(row);
    }
    return PlayerList::FromWorkingDatabase(league.db());
}

const char* Source(const PlayerList& players) {
    return players.File() ? " (player file)" : " (working database)";
}

TEST(PlayerImport, ChangesAsSpreadsheetsSaveThem) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<Change> changes;
    } cases[] = {
        {"BOM, CRLF, quoted comma, accents",
         "\xEF\xBB\xBFRecord,LastName,College,Act_SP\r\n"
         "2,\"Mu\xC3\xB1iz\",\"Texas, El Paso\",70\r\n",
         {{2, "LastName", "Mu\xC3\xB1iz"s},
          {2, "Act_SP", std::int64_t{70}},
          {2, "College", "Texas, El Paso"s}}},
        // Saved as plain "CSV" by a spreadsheet: Windows-1252 text, CR line ends, no BOM.
        {"Windows-1252 without BOM",
         "pid,LASTNAME\r10,Pe\xF1\x61\r",
         {{1, "LastName", "Pe\xC3\xB1\x61"s}}},
        {"quoted line break and quotes",
         "Record,Unknown9,College\r\n1,\"a\r\nb \"\"c\"\"\",5\" Tall\r\n",
         {{1, "College", "5\" Tall"s}, {1, "Unknown9", "a\r\nb \"c\""s}}},
        {"empty cells and unchanged text change nothing",
         "Record,FirstName,LastName,College,Act_SP,Team\r\n1,John,,State,,\r\n\r\n",
         {}},
        {"spaces around numbers",
         "Record,Team,Unknown0\r\n3,,32767\r\n4, 7 ,-32768\r\n",
         {{3, "Unknown0", std::int64_t{32767}},
          {4, "Team", std::int64_t{7}},
          {4, "Unknown0", std::int64_t{-32768}}}},
        {"derived columns follow their bytes",
         "Record,rWeight_0,rWeight_1,Weight,Position,PositionTXT\r\n1,,1,466,13,S\r\n2,7,,,,\r\n",
         {{1, "Position", std::int64_t{13}},
          {1, "Weight", std::int64_t{466}},
          {1, "PositionTXT", "S"s},
          {1, "rWeight_1", std::int64_t{1}},
          {2, "Weight", std::int64_t{7}},
          {2, "rWeight_0", std::int64_t{7}}}},
        {"a PID key changes its bytes",
         "PID,rPID_0,rPID_1\r\n11,99,\r\n10,,255\r\n",
         {{2, "PID", std::int64_t{99}},
          {2, "rPID_0", std::int64_t{99}},
          {1, "PID", std::int64_t{-246}},
          {1, "rPID_1", std::int64_t{255}}}},
        {"text as long as its field",
         "Record,FirstName\r\n1,Bartholomewss\xC3\xB6n\r\n",
         {{1, "FirstName", "Bartholomewss\xC3\xB6n"s}}},
    };
    const PlayerList file = PlayerList::FromFile(Image(FourPlayers()));
    TestLeague league;
    const PlayerList rows = InWorkingDatabase(file, league);
    for (const PlayerList* players : {&file, &rows}) {
        for (const auto& c : cases) {
            const ImportPlan plan = PlanImport(c.csv, *players);
            EXPECT_TRUE(plan.refusals.empty())
                << c.name << Source(*players) << ": " << DescribeRefusal(plan.refusals.front());
            std::vector<Change> changes;
            for (const PlayerCellChange& got : plan.changes) {
                changes.push_back(
                    {got.record, std::string(kPlayersColumns[got.column].name), got.after});
                EXPECT_EQ(got.rowId, std::int64_t(got.record)) << c.name;
            }
            EXPECT_EQ(changes, c.changes) << c.name << Source(*players);
        }
    }
}

// Every refused cell is listed, and then nothing changes, not even the good cells.
TEST(PlayerImport, RefusalsListEveryCellAndChangeNothing) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::array<std::string, 4>> refused; // row, column, value, part of the reason
    } cases[] = {
        // A line break inside quotes stays in its spreadsheet row: the rows are 3 and 4.
        {"unknown record and good cells beside",
         "Record,College\r\n1,\"a\r\nb\"\r\n5,x\r\n0,y\r\n",
         {{"3", "Record", "5", "no record 5"}, {"4", "Record", "0", "no record 0"}}},
        {"unknown and duplicate PID",
         "PID,Act_SP\r\n10,70\r\n99,1\r\n12,1\r\n",
         {{"3", "PID", "99", "no player has this PID"}, {"4", "PID", "12", "held by 2 records"}}},
        {"numbers not whole or too big",
         "Record,Act_SP,Pot_FA,Team,Unknown0,rPID_1\r\n1,7.5,256,-1,-32769,x\r\n2,,,,32768,\r\n",
         {{"2", "Act_SP", "7.5", "not a whole number"},
          {"2", "Pot_FA", "256", "outside 0..255"},
          {"2", "Team", "-1", "outside 0..255"},
          {"2", "Unknown0", "-32769", "outside -32768..32767"},
          {"2", "rPID_1", "x", "not a whole number"},
          {"3", "Unknown0", "32768", "outside"}}},
        {"text too long or outside the code page",
         "Record,FirstName,LastName,Mug\r\n1,Bartholomewssons,\xCE\xA9mega,ABCDEFGH\r\n",
         {{"2", "FirstName", "Bartholomewssons", "16 characters long; the field holds 15"},
          {"2", "LastName", "\xCE\xA9mega", "code page"},
          {"2", "Mug", "ABCDEFGH", "8 characters long; the field holds 7"}}},
        {"unknown and repeated columns",
         "Record,Speed,Act_SP,ACT_SP,,record\r\n1,1,2,3,4,1\r\n",
         {{"1", "Speed", "Speed", "no such column"},
          {"1", "ACT_SP", "ACT_SP", "appears twice"},
          {"1", "record", "record", "appears twice"},
          {"2", "", "4", "the column has no name"}}},
        {"columns the file does not keep, derived values disagreeing",
         "Record,JNum,Weight,PositionTXT,PID\r\n1,7,300,QB,10\r\n2,,210,QB,12\r\n",
         {{"2", "JNum", "7", "does not keep"},
          {"2", "Weight", "300", "rWeight_0 and rWeight_1"},
          {"3", "PID", "12", "rPID_0 and rPID_1"}}},
        {"same player twice, no key",
         "Record,Act_SP\r\n2,1\r\n2,2\r\n,3\r\n3,1,9\r\n",
         {{"3", "Record", "2", "row 2 already changes"},
          {"4", "Record", "", "no key"},
          {"5", "", "9", "beyond the last column"}}},
        {"no key column",
         "LastName\r\nSmith\r\n",
         {{"1", "", "", "neither a Record nor a PID column"}}},
        {"empty file", "\xEF\xBB\xBF", {{"1", "", "", "no header row"}}},
    };
    const PlayerList file = PlayerList::FromFile(Image(FourPlayers()));
    TestLeague league;
    const PlayerList rows = InWorkingDatabase(file, league);
    for (const PlayerList* players : {&file, &rows}) {
        for (const auto& c : cases) {
            const ImportPlan plan = PlanImport(c.csv, *players);
            EXPECT_TRUE(plan.changes.empty()) << c.name << Source(*players);
            std::vector<std::array<std::string, 4>> refused;
            for (std::size_t i = 0; i < plan.refusals.size(); ++i) {
                const ImportRefusal& got = plan.refusals[i];
                // The case gives a part of the reason: shown as the case has it when it is found.
                const bool reasonFound =
                    i < c.refused.size() && got.reason.find(c.refused[i][3]) != std::string::npos;
                refused.push_back({std::to_string(got.row), got.column, got.value,
                                   reasonFound ? c.refused[i][3] : got.reason});
            }
            EXPECT_EQ(refused, c.refused) << c.name << Source(*players);
        }
    }
}

// What export writes, as CSV or as a workbook, import reads back as no change at all: numbers,
// padded and accented text, quoted text with commas and line breaks, NULs inside a field, and the
// texts that XML, its escapes and the formula guard could spoil.
TEST(PlayerImport, ExportedSheetsReadBackChangeNothing) {
    std::vector<Bytes> records = FourPlayers();
    records.push_back(CleanRecord(13, 2, "_x0041_", "\tTab"));
    records.push_back(CleanRecord(14, 2, "N\0L"s, "\rCR"));
    Put(records[0], 99, "a,b\r\n\"q\"\0x"s);
    Put(records[1], 302, "\x81\x8D\xFF trailing  "s);
    Put(records[2], 8, "=SUM(A1)"s); // would run as a formula
    Put(records[2], 23, "'@x"s);     // an apostrophe of its own before it
    Put(records[3], 48, "'plain"s);  // an apostrophe before no formula stays as it is
    Put(records[3], 8, "-1"s);
    Put(records[3], 23, "+x"s);
    for (std::size_t n = 0; n < 18; ++n)
        records.push_back(PatternRecord(n)); // every byte value in the text fields
    const PlayerList file = PlayerList::FromFile(Image(records));
    const std::string csv = ExportCsv(file, std::nullopt);
    for (const char* guarded : {"\r\n3,1,12,,'=SUM(A1),''@xes,", ",'plain,",
                                "\r\n4,0,12,,'-1,'+xnes,", ",'\tTab", ",\"'\rCR"})
        EXPECT_NE(csv.find(guarded), std::string::npos) << guarded;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path book = std::filesystem::path(dir.path().toStdString()) / "p.xlsx";
    ExportPlayers(file, book, {ExportFormat::Xlsx, std::nullopt});
    TestLeague league;
    const PlayerList rows = InWorkingDatabase(file, league);
    for (const PlayerList* players : {&file, &rows})
        for (const ImportPlan& plan :
             {PlanImport(csv, *players), PlanSheetImport(book, *players)}) {
            EXPECT_EQ(plan.refusalCount, 0u) << Source(*players) << DescribeRefusals(plan).front();
            EXPECT_TRUE(plan.changes.empty())
                << Source(*players) << kPlayersColumns[plan.changes.front().column].name;
        }
}

// Sheets that would harm the league or hide where they are wrong: each refused whole, the message
// leading to the cell as a spreadsheet shows it.
TEST(PlayerImport, RefusesWhatWouldHarmNamingTheCell) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::string> refusals; // DescribeRefusal of each
    } cases[] = {
        {"identifier bytes 0,0 would delete the player",
         "Record,rPID_0,rPID_1\r\n1,0,0\r\n",
         {"row 2 (record 1), column 2 (B) rPID_0 \"0\": identifier bytes 0 and 0 would drop this "
          "player from the player file; an import never deletes a player"}},
        {"the one byte left nonzero set to 0, found by PID",
         "PID,rPID_0\r\n11,0\r\n",
         {"row 2 (PID 11), column 2 (B) rPID_0 \"0\": identifier bytes 0 and 0 would drop this "
          "player from the player file; an import never deletes a player"}},
        {"a quote never closed",
         "Record,LastName,Act_SP\r\n1,\"Smith,50\r\n2,Jones,60\r\n",
         {"row 2 (record 1), column 2 (B) LastName \"Smith,50\\r\\n2,Jones,60\\r\\n\": the quote "
          "that opens this cell is never closed (the rest of the file would be its text)"}},
        {"malformed UTF-8 after the byte-order mark",
         "\xEF\xBB\xBFRecord,LastName\r\n1,A\xC0\x80\r\n",
         {"row 2 (record 1), column 2 (B) LastName \"A\\xC0\\x80\": is not well-formed UTF-8 "
          "(the file starts with the UTF-8 byte-order mark, or is UTF-8 elsewhere)"}},
        {"the spreadsheet row, not the line of the file",
         "Record,Unknown9,Act_SP\r\n1,\"a\r\nb\r\nc\",\r\n2,,x\r\n",
         {"row 3 (record 2), column 3 (C) Act_SP \"x\": is not a whole number"}},
        {"a column without a name and a cell beyond the last",
         "Record,,Act_SP\r\n1,5,\r\n2,,,,7\r\n",
         {"row 2 (record 1), column 2 (B) \"5\": the column has no name",
          "row 3 (record 2), column 5 (E) \"7\": lies beyond the last column of the header"}},
        {"a repeated column names where it first was",
         "Record,Act_SP,Team,ACT_SP\r\n",
         {"row 1, column 4 (D) ACT_SP \"ACT_SP\": the column appears twice (first as column 2 "
          "(B))"}},
        {"a long cell is quoted short",
         "Record,FirstName\r\n1," + std::string(1000, 'Q') + "\r\n",
         {"row 2 (record 1), column 2 (B) FirstName \"" + std::string(40, 'Q') +
          "...\": is 1000 characters long; the field holds 15"}},
    };
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    for (const auto& c : cases) {
        const ImportPlan plan = PlanImport(c.csv, players);
        EXPECT_TRUE(plan.changes.empty()) << c.name;
        EXPECT_EQ(plan.playersChanged, 0u) << c.name;
        EXPECT_EQ(DescribeRefusals(plan), c.refusals) << c.name;
    }
}

// A cell of only NULs or spaces is blank: it leaves any field alone, text or number.
TEST(PlayerImport, BlankCellsLeaveValuesAlone) {
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    const std::string csv = "Record,FirstName,LastName,Act_SP,College\r\n"
                            "1,\"\0\",\"  \",\"\0 \0\", \r\n"
                            "2,\0\0,\0,\0,\0\r\n"s;
    const ImportPlan plan = PlanImport(csv, players);
    EXPECT_EQ(plan.refusalCount, 0u) << DescribeRefusals(plan).front();
    EXPECT_TRUE(plan.changes.empty());
}

// Hostile sheets cost a few lines, quickly: thousands of repeated columns are one refusal, a
// thousand bad rows keep the first refusals and count the rest.
TEST(PlayerImport, HostileSheetsGiveAFewLines) {
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    std::string header = "Record";
    for (int i = 0; i < 8000; ++i)
        header += ",Act_SP";
    ImportPlan plan = PlanImport(header + "\r\n1" + std::string(8000, ',') + "\r\n", players);
    EXPECT_EQ(DescribeRefusals(plan),
              std::vector<std::string>{"row 1: the header names 8001 columns; a player sheet has " +
                                       std::to_string(ExportColumns().size()) + " at most"});

    std::string rows = "Record,Act_SP\r\n";
    for (int i = 0; i < 1000; ++i)
        rows += "9,1\r\n";
    plan = PlanImport(rows, players);
    EXPECT_EQ(plan.refusalCount, 1000u);
    ASSERT_EQ(plan.refusals.size(), kShownRefusals);
    const std::vector<std::string> lines = DescribeRefusals(plan);
    ASSERT_EQ(lines.size(), kShownRefusals + 1);
    EXPECT_EQ(lines.front(),
              "row 2, column 1 (A) Record \"9\": the player file has no record 9 (it holds 4)");
    EXPECT_EQ(lines.back(), "... and 950 more.");
}

// A sheet of several mebibytes goes to the file a chunk at a time: the file holds every row once,
// the same bytes as the sheet built whole, and reads back as no change.
TEST(PlayerExport, LargeSheetWrittenInChunksIsWhole) {
    std::vector<Bytes> records;
    for (std::size_t n = 0; n < 6000; ++n)
        records.push_back(PatternRecord(n % 18));
    const PlayerList players = PlayerList::FromFile(Image(records));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "p.csv";
    ExportPlayers(players, file, {});
    const std::string whole = ExportCsv(players, std::nullopt);
    ASSERT_GT(whole.size(), 3u << 20);
    EXPECT_TRUE(FileContent(file) == whole);
    const ImportPlan plan = PlanSheetImport(file, players);
    EXPECT_EQ(plan.refusalCount, 0u);
    EXPECT_TRUE(plan.changes.empty());
}

// One team's sheet: the free agents (Team 0).
TEST(PlayerExport, OneTeamOnly) {
    std::vector<std::string> records;
    for (const SheetRow& r : ParseCsv(ExportCsv(PlayerList::FromFile(Image(FourPlayers())), 0)))
        records.push_back(std::string(r.cells.front()));
    EXPECT_EQ(records, (std::vector<std::string>{"Record", "4"}));
}

} // namespace
} // namespace tavrel
