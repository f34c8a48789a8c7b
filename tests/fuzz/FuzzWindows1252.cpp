// Text conversion from any bytes: every byte survives a round trip through UTF-8, comparing text
// with bytes agrees with decoding them, and encoding any text (malformed UTF-8 included) never
// overruns a fixed-width field.
#include "fileformat/Windows1252.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = tavrel::DecodeWindows1252(bytes);
    if (tavrel::EncodeWindows1252(utf8) != bytes || tavrel::CharacterCount(utf8) != size ||
        !tavrel::FitsWindows1252(utf8))
        std::abort();

    // Compared without decoding, as import compares a cell with a field: the same answer, the
    // input taken as the cell too.
    const std::string_view half = bytes.substr(0, size / 2);
    if (!tavrel::SameAsWindows1252(utf8, bytes) ||
        tavrel::SameAsWindows1252(bytes, half) != (tavrel::DecodeWindows1252(half) == bytes))
        std::abort();

    // The input read as UTF-8 text, into a field narrower than it.
    const std::string encoded = tavrel::EncodeWindows1252(bytes);
    char field[16];
    const std::size_t written = tavrel::EncodeWindows1252(bytes, std::span<char>(field, 15));
    if (written > 15 || encoded.compare(0, written, field, written) != 0)
        std::abort();
    return 0;
}
