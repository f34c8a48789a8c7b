#include "store/WorkingTables.h"

#include "base/LeagueError.h"
#include "store/PlayersTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

namespace tavrel {
namespace {

std::string DeclaredType(ColumnType type, int width) {
    switch (type) {
    case ColumnType::Byte:
        return "BYTE";
    case ColumnType::Integer:
        return "INTEGER";
    case ColumnType::Text:
        return (width > 0 ? "TEXT(" + std::to_string(width) + ")" : std::string("TEXT")) +
               " COLLATE NOCASE";
    }
    return {};
}

template <typename Columns>
std::string TableSql(const std::string& tableName, const Columns& columns) {
    std::string sql = "CREATE TABLE \"" + tableName + "\" (";
    bool first = true;
    for (const auto& c : columns) {
        sql += first ? "\n  " : ",\n  ";
        first = false;
        sql += std::string(c.name) + " " + DeclaredType(c.type, c.declaredWidth);
    }
    return sql + "\n)";
}

// The working database is rebuilt from nothing whenever its state is in doubt, so its definition
// needs neither a rollback journal nor a wait for the disk after every step.
constexpr const char* kScratchSettings = "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF";

void Execute(const std::filesystem::path& path, const std::string& sql, const char* operation) {
    try {
        SQLite::Database db(path.string(), SQLite::OPEN_READWRITE);
        db.exec(kScratchSettings);
        db.exec(sql);
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, path, e);
    }
}

} // namespace

void PrepareWorkingDatabase(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec)
        throw LeagueError("Deleting the working database", path, ec.message());
    try {
        SQLite::Database db(path.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec(kScratchSettings);
        // An empty file is not yet a database; this writes the header so the file exists whole.
        db.exec("PRAGMA user_version = 1");
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Creating the working database", path, e);
    }
}

std::string PlayersTableSql(const std::string& tableName) {
    return TableSql(tableName, kPlayersColumns);
}

std::string TeamTableSql(const std::string& tableName) {
    return TableSql(tableName, kTeamColumns);
}

void CreatePlayersTable(const std::filesystem::path& path, const std::string& tableName) {
    Execute(path, PlayersTableSql(tableName), "Creating the players table in");
}

void CreateTeamTable(const std::filesystem::path& path, const std::string& tableName) {
    Execute(path, TeamTableSql(tableName), "Creating the team table in");
}

} // namespace tavrel
