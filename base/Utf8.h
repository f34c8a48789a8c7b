#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel {

// The one UTF-8 decoder of the program, strict as RFC 3629 asks: no overlong forms (C0 80 is not
// a NUL), no surrogates, nothing past U+10FFFF, no stray continuation bytes.

// Reads the code point at `pos` and moves `pos` past it. A malformed sequence gives -1 and moves
// `pos` past at least its first byte; a caller replacing each -1 with one character counts the
// same characters every time.
long NextCodePoint(std::string_view text, std::size_t& pos);

// Whether the whole text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

} // namespace tavrel
