#include "publish/SiteFolder.h"

#include "base/LeagueError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

std::atomic<int> failWriteCountdown{0};
std::atomic<int> failWriteError{0};

std::string SystemError(int error) {
    return std::strerror(error);
}

// Removes a folder and everything in it, each folder's entries in the order of their inode
// numbers: on a file system with hashed directories (ext4) the order of the listing is random on
// disk, and a site's tens of thousands of player pages then take minutes to remove instead of
// seconds. Whatever cannot be removed stays; the next publish tries again.
void RemoveTree(const fs::path& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::pair<ino_t, std::string>> entries;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            entries.emplace_back(entry->d_ino, entry->d_name);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end());
    for (const auto& [inode, name] : entries) {
        const fs::path path = folder / name;
        if (unlink(path.c_str()) != 0 && (errno == EISDIR || errno == EPERM))
            RemoveTree(path);
    }
    rmdir(folder.c_str());
}

// The names of a run's hidden folders beside the target: ".<name>.tavrel-<kind>-<pid>-XXXXXX".
std::string LeftoverPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".tavrel-";
}

// Removes the hidden folders of earlier runs into `target` whose process is gone.
void RemoveLeftovers(const fs::path& target) {
    const std::string prefix = LeftoverPrefix(target);
    std::error_code error;
    for (fs::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        // "new-<pid>-XXXXXX" or "old-<pid>-XXXXXX"; any other name is not ours to remove.
        const std::string rest = name.substr(prefix.size());
        if (rest.rfind("new-", 0) != 0 && rest.rfind("old-", 0) != 0)
            continue;
        const long pid = std::atol(rest.c_str() + 4);
        if (pid > 0 && (pid == long(getpid()) || kill(pid_t(pid), 0) == 0 || errno == EPERM))
            continue; // still being written by a running publish
        RemoveTree(it->path());
    }
}

std::set<std::string> ReadManifest(const fs::path& folder) {
    std::set<std::string> names;
    FILE* file = std::fopen((folder / SiteFolder::kManifestName).c_str(), "rb");
    if (!file)
        return names;
    std::string line;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\n') {
            names.insert(line);
            line.clear();
        } else {
            line += char(c);
        }
    }
    std::fclose(file);
    return names;
}

void SyncPath(const fs::path& path, bool wholeFileSystem) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (wholeFileSystem)
        syncfs(fd);
    else
        fsync(fd);
    close(fd);
}

} // namespace

void FailSiteWrite(int nth, int error) {
    failWriteError = error;
    failWriteCountdown = nth;
}

void CheckSiteTarget(const fs::path& folder, const std::string& operation) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status))
        return;
    if (!fs::is_directory(status))
        throw LeagueError(operation, folder, "this is a file, not a folder");
    const std::set<std::string> manifest = ReadManifest(folder);
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string relative = it->path().lexically_relative(folder).generic_string();
        if (relative == SiteFolder::kManifestName)
            continue;
        const bool ours = it->is_directory() && !it->is_symlink()
                              ? manifest.count(relative + "/") > 0
                              : manifest.count(relative) > 0;
        if (!ours)
            throw LeagueError(operation, it->path(),
                              "the folder holds files that are not of a published league site; "
                              "choose a new or empty folder");
    }
    if (error)
        throw LeagueError(operation, folder, error.message());
}

