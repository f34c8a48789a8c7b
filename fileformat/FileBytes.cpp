#include "fileformat/FileBytes.h"

#include "base/LeagueError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tavrel {
namespace {

const char* const kTooLarge = "the file is larger than 1 GiB, far too large to be a league's file";

// Closes the descriptor however the read ends.
struct Descriptor {
    int fd;
    explicit Descriptor(int fd) : fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
};

// Opens a regular file for reading and returns it with its size; refuses anything else at once.
Descriptor OpenRegularFile(const std::filesystem::path& file, const std::string& operation,
                           std::uint64_t& size) {
    // Not blocking: opening a FIFO must not wait for a writer. Whether it is a file at all is
    // asked of what was opened, so nothing can be swapped in between.
    Descriptor in{open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (in.fd < 0)
        throw LeagueError(operation, file,
                          errno == ENOENT ? "the file does not exist" : std::strerror(errno));
    struct stat info {};
    if (fstat(in.fd, &info) != 0)
        throw LeagueError(operation, file, std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw LeagueError(operation, file, NotRegularFileCause(info.st_mode));
    if (static_cast<std::uint64_t>(info.st_size) > kMaxInputFileSize)
        throw LeagueError(operation, file, kTooLarge);

    size = static_cast<std::uint64_t>(info.st_size);
    return in;
}

// Reads what is left of an open file a chunk at a time.
void ReadChunks(const Descriptor& in, const std::filesystem::path& file,
                const std::string& operation, const std::function<void(std::string_view)>& chunk) {
    std::vector<char> buffer(1 << 20);
    while (true) {
        const ssize_t n = read(in.fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw LeagueError(operation, file, std::strerror(errno));
        if (n == 0)
            break;
        chunk(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
}

} // namespace

std::string NotRegularFileCause(unsigned mode) {
    if (S_ISDIR(mode))
        return "this is a folder, not a file";
    if (S_ISFIFO(mode))
        return "this is a FIFO (named pipe), not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "this is a device, not a regular file";
    return "this is not a regular file";
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file,
                                        const std::string& operation) {
    std::uint64_t size = 0;
    const Descriptor in = OpenRegularFile(file, operation, size);
    // Room for the whole file at once: a buffer grown by doubling would at one moment hold the
    // file nearly twice. Read to the end rather than trusting the size taken at the open: the file
    // may grow or shrink meanwhile.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    ReadChunks(in, file, operation, [&](std::string_view chunk) {
        if (bytes.size() + chunk.size() > kMaxInputFileSize)
            throw LeagueError(operation, file, kTooLarge);
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    });
    return bytes;
}

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return a == b || (std::filesystem::equivalent(a, b, error) && !error);
}

void ForEachFileChunk(const std::filesystem::path& file, const std::string& operation,
                      const std::function<void(std::string_view)>& chunk) {
    std::uint64_t size = 0;
    ReadChunks(OpenRegularFile(file, operation, size), file, operation, chunk);
}

} // namespace tavrel
