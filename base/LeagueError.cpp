#include "base/LeagueError.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

namespace tavrel {
namespace {

std::string Compose(const std::string& operation, const std::filesystem::path& file,
                    const std::string& cause) {
    std::string text = operation;
    if (!file.empty())
        text += " \"" + file.string() + "\"";
    return text + ": " + cause;
}

} // namespace

LeagueError::LeagueError(std::string operation, std::filesystem::path file, std::string cause,
                         int sqliteCode)
    : std::runtime_error(Compose(operation, file, cause)), operation_(std::move(operation)),
      file_(std::move(file)), cause_(std::move(cause)), sqliteCode_(sqliteCode) {}

LeagueError::LeagueError(std::string operation, std::filesystem::path file,
                         const SQLite::Exception& e)
    : LeagueError(std::move(operation), std::move(file), e.what(), e.getExtendedErrorCode()) {}

bool LeagueError::IsDiskFull() const {
    return (sqliteCode_ & 0xFF) == SQLITE_FULL;
}

bool LeagueError::IsCorruptFile() const {
    const int primary = sqliteCode_ & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

} // namespace tavrel
