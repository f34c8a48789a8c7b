#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// No league or player file comes near this; a bigger input is refused rather than read until
// memory runs out.
inline constexpr std::uint64_t kMaxInputFileSize = std::uint64_t(1) << 30;

// Why a file of this st_mode is not read or written: "this is a FIFO (named pipe), not a regular
// file" and the like.
std::string NotRegularFileCause(unsigned mode);

// Whether two paths name one file, however spelled (links, "..", hard links); a file that does
// not exist is only the same as its own path.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Reads a whole file into memory. Throws LeagueError(operation, file, cause) at once when the file
// is missing, is not a regular file (a folder, a FIFO, a device, or a link to one), is larger
// than kMaxInputFileSize, or cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file,
                                        const std::string& operation);

} // namespace tavrel

namespace tavrel {

// Reads a regular file a chunk at a time, refused as ReadFileBytes refuses it (its size aside).
void ForEachFileChunk(const std::filesystem::path& file, const std::string& operation,
                      const std::function<void(std::string_view)>& chunk);

} // namespace tavrel
