#pragma once

#include "exchange/SheetReader.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// Comma-separated values as RFC 4180 has them, the way spreadsheets write and read them.

// Appends one field: as it is, or in double quotes with its quotes doubled when it holds a comma,
// a double quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view text);

// Text that a spreadsheet would take for a formula (it starts with =, +, - or @, or with a tab or
// carriage return that a spreadsheet drops before looking, after any run of apostrophes) gets one
// more apostrophe in front, which spreadsheets show as text and which UnguardedText removes again:
// a name in a league file cannot run as a formula when the sheet is opened, and every text still
// comes back as it went out. Export guards CSV and XLSX alike, import unguards both.
std::string GuardedText(std::string text);
std::string UnguardedText(std::string text);

// Reads a CSV file row by row from `in`, which must allow going back to its start (a file or a
// string stream). Takes what spreadsheets save: a UTF-8 byte-order mark or none, CRLF, LF or CR
// line ends, quoted fields holding commas, quotes and line breaks. A file without the mark that
// is not UTF-8 throughout is taken as Windows-1252, as spreadsheets save "CSV" without the UTF-8
// option; the cells come back as UTF-8 either way. A file with the mark must be UTF-8: a cell that
// is not is a flaw. A quote inside an unquoted field is taken as it is; a quote left open is a
// flaw of the cell it opens (its text would be the rest of the file). Rows are numbered as a
// spreadsheet numbers them: a line break inside quotes stays in its row, a blank line is a row.
// A file with the mark is read once; one without it twice, the first pass telling the encoding.
class CsvReader : public SheetReader {
public:
    // `file` names the sheet in messages. Throws LeagueError when `in` cannot be read.
    explicit CsvReader(std::istream& in, std::filesystem::path file = {});
    bool Next(SheetRow& row) override;

private:
    bool Fill();
    bool FileIsUtf8();
    void StartField();
    void AddBytes(const char* bytes, std::size_t size);
    void AddRun(bool insideQuotes);
    void AddPlainFields();
    void EndField();
    void EndCheckedField();
    void EndRow();

    std::istream& in_;
    std::filesystem::path file_;
    bool bom_ = false;
    bool windows1252_ = false;
    std::optional<bool> fileIsUtf8_; // everything after the mark, once known
    std::string buffer_;
    std::size_t filled_ = 0; // bytes of buffer_ the last read gave
    std::size_t at_ = 0;
    bool ended_ = false;

    SheetRow* row_ = nullptr;     // the row being read
    std::string* into_ = &field_; // where the field's bytes go: the row's text, or field_
    std::size_t fieldStart_ = 0;  // where in *into_ they start
    int rowNumber_ = 1;
    std::string field_;   // the field's bytes when they are not its cell's text as they are
    std::string decoded_; // those bytes decoded from Windows-1252
    std::size_t rowBytes_ = 0;
    bool rowOpen_ = false;      // something of the current row has been read
    bool atFieldStart_ = true;  // a quote opens a quoted field only as its first character
    bool quoted_ = false;       // inside a quoted field
    bool afterQuote_ = false;   // just past a quote that closed a quoted field ("" is a quote)
    bool afterCr_ = false;      // just past a CR ending a row: an LF after it ends nothing more
    bool fieldCut_ = false;     // the field went past what a cell holds
    bool fieldHigh_ = false;    // the field may hold a byte past ASCII
    bool rowCut_ = false;       // the row went past kMaxRowBytes
    bool tooManyCells_ = false; // the row went past kMaxSheetColumns
    int quoteColumn_ = 0;       // the column of the quoted field being read
};

// A whole CSV text, row by row: for tests and small texts.
std::vector<SheetRow> ParseCsv(std::string_view bytes);

} // namespace tavrel
