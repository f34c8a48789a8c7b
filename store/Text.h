#pragma once

#include <string>

namespace tavrel {

// Removes every NUL character from the end of `text`, stores the shortened text back and returns
// it. NULs before other characters stay; a text of NULs only becomes empty.
inline std::string& StripTrailingNulls(std::string& text) {
    const auto end = text.find_last_not_of('\0');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace tavrel