SiteFolder::SiteFolder(fs::path target, std::string operation) : operation_(std::move(operation)) {
    std::error_code error;
    if (target.empty())
        throw LeagueError(operation_, target, "no folder was given");
    // A link to a folder stays: the folder it points to gets the site.
    if (fs::is_symlink(target, error)) {
        const fs::path resolved = fs::canonical(target, error);
        if (error)
            throw LeagueError(operation_, target, error.message());
        target = resolved;
    }
    target_ = fs::absolute(target, error).lexically_normal();
    if (!target_.has_filename())
        target_ = target_.parent_path();
    if (error || target_ == target_.root_path())
        throw LeagueError(operation_, target, "a site cannot replace this folder");
    CheckSiteTarget(target_, operation_);
    fs::create_directories(target_.parent_path(), error);
    if (error)
        throw LeagueError(operation_, target_.parent_path(), error.message());
    RemoveLeftovers(target_);

    std::string pattern = (target_.parent_path() / (LeftoverPrefix(target_) + "new-" +
                                                    std::to_string(getpid()) + "-XXXXXX"))
                              .string();
    if (!mkdtemp(pattern.data()))
        throw LeagueError(operation_, target_.parent_path(), SystemError(errno));
    fresh_ = pattern;
    // The site gets the mode of the folder it replaces, or that of a new folder.
    struct stat old {};
    mode_t mode = 0;
    if (stat(target_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0777 & ~mask;
    }
    chmod(fresh_.c_str(), mode);
}

SiteFolder::~SiteFolder() {
    if (!committed_ && !fresh_.empty()) {
        RemoveTree(fresh_);
    }
}

void SiteFolder::Fail(const fs::path& file, const std::string& cause) const {
    throw LeagueError(operation_, file, cause);
}

void SiteFolder::MakeFolder(const std::string& relative) {
    if (relative.empty() || folders_.count(relative + "/"))
        return;
    const std::size_t slash = relative.rfind('/');
    if (slash != std::string::npos)
        MakeFolder(relative.substr(0, slash));
    const fs::path path = fresh_ / relative;
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        Fail(target_ / relative, SystemError(errno));
    folders_.insert(relative + "/");
}

void SiteFolder::Write(const std::string& relative, std::string_view bytes) {
    const std::size_t slash = relative.rfind('/');
    if (slash != std::string::npos)
        MakeFolder(relative.substr(0, slash));
    const fs::path path = fresh_ / relative;
    const fs::path shown = target_ / relative;
    if (failWriteCountdown > 0 && --failWriteCountdown == 0)
        Fail(shown, SystemError(failWriteError));
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail(shown, SystemError(errno));
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int cause = n < 0 ? errno : ENOSPC;
            close(fd);
            Fail(shown, SystemError(cause));
        }
        bytes.remove_prefix(std::size_t(n));
    }
    if (close(fd) != 0)
        Fail(shown, SystemError(errno));
    written_.insert(relative);
}

void SiteFolder::Commit() {
    std::string manifest;
    for (const std::string& folder : folders_)
        manifest += folder + "\n";
    for (const std::string& file : written_)
        manifest += file + "\n";
    Write(std::string(kManifestName), manifest);
    // Everything on disk before the swap: a crash after it finds the whole new site.
    SyncPath(fresh_, true);

    const fs::path parent = target_.parent_path();
    std::error_code error;
    if (fs::exists(target_, error)) {
        // The folder may have changed since it was checked; check again just before the swap.
        CheckSiteTarget(target_, operation_);
        if (renameat2(AT_FDCWD, fresh_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) != 0) {
            if (errno != EINVAL && errno != ENOSYS)
                Fail(target_, SystemError(errno));
            // No exchange on this file system: move the old site aside, then the new one in.
            std::string aside =
                (parent / (LeftoverPrefix(target_) + "old-" + std::to_string(getpid()) + "-XXXXXX"))
                    .string();
            if (!mkdtemp(aside.data()))
                Fail(parent, SystemError(errno));
            const fs::path old = fs::path(aside) / "site";
            if (rename(target_.c_str(), old.c_str()) != 0)
                Fail(target_, SystemError(errno));
            if (rename(fresh_.c_str(), target_.c_str()) != 0) {
                const int cause = errno;
                rename(old.c_str(), target_.c_str());
                Fail(target_, SystemError(cause));
            }
            fresh_ = aside;
        }
        // fresh_ now names the old site.
        committed_ = true;
        SyncPath(parent, false);
        RemoveTree(fresh_);
    } else {
        if (rename(fresh_.c_str(), target_.c_str()) != 0)
            Fail(target_, SystemError(errno));
        committed_ = true;
        SyncPath(parent, false);
    }
}

} // namespace tavrel
