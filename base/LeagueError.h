#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace SQLite {
class Exception;
}

namespace tavrel {

// Every failure the core reports: what was being done, to which file, and why. The window and
// the command line catch it once per command and show what() as one message. A failure that
// SQLite reported keeps SQLite's extended result code, so a full disk can be told from a damaged
// file.
class LeagueError : public std::runtime_error {
public:
    LeagueError(std::string operation, std::filesystem::path file, std::string cause,
                int sqliteCode = 0);
    // SQLite's message becomes the cause, its extended result code is kept.
    LeagueError(std::string operation, std::filesystem::path file, const SQLite::Exception& e);

    const std::string& operation() const { return operation_; }
    const std::filesystem::path& file() const { return file_; }
    const std::string& cause() const { return cause_; }

    // SQLite's extended result code (SQLITE_IOERR_WRITE, ...), 0 for a failure outside SQLite.
    int sqliteCode() const { return sqliteCode_; }
    bool IsDiskFull() const;    // SQLITE_FULL: the disk or the quota ran out of room
    bool IsCorruptFile() const; // SQLITE_CORRUPT or SQLITE_NOTADB: the file is damaged or foreign

private:
    std::string operation_;
    std::filesystem::path file_;
    std::string cause_;
    int sqliteCode_ = 0;
};

} // namespace tavrel
