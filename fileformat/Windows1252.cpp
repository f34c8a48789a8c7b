#include "fileformat/Windows1252.h"

#include "base/Utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tavrel {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t CodePointOf(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : char32_t(byte);
}

// Every character of the code page lies below U+0300 or in U+2000..U+212F. The byte of each code
// point of those two ranges, -1 where the code page has none, worked out once for the way back.
constexpr char32_t kLowEnd = 0x300;
constexpr char32_t kPunctuationStart = 0x2000;
constexpr char32_t kPunctuationEnd = 0x2130;

struct ByteTables {
    std::array<std::int16_t, kLowEnd> low;
    std::array<std::int16_t, kPunctuationEnd - kPunctuationStart> punctuation;
};

constexpr ByteTables MakeByteTables() {
    ByteTables t{};
    t.low.fill(-1);
    t.punctuation.fill(-1);
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = CodePointOf(static_cast<unsigned char>(b));
        if (cp < kLowEnd)
            t.low[cp] = std::int16_t(b);
        else
            t.punctuation[cp - kPunctuationStart] = std::int16_t(b);
    }
    return t;
}

constexpr ByteTables kByteTables = MakeByteTables();

// The byte for a code point, or -1 where the code page has none.
int ByteOf(char32_t cp) {
    if (cp < kLowEnd)
        return kByteTables.low[cp];
    if (cp >= kPunctuationStart && cp < kPunctuationEnd)
        return kByteTables.punctuation[cp - kPunctuationStart];
    return -1;
}

// The UTF-8 form of every byte of the code page, worked out once: decoding is a table look-up.
// Each form is kept in four bytes so that it is copied with one store whatever its length.
struct Utf8Form {
    std::array<char, 4> bytes;
    std::uint8_t size;
};

constexpr std::array<Utf8Form, 256> MakeUtf8Forms() {
    std::array<Utf8Form, 256> forms{};
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = CodePointOf(static_cast<unsigned char>(b));
        Utf8Form& f = forms[b];
        if (cp < 0x80) {
            f = {{char(cp)}, 1};
        } else if (cp < 0x800) {
            f = {{char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))}, 2};
        } else {
            f = {{char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)),
                  char(0x80 | (cp & 0x3F))},
                 3};
        }
    }
    return forms;
}

constexpr std::array<Utf8Form, 256> kUtf8Forms = MakeUtf8Forms();

// Masks of the first 1, 2 or 3 of four bytes read as one number, in memory order whatever the
// machine's: a form is compared with the text in one step, its unused bytes being 0.
constexpr std::array<std::uint32_t, 4> kFirstBytes = [] {
    std::array<std::uint32_t, 4> first{};
    for (std::size_t n = 1; n < first.size(); ++n) {
        std::array<unsigned char, 4> bytes{};
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = 0xFF;
        first[n] = std::bit_cast<std::uint32_t>(bytes);
    }
    return first;
}();

// ASCII inline, the rest through the program's one UTF-8 decoder.
inline long CodePointAt(std::string_view s, std::size_t& pos) {
    const auto c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    return NextCodePoint(s, pos);
}

} // namespace

void DecodeWindows1252(std::string_view bytes, std::string& out) {
    // A byte becomes at most three; the fourth is room for the whole-form store of the last one.
    constexpr std::size_t kOnStack = 128; // every field of the player and league records fits
    char onStack[kOnStack * 3 + 1];
    std::unique_ptr<char[]> onHeap;
    char* start = onStack;
    if (bytes.size() > kOnStack) {
        onHeap = std::make_unique_for_overwrite<char[]>(bytes.size() * 3 + 1);
        start = onHeap.get();
    }
    char* to = start;
    for (const char c : bytes) {
        const Utf8Form& form = kUtf8Forms[static_cast<unsigned char>(c)];
        std::memcpy(to, form.bytes.data(), form.bytes.size());
        to += form.size;
    }
    out.assign(start, to);
}

std::string DecodeWindows1252(std::string_view bytes) {
    std::string out;
    DecodeWindows1252(bytes, out);
    return out;
}

bool SameAsWindows1252(std::string_view utf8, std::string_view bytes) {
    std::size_t at = 0;
    std::size_t from = 0;
    // Eight ASCII bytes at a time, the same in both.
    for (std::uint64_t eight = 0, other = 0;
         from + 8 <= bytes.size() && at + 8 <= utf8.size() &&
         (std::memcpy(&eight, bytes.data() + from, 8), (eight & 0x8080808080808080u) == 0) &&
         (std::memcpy(&other, utf8.data() + at, 8), eight == other);
         from += 8, at += 8) {
    }
    // Then a byte at a time, its form against the next four bytes of the text with those past it
    // masked off: no branch on the byte's kind, which the bytes of a field mix at random. Near
    // its end the four bytes come from a copy of the text's last four followed by zeros.
    const std::size_t lastFour = utf8.size() >= 4 ? utf8.size() - 4 : 0;
    char padded[8] = {};
    std::memcpy(padded, utf8.data() + lastFour, utf8.size() - lastFour);
    for (const char c : bytes.substr(from)) {
        const Utf8Form& form = kUtf8Forms[static_cast<unsigned char>(c)];
        if (utf8.size() - at < form.size)
            return false;
        const char* four = at + 4 <= utf8.size() ? utf8.data() + at : padded + (at - lastFour);
        std::uint32_t text = 0, wanted = 0;
        std::memcpy(&text, four, 4);
        std::memcpy(&wanted, form.bytes.data(), 4);
        if ((text & kFirstBytes[form.size]) != wanted)
            return false;
        at += form.size;
    }
    return at == utf8.size();
}

std::size_t EncodeWindows1252(std::string_view utf8, std::span<char> out) {
    std::size_t written = 0;
    for (std::size_t pos = 0; pos < utf8.size() && written < out.size();) {
        const long cp = CodePointAt(utf8, pos);
        const int byte = cp < 0 ? -1 : ByteOf(char32_t(cp));
        out[written++] = byte < 0 ? '?' : char(byte);
    }
    return written;
}

std::string EncodeWindows1252(std::string_view utf8) {
    std::string out(utf8.size(), '\0'); // never more bytes than the UTF-8 text has
    out.resize(EncodeWindows1252(utf8, out));
    return out;
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++n)
        CodePointAt(utf8, pos);
    return n;
}

bool FitsWindows1252(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const long cp = CodePointAt(utf8, pos);
        if (cp < 0 || ByteOf(char32_t(cp)) < 0)
            return false;
    }
    return true;
}

} // namespace tavrel
