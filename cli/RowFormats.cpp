#include "cli/RowFormats.h"

#include "exchange/Csv.h"
#include "store/Text.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace tavrel::cli {

std::string JsonLine(std::span<const std::string_view> columns, std::span<const Value> values) {
    nlohmann::ordered_json row = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        const std::string key(columns[i]);
        if (const auto* n = std::get_if<std::int64_t>(&values[i]))
            row[key] = *n;
        else if (const auto* s = std::get_if<std::string>(&values[i]))
            row[key] = *s;
        else
            row[key] = nullptr;
    }
    // Text that is not UTF-8 (typed into the database by another tool) shows U+FFFD rather than
    // ending the dump.
    return row.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

std::string CsvLine(std::span<const Value> values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += ',';
        if (const auto* n = std::get_if<std::int64_t>(&values[i])) {
            line += std::to_string(*n);
        } else if (const auto* s = std::get_if<std::string>(&values[i])) {
            std::string text = *s;
            AppendCsvField(line, StripTrailingNulls(text));
        }
    }
    return line + "\r\n";
}

std::string CsvHeader(std::span<const std::string_view> columns) {
    std::vector<Value> names;
    for (const std::string_view name : columns)
        names.emplace_back(std::string(name));
    return CsvLine(names);
}

} // namespace tavrel::cli
