#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// One of several files written at once by SaveFilesAtomically.
struct FileToSave {
    std::filesystem::path path;
    std::string_view bytes;
};

// The one way the program writes a file. The bytes go into a new file beside the target; every
// write, the flush to disk and the close are checked; only then is the new file renamed over the
// target and the folder flushed, so a crash, a power loss or a full disk leaves either the whole
// old file or the whole new one. An existing target keeps its owner, group and mode. A target
// that exists and is not a regular file (a device, a FIFO, a folder) is refused; a symbolic link
// to a regular file is written through: the file it points to is replaced and the link stays.
// Failures throw LeagueError(operation, target, cause), the cause being the system's own words
// ("No space left on device"); the target is then untouched and the new file removed. New files
// that a killed writer left beside the target are removed by the next save of it.
class SafeSaveFile {
public:
    SafeSaveFile(const std::filesystem::path& target, std::string operation);
    ~SafeSaveFile(); // without Commit, removes the new file and leaves the target as it was
    SafeSaveFile(const SafeSaveFile&) = delete;
    SafeSaveFile& operator=(const SafeSaveFile&) = delete;

    void Write(std::string_view bytes);
    // Puts the new file in place of the target. Call once, after the last Write. When given,
    // `beforeReplace` runs once the new file is wholly on disk and before it replaces the target:
    // whatever it throws leaves the target as it was (a report that cannot be told, say).
    void Commit(const std::function<void()>& beforeReplace = {});

    // The file that is replaced: the target, or the file a link at the target points to.
    const std::filesystem::path& ReplacedFile() const { return file_; }

private:
    friend void SaveFilesAtomically(std::span<const FileToSave> files,
                                    const std::string& operation);
    void Close(); // hands every byte to the system and closes the new file's own descriptor
    // Flushes the new file to disk through the claim; the error number, 0 when done.
    int SyncError() const;
    void Replace(bool syncFolder = true);
    static void SyncFolder(const std::filesystem::path& file, const std::string& operation,
                           const std::filesystem::path& target);
    void Flush();
    void WriteAll(std::string_view bytes);
    void Fail(const std::string& cause);
    void Discard();
    void ReleaseClaim();

    std::filesystem::path target_;
    std::filesystem::path file_;
    std::filesystem::path temp_;
    std::string operation_;
    std::string buffer_;
    int fd_ = -1;
    int cleanupSlot_ = -1;
    int claim_ = -1; // keeps the new file locked, so no other writer takes it for an orphan
};

// Removes the new files that writers killed mid-save left anywhere in `folder` (a writer of
// files that get new names each time, such as dated backups, never saves the same target twice,
// so the clean-up beside each target never meets them). Files a live writer holds stay.
void RemoveOrphanedNewFiles(const std::filesystem::path& folder);

// Copies a regular file over `to` a chunk at a time through SafeSaveFile: `to` is replaced whole
// or not at all. Refuses `from` as ReadFileBytes does (its size aside); throws LeagueError.
void CopyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to,
                    const std::string& operation);

// Writes `bytes` as the whole content of `file` through a SafeSaveFile.
void SaveFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                        const std::string& operation);

// Writes several files the same safe way, for a set written at once (the rosters of one print):
// every new file is written, flushed to disk and closed before any of them replaces its target,
// so a failure up to there leaves every target as it was; then each folder is flushed once.
void SaveFilesAtomically(std::span<const FileToSave> files, const std::string& operation);

// For tests: makes the nth next call (1 = the next one) of a step of any SafeSaveFile fail with
// the error number `error`, as a full disk or a failing device would. One failure at a time;
// nth 0 clears it.
enum class SafeSaveStep { Write, Sync, Close, Rename, SyncFolder };
void FailSafeSaveStep(SafeSaveStep step, int nth, int error);

} // namespace tavrel
