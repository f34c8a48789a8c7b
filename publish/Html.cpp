#include "publish/Html.h"

#include <cstdint>

namespace tavrel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at `i`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF)
        return 0;
    return length;
}

// C0 controls but tab and line feed, DEL, and the C1 controls (U+0080..U+009F, C2 80..C2 9F):
// none of them is allowed in a page.
bool IsControl(std::string_view text, std::size_t i, std::size_t length) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (length == 1)
        return (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
    return length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

// Calls plain(i, length) for every character kept as it is and bad() for each replaced one.
template <typename Plain, typename Bad>
void ForEachCharacter(std::string_view text, Plain&& plain, Bad&& bad) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0 || IsControl(text, i, length)) {
            bad();
            i += length == 0 ? 1 : length;
        } else {
            plain(i, length);
            i += length;
        }
    }
}

} // namespace

void AppendHtml(std::string& out, std::string_view text) {
    ForEachCharacter(
        text,
        [&](std::size_t i, std::size_t length) {
            switch (text[i]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out.append(text.substr(i, length));
            }
        },
        [&] { out += kReplacement; });
}

std::string Html(std::string_view text) {
    std::string out;
    AppendHtml(out, text);
    return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    ForEachCharacter(
        text,
        [&](std::size_t i, std::size_t length) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += char(c);
            } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out.append(text.substr(i, length));
            }
        },
        [&] { out += "\\ufffd"; });
    out += '"';
}

} // namespace tavrel
