#include "league/FileBytes.h"

#include "base/LeagueError.h"

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
        bytes.resize(size);
    // Read to the end rather than trusting the size taken beforehand: the file may have changed
    // since, or be a device that reports no size.
    std::size_t filled = 0;
    while (true) {
        in.read(reinterpret_cast<char*>(bytes.data() + filled),
                static_cast<std::streamsize>(bytes.size() - filled));
        filled += static_cast<std::size_t>(in.gcount());
        if (!in)
            break;
        if (filled == bytes.size()) {
            if (in.peek() == std::ifstream::traits_type::eof())
                break;
            bytes.resize(bytes.size() + (1 << 16));
        }
    }
    bytes.resize(filled);
    if (in.bad())
        throw LeagueError(operation, file, "the file could not be read to its end");
    return bytes;
}

} // namespace tavrel
