// Reading sheets: CSV rows as a spreadsheet numbers them, the flaws of hostile files, the one UTF-8
// decoder, workbook text escapes and workbooks written by export and by another program.
#include "exchange/SheetReader.h"

#include "TestFiles.h"
#include "base/LeagueError.h"
#include "base/Utf8.h"
#include "exchange/Csv.h"
#include "exchange/Xlsx.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace std::string_literals;

TEST(Utf8, AcceptsOnlyWellFormedText) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain", true},
        {"Mu\xC3\xB1oz \xE2\x82\xAC \xF0\x9F\x8F\x88", true},
        {"A\xC0\x80", false},        // overlong NUL
        {"\xE0\x80\xAF", false},     // overlong slash
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xF5\x80\x80\x80", false}, // no such lead byte
        {"\x80", false},             // a continuation byte alone
        {"\xC3", false},             // cut short
        {"\xE2\x82", false},         // cut short
        {"\xC3\xB1\xC3", false},     // cut short after a good one
        {"\xEF\xBF\xBF", true},      // U+FFFF is a character
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUtf8(c.text), c.valid) << CellExcerpt(c.text);

    // Whole texts are checked a character at a time without decoding: the same answer as the
    // decoder's for every pair of bytes, followed by bytes that continue a character or not.
    const auto decodes = [](std::string_view text) {
        for (std::size_t pos = 0; pos < text.size();)
            if (NextCodePoint(text, pos) < 0)
                return false;
        return true;
    };
    const unsigned char after[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC3};
    int disagreements = 0;
    for (int first = 0; first < 256; ++first)
        for (int second = 0; second < 256; ++second)
            for (const unsigned char third : after)
                for (const unsigned char fourth : after) {
                    const std::string text =
                        std::string{char(first), char(second), char(third), char(fourth)} +
                        "abcdefg";
                    disagreements += IsUtf8(text) != decodes(text);
                }
    EXPECT_EQ(disagreements, 0);
}

std::vector<std::string> Texts(const SheetCells& cells) {
    return std::vector<std::string>(cells.begin(), cells.end());
}

// Row numbers, cells and flaws of each CSV, "|" between cells, one string per row.
std::vector<std::string> Rows(const std::string& csv) {
    std::vector<std::string> rows;
    for (const SheetRow& row : ParseCsv(csv)) {
        std::string text = std::to_string(row.row) + ":";
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            text += (i ? "|" : "") + CellExcerpt(row.cells[i], 40);
        for (const CellFlaw& flaw : row.flaws)
            text += " !" + ColumnLetters(flaw.column) + " " + flaw.reason.substr(0, 20);
        rows.push_back(text);
    }
    return rows;
}

