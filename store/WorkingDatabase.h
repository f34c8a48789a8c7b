#pragma once

#include <filesystem>
#include <memory>

namespace tavrel {

inline constexpr const char* kWorkingDatabaseName = "Tavrel.tmp";

// Where the window program keeps its working database, its lock and the roster files: the
// program's directory when the program runs from the folder it was built in (`buildDirectory`)
// and may write there; otherwise, installed or copied anywhere else, the per-user application
// data directory (created if missing), so that nothing is written beside an installed program.
std::filesystem::path ChooseWorkingDirectory(const std::filesystem::path& programDirectory,
                                             const std::filesystem::path& buildDirectory);

// dir / "Tavrel.tmp"
std::filesystem::path WorkingDatabasePath(const std::filesystem::path& directory);

// Keeps a second running copy of the program from rebuilding or deleting the first one's
// working database: a lock file beside the database, held for the life of this object.
class WorkingDatabaseLock {
public:
    explicit WorkingDatabaseLock(const std::filesystem::path& workingDb);
    ~WorkingDatabaseLock();
    WorkingDatabaseLock(const WorkingDatabaseLock&) = delete;
    WorkingDatabaseLock& operator=(const WorkingDatabaseLock&) = delete;

    // True when this process now holds the lock (taken, or a stale one of a dead process
    // removed); false when another running copy holds it. Throws LeagueError when no lock file
    // can be made there at all.
    bool TryLock();
    bool IsLocked() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tavrel
