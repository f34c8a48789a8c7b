#include "publish/PageLayout.h"

#include "fileformat/Windows1252.h"

#include <array>

namespace tavrel {
namespace {

// Advance widths of Helvetica and Helvetica-Bold in 1/1000 em for the printable ASCII characters
// 32..126, as the standard font metrics give them.
constexpr std::array<short, 95> kRegular = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr std::array<short, 95> kBold = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

int Width(unsigned char byte, FontStyle style) {
    const auto& table = style == FontStyle::Bold ? kBold : kRegular;
    if (byte >= 32 && byte <= 126)
        return table[byte - 32];
    // The letters of the upper half are about as wide as an average lower-case letter.
    return style == FontStyle::Bold ? 611 : 556;
}

} // namespace

double TextWidth(std::string_view text, double size, FontStyle style) {
    long units = 0;
    for (const char c : EncodeWindows1252(text))
        units += Width(static_cast<unsigned char>(c), style);
    return double(units) * size / 1000.0;
}

std::string FitText(std::string_view text, double width, double size, FontStyle style) {
    if (TextWidth(text, size, style) <= width)
        return std::string(text);
    const std::string ellipsis = "\u2026";
    std::string kept(text);
    while (!kept.empty()) {
        // Drop the last whole UTF-8 character: its continuation bytes and the byte leading them.
        std::size_t end = kept.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(kept[end]) & 0xC0) == 0x80)
            --end;
        kept.erase(end);
        if (TextWidth(kept + ellipsis, size, style) <= width)
            return kept + ellipsis;
    }
    return {};
}

} // namespace tavrel
