#pragma once

#include "publish/PageLayout.h"

#include <optional>
#include <string_view>

namespace tavrel {

// The page size by its name: "a4" or "letter", in any case; nothing for another name.
std::optional<PageSize> PaperSizeNamed(std::string_view name);

// The system's paper for printing without a printer dialog: PAPERSIZE, else the file PAPERCONF or
// /etc/papersize (its first line that is not a comment), else the locale's LC_PAPER, else A4.
// Sizes other than A4 and Letter count as the one nearer in width.
PageSize SystemPaperSize();

// The rule itself, for tests: the three sources as found (empty where missing) in order.
PageSize ChoosePaperSize(std::string_view environment, std::string_view papersizeFile,
                         int localeWidthMillimetres);

} // namespace tavrel
