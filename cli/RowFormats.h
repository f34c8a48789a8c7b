#pragma once

#include "store/PlayersTable.h"

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::cli {

// One row as a JSON object on one line, with its newline: the keys are the column names in
// table order, text is every character as stored (padding included, NUL as \u0000), numbers are
// integers and an empty value is null. Text that is not UTF-8 (typed into the database by another
// tool) shows U+FFFD where it breaks.
std::string JsonLine(std::span<const std::string_view> columns, std::span<const Value> values);

// The same for many rows of one table: the keys are made once, and each line is appended to `out`.
class JsonLineWriter {
public:
    explicit JsonLineWriter(std::span<const std::string_view> columns);
    void Append(std::string& out, std::span<const Value> values) const;

private:
    std::vector<std::string> keys_; // "Team": then ,"PID": ...
};

// Writes every row of the working table "players" or "teams" to `out` in the order import added
// them, as JSON lines or, with `csv`, as a CSV header and records. Throws LeagueError naming the
// working database, or the standard output when `out` fails.
void DumpTable(const std::filesystem::path& workingDb, const std::string& table, bool csv,
               std::ostream& out);

// One CSV record (RFC 4180) with its CRLF. Text loses its trailing NULs; a field holding a comma,
// a double quote, CR or LF is put in double quotes with its quotes doubled; an empty value is an
// empty field.
std::string CsvLine(std::span<const Value> values);

// The CSV header record: the column names.
std::string CsvHeader(std::span<const std::string_view> columns);

} // namespace tavrel::cli
