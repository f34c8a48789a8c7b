#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel {

// Reads a whole file into memory. Throws LeagueError(operation, file, cause) when the file is
// missing, is a folder, or cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file,
                                        const std::string& operation);

} // namespace tavrel