TEST(CsvReader, ReadsRowsAsASpreadsheetNumbersThem) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::string> rows;
    } cases[] = {
        {"line breaks inside quotes stay in their row",
         "Record,Unknown9\r\n1,\"a\r\nb\r\nc\"\r\n2,x\r\n",
         {"1:Record|Unknown9", "2:1|a\\r\\nb\\r\\nc", "3:2|x"}},
        {"blank lines are rows", "a\n\n\nb\r\rc", {"1:a", "4:b", "6:c"}},
        {"a row narrower than the one before", "a,b,c\nd\n,\n", {"1:a|b|c", "2:d", "3:|"}},
        {"quotes doubled, a quote inside unquoted text",
         "\"say \"\"hi\"\"\",5\" tall,\"\"\n",
         {"1:say \"hi\"|5\" tall|"}},
        {"a quote never closed is a flaw where it opened",
         "Record,LastName\r\n1,\"Smith,50\r\n2,Jones\r\n",
         {"1:Record|LastName", "2:1|Smith,50\\r\\n2,Jones\\r\\n !B the quote that opens"}},
        {"malformed UTF-8 after the byte-order mark",
         "\xEF\xBB\xBFRecord,LastName\r\n1,A\xC0\x80\r\n",
         {"1:Record|LastName", "2:1|A\\xC0\\x80 !B is not well-formed U"}},
        {"malformed UTF-8 in quotes after the byte-order mark",
         "\xEF\xBB\xBF\"\xC3\xB1\",\"A\xC0\x80\"\r\n",
         {"1:\xC3\xB1|A\\xC0\\x80 !B is not well-formed U"}},
        {"no mark and not UTF-8: Windows-1252",
         "1,Pe\xF1\x61,\x80\n",
         {"1:1|Pe\xC3\xB1\x61|\xE2\x82\xAC"}},
        {"UTF-8 without the mark", "1,Pe\xC3\xB1\x61\n", {"1:1|Pe\xC3\xB1\x61"}},
        {"a NUL stays in its cell", "1,\0x\n"s, {"1:1|\\u0000x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rows(c.csv), c.rows) << c.name;
}

// A hostile file costs a row's worth of memory: the oversized cell, the overlong row and the row
// wider than a spreadsheet are cut and flagged.
TEST(CsvReader, CutsWhatNoSpreadsheetHolds) {
    const std::string bigCell = "1," + std::string(kMaxCellBytes + 10, 'x') + ",2\n";
    std::vector<SheetRow> rows = ParseCsv(bigCell);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[1].size(), kMaxCellBytes);
    EXPECT_EQ(rows[0].cells[2], "2");
    ASSERT_EQ(rows[0].flaws.size(), 1u);
    EXPECT_EQ(rows[0].flaws[0].column, 2);

    // A cell cut inside a character is malformed only where the file is malformed elsewhere (here
    // far after it): a whole file says nothing of the cut character. The rows after it read whole.
    std::string after;
    for (int i = 0; i < 20000; ++i)
        after += "3,z\r\n";
    for (const bool brokenAfter : {false, true}) {
        rows = ParseCsv("\xEF\xBB\xBF"
                        "1," +
                        std::string(kMaxCellBytes - 1, 'x') + "\xC3\xB1,2\r\n" + after +
                        "4,\xC3\xB1" + (brokenAfter ? "\xFF" : ""));
        ASSERT_EQ(rows.size(), 20002u);
        EXPECT_EQ(rows[0].cells[2], "2");
        ASSERT_EQ(rows[0].flaws.size(), brokenAfter ? 2u : 1u);
        EXPECT_EQ(rows[0].flaws.back().column, 2);
        EXPECT_EQ(Texts(rows[20000].cells), (std::vector<std::string>{"3", "z"}));
        EXPECT_EQ(rows.back().cells[1], brokenAfter ? "\xC3\xB1\xFF" : "\xC3\xB1");
        EXPECT_EQ(rows.back().flaws.size(), brokenAfter ? 1u : 0u);
    }

    rows = ParseCsv(std::string(kMaxSheetColumns + 5, ',') + "\nnext\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells.size(), std::size_t(kMaxSheetColumns));
    ASSERT_EQ(rows[0].flaws.size(), 1u);
    EXPECT_EQ(rows[0].flaws[0].column, kMaxSheetColumns + 1);
    EXPECT_EQ(rows[1].row, 2);

    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += std::string(kMaxCellBytes, 'y') + ",";
    rows = ParseCsv(wide);
    ASSERT_EQ(rows.size(), 1u);
    std::size_t kept = 0;
    for (const std::string_view cell : rows[0].cells)
        kept += cell.size();
    EXPECT_LE(kept, kMaxRowBytes);
    EXPECT_FALSE(rows[0].flaws.empty());
}

// The file is read a chunk at a time: a character, a doubled quote, a line end or a comma cut by
// a chunk's end is read as if it were not, with the mark (cells checked one by one) and without
// (the whole file checked first).
TEST(CsvReader, ReadsAcrossChunks) {
    std::string lead;
    while (lead.size() < 65536 - 64)
        lead += "1,x\r\n";
    const std::size_t leadRows = lead.size() / 5;
    for (const std::string mark : {"\xEF\xBB\xBF", ""}) {
        for (std::size_t shift = 0; shift < 64; ++shift) {
            const std::string csv = mark + lead + "2," + std::string(shift, 'y') +
                                    ",\xE2\x82\xAC\xC3\xB1,\"q\"\"\xE2\x82\xAC\"\r\n3,z\n";
            const std::vector<SheetRow> rows = ParseCsv(csv);
            ASSERT_EQ(rows.size(), leadRows + 2) << shift;
            bool flawless = true;
            for (const SheetRow& row : rows)
                flawless = flawless && row.flaws.empty();
            EXPECT_TRUE(flawless) << shift;
            EXPECT_EQ(Texts(rows[leadRows].cells),
                      (std::vector<std::string>{"2", std::string(shift, 'y'),
                                                "\xE2\x82\xAC\xC3\xB1", "q\"\xE2\x82\xAC"}))
                << shift;
            EXPECT_EQ(Texts(rows.back().cells), (std::vector<std::string>{"3", "z"})) << shift;
            EXPECT_EQ(rows.back().row, int(leadRows) + 2) << shift;
        }
    }
}

TEST(SheetReader, NamesColumnsAndCutsExcerpts) {
    const std::pair<int, std::string> columns[] = {{1, "A"},     {26, "Z"},     {27, "AA"},
                                                   {52, "AZ"},   {53, "BA"},    {702, "ZZ"},
                                                   {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [number, letters] : columns)
        EXPECT_EQ(ColumnLetters(number), letters) << number;
    EXPECT_EQ(DescribeColumn(28), "column 28 (AB)");
    EXPECT_EQ(CellExcerpt(std::string(100, 'a'), 5), "aaaaa...");
    EXPECT_EQ(CellExcerpt("\xC3\xB1\xC3\xB1\xC3\xB1", 3), "\xC3\xB1\xC3\xB1...");
    EXPECT_EQ(CellExcerpt("a\r\nb\0"s), "a\\r\\nb\\u0000");
}

TEST(Xlsx, TextEscapesComeBackAsTheyWent) {
    const struct {
        std::string text;
        std::string stored;
    } cases[] = {
        {"plain", "plain"},
        {"_x0041_", "_x005F_x0041_"},
        {"a_x12G4_b", "a_x12G4_b"}, // no escape: G is no hex digit
        {"N\0L"s, "N_x0000_L"},
        {"cr\r lf\n tab\t", "cr_x000D_ lf\n tab\t"},
        {"__x00ff_", "__x005F_x00ff_"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapedXlsxText(c.text), c.stored) << c.stored;
        EXPECT_EQ(UnescapedXlsxText(c.stored), c.text) << c.stored;
    }
    // What other programs write: a pair for a character past U+FFFF, a lone half left as it is.
    EXPECT_EQ(UnescapedXlsxText("_xD83C__xDFC8_"), "\xF0\x9F\x8F\x88");
    EXPECT_EQ(UnescapedXlsxText("_xD83C_x"), "_xD83C_x");
    EXPECT_EQ(UnescapedXlsxText("_x00F1_"), "\xC3\xB1");
}

TEST(Xlsx, RefusesWhatIsNoWorkbook) {
    const std::string cases[] = {"", "PK\x03\x04 not really", "Record,Act_SP\r\n1,2\r\n"};
    for (const std::string& bytes : cases)
        EXPECT_THROW(XlsxReader(bytes, "broken.xlsx"), std::exception) << CellExcerpt(bytes);
}

// Workbooks of the saved fuzz corpus: one written by another program (shared strings, a number
// stored as a double, a second sheet), one hand-made (inline strings, a cell past the last
// column) and a zip bomb of one text, refused before it is read into memory.
TEST(Xlsx, ReadsWorkbooksOfOtherProgramsAndRefusesABomb) {
    const std::filesystem::path corpus = std::filesystem::path(TAVREL_SHEET_CORPUS) / "xlsx_sheet";
    const auto rows = [](XlsxReader& reader) {
        std::vector<std::string> out;
        for (SheetRow row; reader.Next(row);) {
            std::string text = std::to_string(row.row) + ":";
            for (std::size_t i = 0; i < row.cells.size(); ++i)
                text += (i ? "|" : "") + CellExcerpt(row.cells[i]);
            for (const CellFlaw& flaw : row.flaws)
                text += " !" + std::to_string(flaw.column);
            out.push_back(text);
        }
        return out;
    };
    // That program stores "_x0041_" bare, which spreadsheets read as "A": so does import.
    XlsxReader openpyxl(corpus / "openpyxl-shared-strings");
    EXPECT_EQ(rows(openpyxl),
              (std::vector<std::string>{"1:Record|FirstName|Act_SP", "2:1|A|55", "3:3|Jo|100"}));
    XlsxReader handMade(corpus / "inline-strings");
    EXPECT_EQ(rows(handMade),
              (std::vector<std::string>{"1:Record|LastName", "2:2|N\\u0000L !16385"}));
    const LeagueError bomb = testing::Failure([&] {
        XlsxReader reader(corpus / "one-huge-text");
        rows(reader);
    });
    EXPECT_NE(std::string(bomb.what()).find("far longer than any cell"), std::string::npos)
        << bomb.what();
}

} // namespace
} // namespace tavrel
