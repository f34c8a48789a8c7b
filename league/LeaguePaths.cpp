#include "league/LeaguePaths.h"

namespace tavrel {
namespace {

std::string ReplaceLastThree(const std::string& path, const char* extension) {
    // Cut whole UTF-8 characters, not bytes, so a non-ASCII extension is replaced cleanly.
    std::size_t cut = path.size();
    for (int chars = 0; chars < 3 && cut > 0; ++chars) {
        do {
            --cut;
        } while (cut > 0 && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80);
    }
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
