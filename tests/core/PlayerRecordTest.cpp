#include "fileformat/PlayerRecord.h"

#include "TestPlayers.h"
#include "fileformat/Windows1252.h"
#include "store/Vocabulary.h"

#include <QString>
#include <array>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

TEST(PlayerRecord, FieldsFollowTheColumnsAndCoverTheRecordButSixtyBytes) {
    // Column names match without regard to case.
    EXPECT_EQ(PlayersColumnIndex("ACT_AS"), PlayersColumnIndex("Act_AS"));
    EXPECT_EQ(PlayersColumnIndex("Age"), PlayersColumnIndex("AGE"));
    EXPECT_FALSE(PlayersColumnIndex("PNAME"));
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

TEST(PlayerRecord, DecodesTheWorkedExample) {
    const PlayerRow row = DecodedRow(WorkedExampleRecord(45, 60, 7, 255));
    const std::pair<const char*, std::int64_t> numbers[] = {
        {"PID", 10000}, {"Weight", 210}, {"Position", 13}, {"Act_SP", 45},
        {"Pot_SP", 60}, {"Act_FA", 7},   {"Pot_FA", 255},  {"rWeight_0", 0xD2}};
    for (const auto& [column, value] : numbers)
        EXPECT_EQ(Num(row, column), value) << column;
    EXPECT_EQ(Str(row, "PositionTXT"), "S");
    EXPECT_EQ(Str(row, "FirstName"), std::string("John") + std::string(11, '\0'));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(row[Col("JNum")]));
    std::string positions; // by code, and none past the last
    for (int code = 0; code <= kPositionCount; ++code)
        positions += PositionText(code) + " ";
    EXPECT_EQ(positions, "QB HB FB C G T WR TE K DE DT LB CB S P  ");
}

// PID (bytes 0, 1), Unknown0 (2, 3) and Weight (86, 87) are signed 16-bit, low byte first.
TEST(PlayerRecord, SixteenBitFieldsAtTheirLimits) {
    const struct {
        std::uint8_t low, high;
        std::int64_t value;
    } cases[] = {{0xFF, 0x7F, 32767}, {0x00, 0x80, -32768}, {0xFF, 0xFF, -1}, {0x00, 0x01, 256}};
    for (const auto& c : cases) {
        Bytes r = PatternRecord(0);
        r[0] = r[2] = r[86] = c.low;
        r[1] = r[3] = r[87] = c.high;
        r[94] = 20; // no position
        const PlayerRow row = DecodedRow(r);
        for (const char* column : {"PID", "Unknown0", "Weight"})
            EXPECT_EQ(Num(row, column), c.value) << column;
        EXPECT_EQ(Str(row, "PositionTXT"), "");
        Record out{};
        EncodePlayerRecord(row, out);
        EXPECT_EQ(std::pair(out[2], out[3]), std::pair(c.low, c.high)) << c.value;
    }
}

// "Column reason" of the row's problem; empty for a row that can be written.
std::string ProblemOf(const PlayerRow& row) {
    const std::optional<RowProblem> p = CheckPlayerRow(row);
    return p ? std::string(kPlayersColumns[p->column].name) + " " + p->reason : "";
}

TEST(PlayerRecord, CheckRefusesWhatItsFieldCannotHold) {
    const struct {
        const char* column;
        Value value;
        const char* problem; // "" for a row that can be written
    } cases[] = {
        {"Unknown0", std::int64_t(32767), ""},
        {"Unknown0", std::int64_t(-32768), ""},
        {"Unknown0", std::int64_t(32768), "Unknown0 value 32768 is outside -32768..32767"},
        {"Unknown0", std::int64_t(-32769), "Unknown0 value -32769 is outside -32768..32767"},
        {"Act_SP", std::int64_t(255), ""},
        {"Act_SP", std::int64_t(0), ""},
        {"Act_SP", std::int64_t(256), "Act_SP value 256 is outside 0..255"},
        {"Pot_FA", std::int64_t(-1), "Pot_FA value -1 is outside 0..255"},
        {"College", Value{}, "College has no value"},
        {"FirstName", std::int64_t(5), "FirstName is not text"},
        {"Team", std::string("x"), "Team is not a whole number"},
        // Derived and never-filled columns are not written, so not checked.
        {"PID", std::int64_t(999999), ""},
        {"Weight", Value{}, ""},
        {"JNum", std::string("x"), ""},
    };
    for (const auto& c : cases) {
        PlayerRow row = DecodedRow(PatternRecord(0));
        row[Col(c.column)] = c.value;
        EXPECT_EQ(ProblemOf(row), c.problem);
    }
}

// Code page 1252 as published, byte 0x00 to 0xFF; the five bytes it leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number.
// clang-format off
constexpr char32_t kCodePage1252[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017, 0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};
// clang-format on

// Qt's encoder is the reference: the product has its own.
std::string Utf8(char32_t cp) {
    return QString::fromUcs4(&cp, 1).toStdString();
}

TEST(Windows1252, EveryByteMapsToItsPublishedCharacterAndBack) {
    std::string allBytes, allText;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, char(b));
        const std::string text = Utf8(kCodePage1252[b]);
        EXPECT_EQ(DecodeWindows1252(byte), text) << "byte " << b;
        EXPECT_EQ(EncodeWindows1252(text), byte) << "byte " << b;
        EXPECT_TRUE(FitsWindows1252(text)) << "byte " << b;
        allBytes += byte;
        allText += text;
    }
    EXPECT_EQ(DecodeWindows1252(allBytes), allText);
    EXPECT_EQ(EncodeWindows1252(allText), allBytes);
    EXPECT_EQ(CharacterCount(allText), 256u);
}

TEST(Windows1252, WhatThePageLacksBecomesAQuestionMark) {
    // Control characters the page has no byte for, characters beyond it, malformed UTF-8.
    for (const char32_t cp : {0x80, 0x82, 0x9F, 0x100, 0x2010, 0x20AD, 0x4E2D, 0x1F600}) {
        EXPECT_EQ(EncodeWindows1252("a" + Utf8(cp) + "b"), "a?b") << std::hex << std::uint32_t(cp);
        EXPECT_FALSE(FitsWindows1252(Utf8(cp))) << std::hex << std::uint32_t(cp);
    }
    EXPECT_EQ(EncodeWindows1252("a\xC3"), "a?"); // cut short at the end
    EXPECT_FALSE(FitsWindows1252("a\xC3"));
    EXPECT_EQ(EncodeWindows1252("\xE2\x82z"), "?z"); // cut short before a letter
    EXPECT_EQ(EncodeWindows1252("\xFF"), "?");
    char field[3];
    EXPECT_EQ(EncodeWindows1252("\u00E9\u20ACxyz", field), 3u);
    EXPECT_EQ(std::string(field, 3), "\xE9\x80x");
}

} // namespace
} // namespace tavrel
