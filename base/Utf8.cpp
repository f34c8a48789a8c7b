#include "base/Utf8.h"

#include <cstdint>
#include <cstring>

namespace tavrel {

long NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // shorter forms are overlong
        high = lead == 0xED ? 0x9F : 0xBF; // ED A0..ED BF are surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return -1; // C0, C1 (overlong), F5..FF, or a continuation byte without a lead
    }
    long cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size())
            return -1;
        const auto b = static_cast<unsigned char>(s[pos]);
        if (i == 0 ? (b < low || b > high) : (b & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        // Eight ASCII bytes at a time: most text is ASCII.
        std::uint64_t eight = 0;
        while (pos + 8 <= text.size() &&
               (std::memcpy(&eight, text.data() + pos, 8), (eight & 0x8080808080808080u) == 0))
            pos += 8;
        // Plain ASCII runs are the common case: skip them without decoding.
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        if (pos == text.size())
            break;
        const auto lead = static_cast<unsigned char>(text[pos]);
        // So are two-byte characters (the accented letters): a lead C2..DF, one continuation.
        if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < text.size() &&
            (static_cast<unsigned char>(text[pos + 1]) & 0xC0) == 0x80) {
            pos += 2;
            continue;
        }
        if (NextCodePoint(text, pos) < 0)
            return false;
    }
    return true;
}

} // namespace tavrel
