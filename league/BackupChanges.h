#pragma once

#include "league/League.h"
#include "store/CellChanges.h"

#include <filesystem>
#include <optional>

namespace tavrel {

// The cell changes that turn the league as `workingDb` holds it into `backup`, so that a restore
// can be one step the user undoes. Only when they say everything: the backup has one record per
// row, and its header, its trailing bytes and the bytes no column holds are those the league was
// read with, so a save of the changed rows writes the backup byte for byte. Nothing otherwise
// (the backup must then be imported whole). Throws LeagueError naming the working database.
std::optional<CellChanges> ChangesToBackup(const LoadedLeague& league,
                                           const std::filesystem::path& workingDb,
                                           const PlayerFileImage& backup);

} // namespace tavrel
