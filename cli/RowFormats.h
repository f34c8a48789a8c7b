#pragma once

#include "store/PlayersTable.h"

#include <span>
#include <string>
#include <string_view>

namespace tavrel::cli {

// One row as a JSON object on one line, with its newline: the keys are the column names in
// table order, text is every character as stored (padding included, NUL as \u0000), numbers are
// integers and an empty value is null.
std::string JsonLine(std::span<const std::string_view> columns, std::span<const Value> values);

// One CSV record (RFC 4180) with its CRLF. Text loses its trailing NULs; a field holding a comma,
// a double quote, CR or LF is put in double quotes with its quotes doubled; an empty value is an
// empty field.
std::string CsvLine(std::span<const Value> values);

// The CSV header record: the column names.
std::string CsvHeader(std::span<const std::string_view> columns);

} // namespace tavrel::cli
