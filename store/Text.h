#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Removes every NUL character from the end of `text`, stores the shortened text back and returns
// it. NULs before other characters stay; a text of NULs only becomes empty.
inline std::string& StripTrailingNulls(std::string& text) {
    const auto end = text.find_last_not_of('\0');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

// The text without the padding a fixed-width field carries at its end: any run of NULs and
// spaces, in whatever mix the host game or an earlier save wrote them. What a user sees of a name.
inline std::string WithoutTrailingPadding(std::string text) {
    const auto end = text.find_last_not_of(std::string_view("\0 ", 2));
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

// The text without the blanks around it (by default spaces and tabs, as typed into a box).
inline std::string_view Trimmed(std::string_view text, std::string_view blanks = " \t") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace tavrel
