#pragma once

#include "league/League.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace tavrel {

// Saving into the league's own player file, the steps of LeagueSession::Save: a dated backup of
// the player file is kept first (KeepLeagueBackup, never rotating away a backup in `keep`), then
// SaveLeague replaces it (`beforeReplace` running just before), then the working database's origin
// notes the new file and no unsaved changes. The caller holds the league's LeagueLock. Returns the
// number of records written. Throws LeagueError; when the backup cannot be kept, nothing is saved.
std::size_t SaveLeagueInPlace(const LoadedLeague& league, const std::filesystem::path& workingDb,
                              Progress* progress = nullptr,
                              const std::vector<std::filesystem::path>& keep = {},
                              const std::function<void()>& beforeReplace = {});

// Where LoadLeagueBackup keeps its copy of the backup: "<working database>.records".
std::filesystem::path RecordsCopyFile(const std::filesystem::path& workingDb);

// Imports a backup of the league's player file in place of the player file itself, for the
// window's Restore Backup: the rows are the backup's (read from a copy beside the working
// database, which the rotation of backups cannot remove), the LoadedLeague is the league's own (a
// later SaveLeagueInPlace writes the league's player file), and the working database counts as
// holding unsaved changes. Throws LeagueError.
LoadedLeague LoadLeagueBackup(const std::filesystem::path& leagueFile,
                              const std::filesystem::path& backupFile,
                              const std::filesystem::path& workingDb, Progress* progress = nullptr);

// Takes up the league a working database holds after the program ended without saving it (see
// CheckForUnsavedChanges): the LoadedLeague its import gave (a restored backup's records when the
// rows came from one), the rows left as they are, so the edits show as unsaved changes. Throws
// LeagueError when the database holds no league, its player file changed since (recovering onto
// it would undo what changed it), or its rows no longer match those records one for one.
LoadedLeague RecoverLeague(const std::filesystem::path& workingDb);

} // namespace tavrel
