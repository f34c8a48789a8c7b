#include "safety/SafeSave.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "safety/SignalCleanup.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufferSize = 1 << 20;

struct InjectedFailure {
    SafeSaveStep step = SafeSaveStep::Write;
    int countdown = 0;
    int error = 0;
};
InjectedFailure injected;

// Whether the injected failure strikes this call of `step`; sets errno when it does.
bool Injected(SafeSaveStep step) {
    if (injected.countdown <= 0 || injected.step != step || --injected.countdown > 0)
        return false;
    errno = injected.error;
    return true;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The folder a file lies in.
fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The new file's name beside `file`; the last six characters are mkostemp's.
std::string TempName(const fs::path& file) {
    return "." + file.filename().native() + ".tavrel-XXXXXX";
}

// Whether a file name is one TempName makes, for any target.
bool IsTempName(const std::string& name) {
    constexpr std::string_view kMark = ".tavrel-";
    return name.size() > 1 + kMark.size() + 6 && name.front() == '.' &&
           name.compare(name.size() - 6 - kMark.size(), kMark.size(), kMark) == 0;
}

// Removes the new files in `folder` that writers killed mid-save (kill -9, a power loss) left
// behind, those of `file` only when one is named. A live writer holds a lock on its new file, so
// only orphans can be locked here.
void RemoveOrphanedTemps(const fs::path& folder, const fs::path* file) {
    const std::string name = file ? TempName(*file) : std::string();
    const std::string_view prefix(name.data(), name.empty() ? 0 : name.size() - 6);
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string found = entry.path().filename().native();
        if (file ? (found.size() != name.size() || !found.starts_with(prefix)) : !IsTempName(found))
            continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &info) == 0 &&
            S_ISREG(info.st_mode))
            unlink(entry.path().c_str());
        if (fd >= 0)
            close(fd);
    }
}

// Flushes a folder to disk; the error number, 0 when done.
int FlushFolder(const fs::path& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = dir >= 0 && !Injected(SafeSaveStep::SyncFolder) && fsync(dir) == 0;
    const int error = flushed ? 0 : errno;
    if (dir >= 0)
        close(dir);
    return error;
}

// Flushes that run at once go to disk in one journal commit; a league's roster files (a few dozen)
// all fit, where eight at a time waited for a commit each round.
constexpr std::size_t kFlushThreads = 64;

// Flushes every descriptor but -1 to disk, up to kFlushThreads at once, and puts each one's error
// number into `errors` (0 when done). When no thread can be started, this one does them all.
void FlushAll(const std::vector<int>& fds, std::vector<int>& errors) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < fds.size();)
            if (fds[i] >= 0)
                errors[i] = fsync(fds[i]) == 0 ? 0 : errno;
    };
    std::vector<std::thread> helpers;
    try {
        while (helpers.size() + 1 < std::min(kFlushThreads, fds.size()))
            helpers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace

void FailSafeSaveStep(SafeSaveStep step, int nth, int error) {
    injected = {step, nth, error};
}

SafeSaveFile::SafeSaveFile(const fs::path& target, std::string operation)
    : target_(target), file_(target), operation_(std::move(operation)) {
    struct stat link {};
    struct stat existing {};
    const bool exists = lstat(target.c_str(), &link) == 0;
    if (!exists && errno != ENOENT)
        throw LeagueError(operation_, target_, ErrorText(errno));
    if (exists) {
        if (stat(target.c_str(), &existing) != 0)
            throw LeagueError(operation_, target_,
                              errno == ENOENT ? "this is a link to a file that does not exist"
                                              : ErrorText(errno));
        if (!S_ISREG(existing.st_mode))
            throw LeagueError(operation_, target_,
                              NotRegularFileCause(existing.st_mode) + "; it was left alone");
        // Replacing works whatever the file's own permissions say; a file its owner made
        // read-only is still not ours to replace.
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            throw LeagueError(operation_, target_, "the file is not writable: " + ErrorText(errno));
        if (S_ISLNK(link.st_mode)) {
            std::error_code ec;
            file_ = fs::canonical(target, ec);
            if (ec)
                throw LeagueError(operation_, target_, ec.message());
        }
    }

    RemoveOrphanedTemps(FolderOf(file_), &file_);
    std::string pattern = (FolderOf(file_) / TempName(file_)).native();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        throw LeagueError(operation_, target_,
                          "no new file can be made beside it: " + ErrorText(errno));
    temp_ = fs::path(name.data());
    cleanupSlot_ = RegisterCleanupFile(temp_);
    // Held until the new file is renamed or removed, after its own descriptor is closed.
    if (flock(fd_, LOCK_EX) != 0 || (claim_ = fcntl(fd_, F_DUPFD_CLOEXEC, 0)) < 0)
        Fail("the new file beside it cannot be locked: " + ErrorText(errno));

    // The new file takes the place of the old one, so it takes its owner and mode too; a new
    // target gets the mode any new file gets.
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (fchmod(fd_, mode) != 0)
        Fail("its mode cannot be kept: " + ErrorText(errno));
    if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
        fchown(fd_, existing.st_uid, existing.st_gid) != 0 && existing.st_uid != geteuid())
        Fail("it belongs to another user, and the new file could not be given to that user: " +
             ErrorText(errno));
    buffer_.reserve(kBufferSize);
}

