#include "base/Utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tavrel {
namespace {

// What a byte begins: how many continuation bytes follow it and the range of the first of them
// (extra -1: no character begins with it).
struct Lead {
    int extra;
    int low, high;
};

constexpr std::array<Lead, 256> kLeads = [] {
    std::array<Lead, 256> leads{};
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80)
            leads[b] = {0, 0x00, 0xFF};
        else if (b >= 0xC2 && b <= 0xDF)
            leads[b] = {1, 0x80, 0xBF};
        else if (b >= 0xE0 && b <= 0xEF) // shorter forms are overlong, ED A0..ED BF surrogates
            leads[b] = {2, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF};
        else if (b >= 0xF0 && b <= 0xF4) // nothing past U+10FFFF
            leads[b] = {3, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF};
        else // C0, C1 (overlong), F5..FF, or a continuation byte without a lead
            leads[b] = {-1, 0x00, 0x00};
    }
    return leads;
}();

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

long NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto first = static_cast<unsigned char>(s[pos++]);
    const Lead lead = kLeads[first];
    if (lead.extra <= 0)
        return lead.extra == 0 ? long(first) : -1;
    long cp = first & (0x3F >> lead.extra);
    for (int i = 0; i < lead.extra; ++i) {
        if (pos >= s.size())
            return -1;
        const auto b = static_cast<unsigned char>(s[pos]);
        if (i == 0 ? (b < lead.low || b > lead.high) : !IsContinuation(b))
            return -1;
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp;
}

bool IsUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t pos = 0;
    while (text.size() - pos >= 8) {
        // Eight bytes at a time: ASCII up to the first byte past it is skipped in one step, most
        // text being ASCII.
        std::uint64_t eight = 0;
        std::memcpy(&eight, s + pos, 8);
        const std::uint64_t high = eight & 0x8080808080808080u;
        if (high == 0) {
            pos += 8;
            continue;
        }
        pos += std::size_t(std::endian::native == std::endian::little ? std::countr_zero(high)
                                                                      : std::countl_zero(high)) /
               8;
        if (text.size() - pos < 4)
            break;
        // Then the character that byte begins, told with no branch on its kind (text that mixes
        // kinds, such as the bytes of a field read as Windows-1252, would keep a branch guessing).
        const Lead lead = kLeads[s[pos]];
        const bool whole = (lead.extra >= 0) &
                           ((unsigned(s[pos + 1] - lead.low) <= unsigned(lead.high - lead.low)) |
                            (lead.extra < 1)) &
                           (IsContinuation(s[pos + 2]) | (lead.extra < 2)) &
                           (IsContinuation(s[pos + 3]) | (lead.extra < 3));
        if (!whole)
            return false;
        pos += std::size_t(lead.extra) + 1;
    }
    while (pos < text.size()) // the last few bytes, a character at a time
        if (NextCodePoint(text, pos) < 0)
            return false;
    return true;
}

} // namespace tavrel
