#include "safety/LeagueLock.h"

#include "base/LeagueError.h"
#include "fileformat/LeaguePaths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrel {
namespace {

constexpr const char* kLocking = "Locking the league's player file";

std::optional<LeagueLockHolder> ReadHolder(int fd) {
    char text[1024];
    const ssize_t n = pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return std::nullopt;
    std::istringstream in(std::string(text, static_cast<std::size_t>(n)));
    LeagueLockHolder holder;
    long long since = 0;
    if (!std::getline(in, holder.program) || !(in >> holder.pid >> std::ws) ||
        !std::getline(in, holder.host) || !(in >> since))
        return std::nullopt;
    holder.since = static_cast<std::time_t>(since);
    return holder;
}

std::string HostName() {
    char name[256] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "";
}

} // namespace

std::string DescribeLockHolder(const LeagueLockHolder& holder) {
    char when[32] = "an unknown time";
    std::tm local{};
    if (localtime_r(&holder.since, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    return (holder.program.empty() ? std::string("another program") : holder.program) +
           " (process " + std::to_string(holder.pid) + " on host \"" + holder.host + "\", since " +
           when + ")";
}

LeagueLock::LeagueLock(const std::filesystem::path& leagueFile, std::string program)
    : playerFile_(PlayerFilePath(leagueFile.native())),
      lockFile_(std::filesystem::path(playerFile_) += ".lock"), program_(std::move(program)) {}

LeagueLock::~LeagueLock() {
    Unlock();
}

bool LeagueLock::TryLock() {
    if (fd_ >= 0)
        return true;
    holder_.reset();
    // The holder removes the file as it lets go; a lock taken on a file that was removed or
    // replaced meanwhile locks nothing, so try again on the file that is there now.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            throw LeagueError(kLocking, lockFile_,
                              std::string("no lock file can be made beside it: ") +
                                  std::strerror(errno));
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            // A holder that has only just taken the lock writes its words a moment later.
            for (int wait = 0; error == EWOULDBLOCK && wait < 20; ++wait) {
                if ((holder_ = ReadHolder(fd)))
                    break;
                usleep(10'000);
            }
            close(fd);
            if (error == EWOULDBLOCK)
                return false;
            throw LeagueError(kLocking, lockFile_, std::strerror(error));
        }
        struct stat opened {};
        struct stat there {};
        if (fstat(fd, &opened) != 0 || stat(lockFile_.c_str(), &there) != 0 ||
            opened.st_ino != there.st_ino || opened.st_dev != there.st_dev) {
            close(fd);
            continue;
        }
        std::ostringstream info;
        info << program_ << '\n'
             << getpid() << '\n'
             << HostName() << '\n'
             << std::time(nullptr) << '\n';
        const std::string text = info.str();
        // The words are for other writers' messages; the lock holds without them.
        [[maybe_unused]] const bool told =
            ftruncate(fd, 0) == 0 && pwrite(fd, text.data(), text.size(), 0) > 0;
        fd_ = fd;
        return true;
    }
    throw LeagueError(kLocking, lockFile_, "the lock file keeps being replaced by another program");
}

void LeagueLock::Lock(const std::string& operation) {
    if (TryLock())
        return;
    throw LeagueError(
        operation, playerFile_,
        "it is being changed by " +
            (holder_ ? DescribeLockHolder(*holder_) : std::string("another program")) +
            "; try again when that has finished");
}

void LeagueLock::Unlock() {
    if (fd_ < 0)
        return;
    unlink(lockFile_.c_str());
    close(fd_);
    fd_ = -1;
}

} // namespace tavrel
