#include "league/PlayerRecord.h"

#include "TestPlayers.h"
#include "league/Windows1252.h"
#include "store/PlayersTable.h"
#include "store/Vocabulary.h"

#include <array>
#include <gtest/gtest.h>
#include <numeric>

namespace tavrel {
namespace {

using namespace tavrel::testing;

TEST(PlayersTable, ColumnNamesMatchWithoutRegardToCase) {
    EXPECT_EQ(PlayersColumnIndex("ACT_AS"), PlayersColumnIndex("Act_AS"));
    EXPECT_EQ(PlayersColumnIndex("Age"), PlayersColumnIndex("AGE"));
    EXPECT_FALSE(PlayersColumnIndex("PNAME"));
}

TEST(PlayerRecord, FieldsFollowTheColumnsAndCoverTheRecordButSixtyBytes) {
    std::array<int, kPlayerRecordSize> owners{};
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const RecordField& f = kRecordFields[i];
        EXPECT_EQ(f.column, kPlayersColumns[i].name) << "position " << i;
        for (int b = 0; b < FieldWidth(f); ++b)
            ++owners[f.offset + b];
    }
    EXPECT_EQ(std::count(owners.begin(), owners.end(), 0), 60);
    EXPECT_EQ(std::count_if(owners.begin(), owners.end(), [](int n) { return n > 1; }), 0);
}

TEST(PlayerRecord, DecodesTheWorkedExamples) {
    Bytes r = WorkedExampleRecord(45, 60, 7, 255);
    PlayerRow row = DecodedRow(r);
    EXPECT_EQ(Num(row, "PID"), 10000);
    EXPECT_EQ(Num(row, "Weight"), 210);
    EXPECT_EQ(Num(row, "Position"), 13);
    EXPECT_EQ(Str(row, "PositionTXT"), "S");
    EXPECT_EQ(Num(row, "Act_SP"), 45);
    EXPECT_EQ(Num(row, "Pot_SP"), 60);
    EXPECT_EQ(Num(row, "Act_FA"), 7);
    EXPECT_EQ(Num(row, "Pot_FA"), 255);
    EXPECT_EQ(Str(row, "FirstName"), std::string("John") + std::string(11, '\0'));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(row[Col("JNum")]));

    r[94] = 20;
    r[0] = 0xFF;
    r[1] = 0xFF;
    r[87] = 0x80;
    row = DecodedRow(r);
    EXPECT_EQ(Str(row, "PositionTXT"), "");
    EXPECT_EQ(Num(row, "PID"), -1);
    EXPECT_EQ(Num(row, "Weight"), -32768 + 0xD2);
}

TEST(PlayerRecord, UneditedRowEncodesToTheSameBytes) {
    const Bytes original = PatternRecord(0);
    const PlayerRow row = DecodedRow(original);
    ASSERT_FALSE(CheckPlayerRow(row));
    Record out{};
    std::fill(out.begin(), out.end(), 0xEE);
    EncodePlayerRecord(row, out);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool unmodelled =
            (i >= 175 && i < 234 && (i - 175) % 2 == 1) ||
            (i >= 243 && i < 302 && ((i - 243) % 2 == 1 || i == 291 || i == 293));
        EXPECT_EQ(out[i], unmodelled ? 0xEE : original[i]) << "offset " << i;
    }
}

TEST(PlayerRecord, TextIsPaddedWithSpacesAndCut) {
    PlayerRow row = DecodedRow(PatternRecord(0));
    row[Col("FirstName")] = std::string("Bob");
    row[Col("LastName")] = std::string("Abcdefghijklmnopqrstuvwxyz0123");
    Record out{};
    EncodePlayerRecord(row, out);
    EXPECT_EQ(std::string(out.begin() + 8, out.begin() + 23), "Bob            ");
    EXPECT_EQ(std::string(out.begin() + 23, out.begin() + 48), "Abcdefghijklmnopqrstuvwxy");
}

TEST(PlayerRecord, CheckNamesTheColumnThatCannotBeWritten) {
    PlayerRow row = DecodedRow(PatternRecord(0));
    row[Col("Act_SP")] = std::int64_t(256);
    auto problem = CheckPlayerRow(row);
    ASSERT_TRUE(problem);
    EXPECT_EQ(kPlayersColumns[problem->column].name, "Act_SP");

    row[Col("Act_SP")] = std::int64_t(-1);
    EXPECT_TRUE(CheckPlayerRow(row));
    row[Col("Act_SP")] = std::int64_t(255);
    row[Col("Unknown0")] = std::int64_t(40000);
    EXPECT_EQ(kPlayersColumns[CheckPlayerRow(row)->column].name, "Unknown0");
    row[Col("Unknown0")] = std::int64_t(-1);
    row[Col("College")] = std::monostate{};
    EXPECT_EQ(kPlayersColumns[CheckPlayerRow(row)->column].name, "College");
    // Derived and never-filled columns are not read by export.
    row[Col("College")] = std::string("X");
    row[Col("PID")] = std::int64_t(999999);
    row[Col("JNum")] = std::monostate{};
    EXPECT_FALSE(CheckPlayerRow(row));
    Record out{};
    EncodePlayerRecord(row, out);
    EXPECT_EQ(out[2], 0xFF);
    EXPECT_EQ(out[3], 0xFF);
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), 0);
    const std::string utf8 = DecodeWindows1252(all);
    EXPECT_EQ(EncodeWindows1252(utf8), all);
    EXPECT_EQ(CharacterCount(utf8), 256u);
    EXPECT_TRUE(FitsWindows1252(utf8));
    EXPECT_EQ(DecodeWindows1252("\x80\xE9\x81"), "\u20AC\u00E9\u0081");
    EXPECT_EQ(EncodeWindows1252("\u4E2D\xFF"), "??");
    EXPECT_EQ(EncodeWindows1252("a\xC3"), "a?");           // cut short at the end
    EXPECT_EQ(EncodeWindows1252("\xE2\x82z"), "?z");       // cut short before a letter
    EXPECT_EQ(EncodeWindows1252("\u0080\u2013"), "?\x96"); // a C1 control the page lacks
    char field[3];
    EXPECT_EQ(EncodeWindows1252("\u00E9\u20ACxyz", field), 3u);
    EXPECT_EQ(std::string(field, 3), "\xE9\x80x");
    EXPECT_FALSE(FitsWindows1252("\u4E2D"));
}

TEST(Vocabulary, PositionsAndTooltips) {
    EXPECT_EQ(PositionText(13), "S");
    EXPECT_EQ(PositionText(14), "P");
    EXPECT_EQ(PositionText(15), "");
    EXPECT_EQ(PositionText(255), "");
    EXPECT_EQ(PotentialTooltip(*RatingIndex("VT"), TooltipSet::MainWindow),
              "Potentila Vertical Jump");
    EXPECT_EQ(ActualTooltip(*RatingIndex("DI"), TooltipSet::MainWindow), "Actual Discipline");
    EXPECT_EQ(ActualTooltip(*RatingIndex("DI"), TooltipSet::GlobalEdit), "Actual Disipline");
    EXPECT_EQ(PotentialTooltip(*RatingIndex("PB"), TooltipSet::GlobalEdit),
              "potential Pass Blocking");
}

} // namespace
} // namespace tavrel
