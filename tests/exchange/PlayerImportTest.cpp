// What a CSV changes, or why it changes nothing, checked against a player file of four players.
#include "exchange/PlayerImport.h"

#include "ExchangeFixtures.h"
#include "exchange/PlayerExport.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace testing;
using namespace std::string_literals;

struct Change {
    std::size_t record;
    std::string column;
    Value after;
};

struct ImportCase {
    const char* name;
    std::string csv;
    std::vector<Change> changes;
};

class ImportChanges : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportChanges, AsSpreadsheetsSaveThem) {
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    const ImportPlan plan = PlanImport(GetParam().csv, players);
    ASSERT_TRUE(plan.refusals.empty()) << DescribeRefusal(plan.refusals.front());
    ASSERT_EQ(plan.changes.size(), GetParam().changes.size());
    for (std::size_t i = 0; i < plan.changes.size(); ++i) {
        const PlayerCellChange& got = plan.changes[i];
        const Change& want = GetParam().changes[i];
        EXPECT_EQ(got.record, want.record) << i;
        EXPECT_EQ(got.rowId, std::int64_t(want.record)) << i;
        EXPECT_EQ(kPlayersColumns[got.column].name, want.column) << i;
        EXPECT_EQ(got.after, want.after) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Csv, ImportChanges,
    ::testing::Values(
        ImportCase{"BomCrlfQuotedCommaAccents",
                   "\xEF\xBB\xBFRecord,LastName,College,Act_SP\r\n"
                   "2,\"Mu\xC3\xB1iz\",\"Texas, El Paso\",70\r\n",
                   {{2, "LastName", "Mu\xC3\xB1iz"s},
                    {2, "Act_SP", std::int64_t{70}},
                    {2, "College", "Texas, El Paso"s}}},
        // Saved as plain "CSV" by a spreadsheet: Windows-1252 text, LF line ends, no BOM.
        ImportCase{"Windows1252WithoutBom",
                   "pid,LASTNAME\n10,Pe\xF1\x61\n",
                   {{1, "LastName", "Pe\xC3\xB1\x61"s}}},
        ImportCase{"QuotedLineBreakAndQuotes",
                   "Record,Unknown9,College\r\n1,\"a\r\nb \"\"c\"\"\",5\" Tall\r\n",
                   {{1, "College", "5\" Tall"s}, {1, "Unknown9", "a\r\nb \"c\""s}}},
        ImportCase{"EmptyCellsAndUnchangedTextChangeNothing",
                   "Record,FirstName,LastName,College,Act_SP,Team\r\n1,John,,State,,\r\n\r\n",
                   {}},
        ImportCase{"SpacesAroundNumbers",
                   "Record,Team,Unknown0\r\n4, 7 ,-300\r\n",
                   {{4, "Team", std::int64_t{7}}, {4, "Unknown0", std::int64_t{-300}}}},
        ImportCase{"DerivedColumnsFollowTheirBytes",
                   "Record,rWeight_1,Weight,Position,PositionTXT\r\n1,1,466,13,S\r\n",
                   {{1, "Position", std::int64_t{13}},
                    {1, "Weight", std::int64_t{466}},
                    {1, "PositionTXT", "S"s},
                    {1, "rWeight_1", std::int64_t{1}}}},
        ImportCase{"PidKeyChangesItsBytes",
                   "PID,rPID_0\r\n11,99\r\n",
                   {{2, "PID", std::int64_t{99}}, {2, "rPID_0", std::int64_t{99}}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    int row;
    std::string column;
    std::string value;
    std::string reason; // a part of the reason
};

struct RefusalCase {
    const char* name;
    std::string csv;
    std::vector<Refused> refused;
};

class ImportRefusals : public ::testing::TestWithParam<RefusalCase> {};

// Every refused cell is listed, and then nothing changes, not even the good cells.
TEST_P(ImportRefusals, ListEveryCellAndChangeNothing) {
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    const ImportPlan plan = PlanImport(GetParam().csv, players);
    EXPECT_TRUE(plan.changes.empty());
    ASSERT_EQ(plan.refusals.size(), GetParam().refused.size())
        << (plan.refusals.empty() ? "" : DescribeRefusal(plan.refusals.front()));
    for (std::size_t i = 0; i < plan.refusals.size(); ++i) {
        const ImportRefusal& got = plan.refusals[i];
        const Refused& want = GetParam().refused[i];
        EXPECT_EQ(got.row, want.row) << i;
        EXPECT_EQ(got.column, want.column) << i;
        EXPECT_EQ(got.value, want.value) << i;
        EXPECT_NE(got.reason.find(want.reason), std::string::npos) << got.reason;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Csv, ImportRefusals,
    ::testing::Values(
        RefusalCase{"UnknownRecordAndGoodCellsBeside",
                    "Record,Act_SP\r\n1,70\r\n5,70\r\n0,1\r\n",
                    {{3, "Record", "5", "no record 5"}, {4, "Record", "0", "no record 0"}}},
        RefusalCase{
            "UnknownAndDuplicatePid",
            "PID,Act_SP\r\n10,70\r\n99,1\r\n12,1\r\n",
            {{3, "PID", "99", "no player has this PID"}, {4, "PID", "12", "held by 2 records"}}},
        RefusalCase{"NumbersNotWholeOrTooBig",
                    "Record,Act_SP,Pot_FA,Team,Unknown0,rPID_1\r\n1,7.5,256,-1,40000,x\r\n",
                    {{2, "Act_SP", "7.5", "not a whole number"},
                     {2, "Pot_FA", "256", "outside 0..255"},
                     {2, "Team", "-1", "outside 0..255"},
                     {2, "Unknown0", "40000", "outside -32768..32767"},
                     {2, "rPID_1", "x", "not a whole number"}}},
        RefusalCase{"TextTooLongOrOutsideTheCodePage",
                    "Record,FirstName,LastName,Mug\r\n1,Bartholomewssons,\xCE\xA9mega,ABCDEFGH\r\n",
                    {{2, "FirstName", "Bartholomewssons", "16 characters long; the field holds 15"},
                     {2, "LastName", "\xCE\xA9mega", "code page"},
                     {2, "Mug", "ABCDEFGH", "8 characters long; the field holds 7"}}},
        RefusalCase{
            "UnknownAndRepeatedColumns",
            "Record,Speed,Act_SP,ACT_SP\r\n1,1,2,3\r\n",
            {{1, "Speed", "Speed", "no such column"}, {1, "ACT_SP", "ACT_SP", "appears twice"}}},
        RefusalCase{"ColumnsTheFileDoesNotKeepAndDerivedDisagreeing",
                    "Record,JNum,Weight,PositionTXT,PID\r\n1,7,300,QB,10\r\n2,,210,QB,12\r\n",
                    {{2, "JNum", "7", "does not keep"},
                     {2, "Weight", "300", "rWeight_0 and rWeight_1"},
                     {3, "PID", "12", "rPID_0 and rPID_1"}}},
        RefusalCase{"SamePlayerTwiceAndNoKey",
                    "Record,Act_SP\r\n2,1\r\n2,2\r\n,3\r\n3,1,9\r\n",
                    {{3, "Record", "2", "row 2 already changes"},
                     {4, "Record", "", "no key"},
                     {5, "", "9", "beyond the last column"}}},
        RefusalCase{"NoKeyColumn",
                    "LastName\r\nSmith\r\n",
                    {{1, "", "", "neither a Record nor a PID column"}}},
        RefusalCase{"EmptyFile", "\xEF\xBB\xBF", {{1, "", "", "no header row"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A 15-character first name fits its 15-byte field.
TEST(PlayerImport, TextAsLongAsItsFieldIsTaken) {
    const PlayerList players = PlayerList::FromFile(Image(FourPlayers()));
    const ImportPlan plan = PlanImport("Record,FirstName\r\n1,Bartholomewsson\r\n", players);
    ASSERT_TRUE(plan.refusals.empty());
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after, Value("Bartholomewsson"s));
}

// What export writes, import reads back as no change at all: numbers, padded and accented text,
// quoted text with commas and line breaks, NULs inside a field.
TEST(PlayerImport, ExportedSheetReadBackChangesNothing) {
    std::vector<Bytes> records = FourPlayers();
    Put(records[0], 99, "a,b\r\n\"q\"\0x"s);
    Put(records[1], 302, "\x81\x8D\xFF trailing  "s);
    Put(records[2], 8, "=SUM(A1)"s); // would run as a formula
    Put(records[2], 23, "'@x"s);     // an apostrophe of its own before it
    Put(records[3], 48, "'plain"s);  // an apostrophe before no formula stays as it is
    for (std::size_t n = 0; n < 18; ++n)
        records.push_back(PatternRecord(n)); // every byte value in the text fields
    const PlayerList players = PlayerList::FromFile(Image(records));
    const std::string csv = ExportCsv(players, std::nullopt);
    EXPECT_NE(csv.find("\r\n3,1,12,,'=SUM(A1),''@xes,"), std::string::npos);
    EXPECT_NE(csv.find(",'plain,"), std::string::npos);
    const ImportPlan plan = PlanImport(csv, players);
    EXPECT_TRUE(plan.refusals.empty()) << DescribeRefusal(plan.refusals.front());
    EXPECT_TRUE(plan.changes.empty()) << kPlayersColumns[plan.changes.front().column].name;
}

} // namespace
} // namespace tavrel
