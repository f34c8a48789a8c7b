#include "fileformat/LeaguePaths.h"

namespace tavrel {
namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes the UTF-8 sequence this lead byte starts takes; 1 for any other byte.
std::size_t SequenceLength(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
}

// Paths are bytes and need not be UTF-8: a well-formed UTF-8 character counts as one character,
// and every other byte as one of its own.
std::size_t StartOfLastCharacter(const std::string& path, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && IsContinuation(path[start]))
        --start;
    return SequenceLength(path[start]) == end - start ? start : end - 1;
}

std::string ReplaceLastThree(const std::string& path, const char* extension) {
    std::size_t cut = path.size();
    for (int chars = 0; chars < 3 && cut > 0; ++chars)
        cut = StartOfLastCharacter(path, cut);
    return path.substr(0, cut) + extension;
}

} // namespace

std::string PlayerFilePath(const std::string& leaguePath) {
    return ReplaceLastThree(leaguePath, "ply");
}

std::string BackupFilePath(const std::string& leaguePath) {
    return ReplaceLastThree(leaguePath, "sw$");
}

} // namespace tavrel
