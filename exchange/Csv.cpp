#include "exchange/Csv.h"

#include "fileformat/Windows1252.h"

namespace tavrel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF).
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        unsigned lowest = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1, lowest = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, lowest = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, lowest = 0x10000;
        } else {
            return false;
        }
        if (i + more >= bytes.size())
            return false;
        unsigned code = c & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

// Whether the text starts with apostrophes followed by a character that begins a formula.
bool LooksLikeFormula(std::string_view text, std::size_t apostrophes) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos && first >= apostrophes &&
           std::string_view("=+-@").find(text[first]) != std::string_view::npos;
}

} // namespace

std::string GuardedText(std::string text) {
    if (LooksLikeFormula(text, 0))
        text.insert(text.begin(), '\'');
    return text;
}

std::string UnguardedText(std::string text) {
    if (LooksLikeFormula(text, 1))
        text.erase(text.begin());
    return text;
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::vector<CsvRecord> ParseCsv(std::string_view bytes) {
    std::string decoded;
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    } else if (!IsUtf8(bytes)) {
        decoded = DecodeWindows1252(bytes);
        bytes = decoded;
    }

    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    int line = 1;
    bool quoted = false;      // inside a quoted field
    bool fieldOpen = false;   // something of the current record has been read
    bool atFieldStart = true; // a quote opens a quoted field only as its first character
    const auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        atFieldStart = true;
    };
    const auto endRecord = [&] {
        if (fieldOpen) {
            endField();
            records.push_back(std::move(record));
        }
        record = CsvRecord{};
        fieldOpen = false;
        atFieldStart = true;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (!fieldOpen) {
            record.line = line;
            fieldOpen = c != '\r' && c != '\n';
        }
        if (quoted) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        const bool first = atFieldStart;
        atFieldStart = false;
        if (c == '"' && first) {
            quoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            endRecord();
            ++line;
        } else {
            field += c;
        }
    }
    endRecord();
    return records;
}

} // namespace tavrel
