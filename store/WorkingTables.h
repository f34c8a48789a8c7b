#pragma once

#include <filesystem>
#include <string>

namespace tavrel {

// The working database holds the open league while it is edited: table Players, one row per
// player record in file order, and table Team, one row per team record of the league file.
// These create it from nothing; each throws LeagueError naming the database file on failure.

// How a connection that edits the working database sets itself up. The database is rebuilt from
// the league's files whenever its state is in doubt, so nothing waits for the disk after a commit;
// the journal is kept in memory, so a failed edit still rolls back whole. The page cache has room
// for every page an edit of the whole table dirties (64 MiB), so no page is written, and read
// again, before the commit.
inline constexpr const char* kScratchEditSettings =
    "PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF; PRAGMA cache_size = -65536";

// Deletes any file at `path` and creates an empty database there.
void PrepareWorkingDatabase(const std::filesystem::path& path);

// Defines the 90 columns of Players (or the 3 of Team) in their binding order, with declared
// types that read like the column table ("TEXT(15)", "BYTE", "INTEGER"). Text columns sort
// without regard to case.
void CreatePlayersTable(const std::filesystem::path& path, const std::string& tableName);
void CreateTeamTable(const std::filesystem::path& path, const std::string& tableName);

// The SQL that creates each table; also used to check what a database holds.
std::string PlayersTableSql(const std::string& tableName);
std::string TeamTableSql(const std::string& tableName);

} // namespace tavrel
