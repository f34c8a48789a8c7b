#pragma once

#include "league/League.h"
#include "league/LeagueOrigin.h"

#include <filesystem>

namespace tavrel {

// Going on with the unsaved changes a working database kept when the window ended without Save
// or No (a crash, a kill, a power loss), without importing the player file again: the league
// `origin` describes, as `workingDb` holds it. The records the rows were imported from are read
// again for the save to come (each record is rebuilt on its own), so the player file must still
// be the very file the changes were made on, and the rows must still be one per record. Throws
// LeagueError naming the file when recovering would not be exact.
LoadedLeague ResumeLeague(const LeagueOrigin& origin, const std::filesystem::path& workingDb);

} // namespace tavrel
