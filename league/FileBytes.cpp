#include "league/FileBytes.h"

#include "league/LeagueError.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace tavrel {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFileBytes(const fs::path& file, const std::string& operation) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found)
        throw LeagueError(operation, file, "the file does not exist");
    if (ec)
        throw LeagueError(operation, file, ec.message());
    if (fs::is_directory(status))
        throw LeagueError(operation, file, "this is a folder, not a file");

    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int error = errno;
        throw LeagueError(operation, file,
                          error ? std::generic_category().message(error) : "cannot be opened");
    }
    std::vector<std::uint8_t> bytes;
    if (const auto size = fs::file_size(file, ec); !ec)
        bytes.reserve(size);
    char chunk[1 << 16];
    // Read to the end rather than trusting a size taken beforehand: the file may be growing or be
    // a device that reports no size.
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    if (in.bad())
        throw LeagueError(operation, file, "the file could not be read to its end");
    return bytes;
}

} // namespace tavrel