SafeSaveFile::~SafeSaveFile() {
    Discard();
}

void SafeSaveFile::Write(std::string_view bytes) {
    if (fd_ < 0)
        Fail("the file is already closed");
    if (buffer_.size() + bytes.size() > kBufferSize)
        Flush();
    if (bytes.size() >= kBufferSize)
        WriteAll(bytes);
    else
        buffer_.append(bytes);
}

void SafeSaveFile::Flush() {
    WriteAll(buffer_);
    buffer_.clear();
}

void SafeSaveFile::WriteAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = Injected(SafeSaveStep::Write)
                              ? -1
                              : ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(n < 0 ? ErrorText(errno) : "the system accepted no more bytes");
        done += static_cast<std::size_t>(n);
    }
}

void SafeSaveFile::Commit(const std::function<void()>& beforeReplace) {
    Close();
    if (const int error = SyncError())
        Fail(ErrorText(error));
    if (beforeReplace) {
        try {
            beforeReplace();
        } catch (...) {
            Discard();
            throw;
        }
    }
    Replace();
}

int SafeSaveFile::SyncError() const {
    return Injected(SafeSaveStep::Sync) || fsync(claim_) != 0 ? errno : 0;
}

void SafeSaveFile::Close() {
    Flush();
    const int fd = fd_;
    fd_ = -1;
    // A file system may report a failed write only now.
    if (Injected(SafeSaveStep::Close) || close(fd) != 0)
        Fail(ErrorText(errno));
}

void SafeSaveFile::Replace(bool syncFolder) {
    if (Injected(SafeSaveStep::Rename) || rename(temp_.c_str(), file_.c_str()) != 0)
        Fail(ErrorText(errno));
    temp_.clear();
    UnregisterCleanup(cleanupSlot_);
    cleanupSlot_ = -1;
    ReleaseClaim();
    if (syncFolder)
        SyncFolder(file_, operation_, target_);
}

// The rename is durable only once the folder is flushed too.
void SafeSaveFile::SyncFolder(const fs::path& file, const std::string& operation,
                              const fs::path& target) {
    const int error = FlushFolder(FolderOf(file));
    if (error != 0 && error != EINVAL)
        throw LeagueError(operation, target,
                          "the new file is in place, but its folder could not be flushed to "
                          "disk: " +
                              ErrorText(error));
}

void SafeSaveFile::Fail(const std::string& cause) {
    Discard();
    throw LeagueError(operation_, target_, cause);
}

void SafeSaveFile::Discard() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        unlink(temp_.c_str());
    temp_.clear();
    UnregisterCleanup(cleanupSlot_);
    cleanupSlot_ = -1;
    ReleaseClaim();
}

void SafeSaveFile::ReleaseClaim() {
    if (claim_ >= 0)
        close(claim_);
    claim_ = -1;
}

void SaveFilesAtomically(std::span<const FileToSave> files, const std::string& operation) {
    std::vector<std::unique_ptr<SafeSaveFile>> out;
    for (const FileToSave& file : files) {
        out.push_back(std::make_unique<SafeSaveFile>(file.path, operation));
        out.back()->Write(file.bytes);
        out.back()->Close();
    }
    // Each new file is flushed to disk on its own, never the whole file system, which would wait
    // for every other program's pending writes too; several at once, so that the file system puts
    // them on disk in a few journal commits instead of one each. Only when all are on disk does
    // any replace its target.
    std::vector<int> errors(out.size());
    std::vector<int> claims;
    for (std::size_t i = 0; i < out.size(); ++i) {
        errors[i] = Injected(SafeSaveStep::Sync) ? errno : 0;
        claims.push_back(errors[i] ? -1 : out[i]->claim_);
    }
    FlushAll(claims, errors);
    for (std::size_t i = 0; i < out.size(); ++i)
        if (errors[i] != 0)
            out[i]->Fail(ErrorText(errors[i]));
    for (auto& file : out)
        file->Replace(false);
    // The renames are durable once each folder is flushed, once.
    std::vector<fs::path> folders;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const fs::path folder = FolderOf(out[i]->ReplacedFile());
        if (std::find(folders.begin(), folders.end(), folder) != folders.end())
            continue;
        folders.push_back(folder);
        SafeSaveFile::SyncFolder(out[i]->ReplacedFile(), operation, files[i].path);
    }
}

void RemoveOrphanedNewFiles(const fs::path& folder) {
    RemoveOrphanedTemps(folder, nullptr);
}

void CopyFileSafely(const fs::path& from, const fs::path& to, const std::string& operation) {
    SafeSaveFile out(to, operation);
    ForEachFileChunk(from, operation, [&out](std::string_view bytes) { out.Write(bytes); });
    out.Commit();
}

void SaveFileAtomically(const fs::path& file, std::string_view bytes,
                        const std::string& operation) {
    SafeSaveFile out(file, operation);
    out.Write(bytes);
    out.Commit();
}

} // namespace tavrel
