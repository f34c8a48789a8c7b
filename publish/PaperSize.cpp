#include "publish/PaperSize.h"

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <langinfo.h>
#include <locale.h>
#include <sstream>
#include <string>

namespace tavrel {
namespace {

std::string Trimmed(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return std::string(text.substr(start, end - start));
}

// The first line of a papersize file that is neither empty nor a comment.
std::string FirstSetting(std::string_view contents) {
    std::istringstream lines{std::string(contents)};
    for (std::string line; std::getline(lines, line);) {
        const std::string value = Trimmed(line);
        if (!value.empty() && value[0] != '#')
            return value;
    }
    return {};
}

// A paper name we do not know: the US sizes are Letter, the rest of the world's A4.
PageSize Nearest(std::string_view name) {
    for (const std::string_view us : {"legal", "executive", "tabloid", "ledger", "halfletter"})
        if (name == us)
            return kLetter;
    return kA4;
}

int LocalePaperWidth() {
    locale_t locale = newlocale(LC_PAPER_MASK, "", nullptr);
    if (!locale)
        return 0;
    const auto width =
        static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, locale)));
    freelocale(locale);
    return width;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::optional<PageSize> PaperSizeNamed(std::string_view name) {
    const std::string lower = Lower(Trimmed(name));
    if (lower == "a4")
        return kA4;
    if (lower == "letter")
        return kLetter;
    return std::nullopt;
}

PageSize ChoosePaperSize(std::string_view environment, std::string_view papersizeFile,
                         int localeWidthMillimetres) {
    for (const std::string& name :
         {Lower(Trimmed(environment)), Lower(FirstSetting(papersizeFile))})
        if (!name.empty())
            return PaperSizeNamed(name).value_or(Nearest(name));
    if (localeWidthMillimetres > 0)
        return localeWidthMillimetres == 216 ? kLetter : kA4;
    return kA4;
}

PageSize SystemPaperSize() {
    const char* environment = std::getenv("PAPERSIZE");
    const char* config = std::getenv("PAPERCONF");
    std::ifstream file(config && *config ? config : "/etc/papersize");
    std::stringstream contents;
    if (file)
        contents << file.rdbuf();
    return ChoosePaperSize(environment ? environment : "", contents.str(), LocalePaperWidth());
}

} // namespace tavrel
