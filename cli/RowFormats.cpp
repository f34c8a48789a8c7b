#include "cli/RowFormats.h"

#include "base/Utf8.h"
#include "exchange/Csv.h"
#include "store/Text.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <vector>

namespace tavrel::cli {
namespace {

// A JSON string as the JSON library writes it: quotes, backslashes and control characters
// escaped, everything else as it is.
void AppendJsonString(std::string& out, std::string_view text) {
    if (!IsUtf8(text)) {
        // The library's own replacement of what is broken, so the output stays the same.
        out += nlohmann::json(std::string(text))
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out += '"';
    std::size_t plain = 0; // start of the characters not yet written, none needing an escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            constexpr const char* kHex = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out.append(text, plain);
    out += '"';
}

} // namespace

JsonLineWriter::JsonLineWriter(std::span<const std::string_view> columns) {
    for (const std::string_view name : columns)
        keys_.push_back((keys_.empty() ? "\"" : ",\"") + std::string(name) + "\":");
}

void JsonLineWriter::Append(std::string& out, std::span<const Value> values) const {
    out += '{';
    for (std::size_t i = 0; i < keys_.size() && i < values.size(); ++i) {
        out += keys_[i];
        if (const auto* n = std::get_if<std::int64_t>(&values[i])) {
            char buffer[24];
            out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *n).ptr);
        } else if (const auto* s = std::get_if<std::string>(&values[i])) {
            AppendJsonString(out, *s);
        } else {
            out += "null";
        }
    }
    out += "}\n";
}

std::string JsonLine(std::span<const std::string_view> columns, std::span<const Value> values) {
    std::string line;
    JsonLineWriter(columns).Append(line, values);
    return line;
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
