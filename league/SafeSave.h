#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel {

// Writes `bytes` as the whole content of `file` the safe way: into a new file beside it, put in
// place of the old one only when everything was written. A crash or a full disk midway leaves the
// old file whole. Throws LeagueError(operation, file, cause) on failure.
void SaveFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                        const std::string& operation);

} // namespace tavrel
