#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// Printed pages as positioned texts and filled boxes, in points (1/72 inch) from the top left
// corner of the page. Made by the core; the PDF writer and the window's printer draw the same
// layout, so the command line and the print preview give the same sheets. Texts are UTF-8 and are
// drawn in Helvetica, whose characters are those of Windows-1252 like the league's names.

struct PageSize {
    std::string_view name; // "A4", "Letter"
    double width;
    double height;
};
inline constexpr PageSize kA4{"A4", 595.28, 841.89};
inline constexpr PageSize kLetter{"Letter", 612.0, 792.0};

enum class FontStyle { Regular, Bold };

struct PageText {
    double x;        // left end of the text
    double baseline; // from the top of the page
    double size;     // font size in points
    FontStyle style;
    std::string text;
};

// A filled rectangle; gray 0 is black, 1 white. Thin boxes make the rules.
struct PageBox {
    double x, y, width, height;
    double gray;
};

struct Page {
    std::vector<PageBox> boxes; // drawn first, under the texts
    std::vector<PageText> texts;
};

struct PageLayout {
    PageSize size = kA4;
    std::string title;
    std::vector<Page> pages;
};

// The advance width of `text` in Helvetica (regular or bold) at `size` points. Characters outside
// Windows-1252 count as the '?' they are printed as.
double TextWidth(std::string_view text, double size, FontStyle style = FontStyle::Regular);

// `text` cut to at most `width` points, ending in an ellipsis where it was cut.
std::string FitText(std::string_view text, double width, double size,
                    FontStyle style = FontStyle::Regular);

} // namespace tavrel
