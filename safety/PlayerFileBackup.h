#pragma once

#include <filesystem>

namespace tavrel {

// Copies the league's player file over its backup ("pro.ply" to "pro.sw$", see LeaguePaths.h)
// before an import, replacing an older backup only once the new copy is complete. The three paths
// must name three files: a backup path that is the league file or the player file (a league
// named "pro.sw$", a link), a player file that is the league file, or a backup that is not a
// regular file (a link included) is refused before anything is written. Throws LeagueError naming
// the player file (missing, unreadable) or the backup (refused, cannot be written).
void BackUpPlayerFile(const std::filesystem::path& leagueFile);

} // namespace tavrel
