#pragma once

#include "base/Progress.h"
#include "fileformat/PlayerFile.h"
#include "store/PlayerRowStore.h"

#include <filesystem>
#include <functional>

namespace tavrel {

// What an import leaves for the later save of the same league.
struct LoadedLeague {
    std::filesystem::path leagueFile;
    std::filesystem::path playerFile;
    PlayerFileImage image; // the player file as read
    std::size_t teamCount = 0;
};

// Rebuilds the working database at `workingDb` from the league: the Team table from the league
// file's team records, then one Players row per whole record of the player file, in file order.
// The new database is built beside the old one and put in its place only when the import has
// succeeded, so a failed import leaves the previous league's working database as it was.
// Progress: "Please Wait - Loading League", 1, 2, 3, 5, then steps of 95/N while below 100.
// Throws LeagueError naming the failing file and the cause. `edit`, when given, changes each row
// between its record and the table (a command that edits every player as it imports writes no
// row twice); the image keeps the file as read.
using ImportedRowEdit = std::function<void(PlayerRow&)>;
LoadedLeague LoadLeague(const std::filesystem::path& playerFile,
                        const std::filesystem::path& leagueFile,
                        const std::filesystem::path& workingDb, Progress* progress = nullptr,
                        const ImportedRowEdit& edit = {});

// The row keys of the Players table that LoadLeague has just built from `image`: it adds one row
// per whole record, in file order, to a new table, so record n is rowid n + 1. Known without
// reading the table; whoever uses them checks a row's PID before trusting it.
std::vector<RowKey> RowKeysOfImport(const PlayerFileImage& image);

// Writes every Players row of `workingDb`, in table order, as a player record of `playerFile`:
// the header import read, then the records (none for a row whose identifier bytes are both 0),
// then the trailing bytes import read. A row that cannot be written is reported with its PID, name
// and column, and the player file is not touched. The records are streamed into a new file beside
// the player file (SafeSaveFile), put in its place only when complete.
// Progress: "Please Wait - Saving....", 0, then steps of 100/N while below 100. Returns the
// number of records written. `beforeReplace`, when given, runs once the new file is wholly on
// disk, just before it replaces the player file (see SafeSaveFile::Commit).
std::size_t SaveLeague(const std::filesystem::path& playerFile, const LoadedLeague& league,
                       const std::filesystem::path& workingDb, Progress* progress = nullptr,
                       const std::function<void()>& beforeReplace = {});

} // namespace tavrel

namespace tavrel {

// The player file SaveLeague would write from `workingDb`, held in memory; rows are checked as
// SaveLeague checks them. For comparing the league being edited with player files.
PlayerFileImage SavedPlayerFile(const LoadedLeague& league, const std::filesystem::path& workingDb);

} // namespace tavrel
