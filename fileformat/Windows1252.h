#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// The host game writes text one byte per character in Windows-1252. We keep text as UTF-8 and map
// all 256 byte values both ways: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, so every byte survives a round
// trip, NUL included.

// Bytes of the player or league file to UTF-8. Never fails.
std::string DecodeWindows1252(std::string_view bytes);
// The same into `out`, reusing the room it has: for decoding many records one after another.
void DecodeWindows1252(std::string_view bytes, std::string& out);

// Whether the UTF-8 text is what the bytes decode to, found without decoding them.
bool SameAsWindows1252(std::string_view utf8, std::string_view bytes);

// UTF-8 to Windows-1252 bytes. A character the code page cannot hold, or a malformed UTF-8
// sequence, becomes '?'.
std::string EncodeWindows1252(std::string_view utf8);

// The same into `out`, for fixed-width fields: writes at most out.size() bytes, drops the rest of
// the text and returns the number of bytes written.
std::size_t EncodeWindows1252(std::string_view utf8, std::span<char> out);

// Number of characters in a UTF-8 text, what a fixed-width field counts: the bytes
// EncodeWindows1252 makes of it (a malformed sequence counts as its one '?').
std::size_t CharacterCount(std::string_view utf8);

// Whether every character of the UTF-8 text has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

} // namespace tavrel
