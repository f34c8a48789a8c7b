#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// Comma-separated values as RFC 4180 has them, the way spreadsheets write and read them.

// Appends one field: as it is, or in double quotes with its quotes doubled when it holds a comma,
// a double quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view text);

// Text that a spreadsheet would take for a formula (it starts with =, +, - or @, after any run of
// apostrophes) gets one more apostrophe in front, which spreadsheets show as text and which
// UnguardedText removes again: a name in a league file cannot run as a formula when the sheet is
// opened, and every text still comes back as it went out.
std::string GuardedText(std::string text);
std::string UnguardedText(std::string text);

// One record of a CSV file and the line it starts on (1-based), for messages.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

// Splits a whole CSV file into records. Takes what spreadsheets save: a UTF-8 byte-order mark or
// none, CRLF, LF or CR line ends, quoted fields holding commas, quotes and line breaks. A file
// that is not UTF-8 is taken as Windows-1252, as spreadsheets save "CSV" without the UTF-8 option;
// the fields come back as UTF-8 either way. Blank lines are skipped. A quote inside an unquoted
// field is taken as it is. Never fails: a quote left open runs to the end of the file.
std::vector<CsvRecord> ParseCsv(std::string_view bytes);

} // namespace tavrel
