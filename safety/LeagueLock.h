#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace tavrel {

// Who holds a league's lock, as the holder wrote it into the lock file.
struct LeagueLockHolder {
    std::string program;
    long long pid = 0;
    std::string host;
    std::time_t since = 0;
};

// "tavrel-cli (process 4242 on host "box", since 2026-12-06 16:25:18)", local time.
std::string DescribeLockHolder(const LeagueLockHolder& holder);

// Keeps two writers off one league: every program that writes a league's player file (the
// window while the league is open, global-edit in place, restore) holds this lock first. The lock
// is the file "<player file>.lock" beside the player file, locked with flock: the system lets go
// of it when the holder's process ends however it ends, so the lock of a process that is gone is
// simply taken over. The holder writes its program name, process id, host and the time into the
// file for the message a second writer sees. Locks are per object: a second LeagueLock on the
// same league in the same process is refused like any other writer.
class LeagueLock {
public:
    // `program` is how the holder names itself to other writers ("Tavrel", "tavrel-cli").
    LeagueLock(const std::filesystem::path& leagueFile, std::string program);
    ~LeagueLock(); // lets go of the lock
    LeagueLock(const LeagueLock&) = delete;
    LeagueLock& operator=(const LeagueLock&) = delete;

    // True when this object now holds the lock; false when another writer holds it, who is then
    // told by Holder(). Throws LeagueError when no lock file can be made or locked beside the
    // player file (a read-only folder, say).
    bool TryLock();
    // TryLock, but a lock held by another writer throws LeagueError(operation, player file,
    // "it is being changed by <holder>; ...").
    void Lock(const std::string& operation);
    bool IsLocked() const { return fd_ >= 0; }
    void Unlock();

    // The other writer found by the last TryLock that failed; empty when it left no word.
    const std::optional<LeagueLockHolder>& Holder() const { return holder_; }
    const std::filesystem::path& LockFile() const { return lockFile_; }

private:
    std::filesystem::path playerFile_;
    std::filesystem::path lockFile_;
    std::string program_;
    std::optional<LeagueLockHolder> holder_;
    int fd_ = -1;
};

} // namespace tavrel
