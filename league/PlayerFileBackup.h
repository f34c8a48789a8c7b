#pragma once

#include <filesystem>

namespace tavrel {

// Copies the league's player file over its backup ("pro.ply" to "pro.sw$", see LeaguePaths.h)
// before an import, replacing an older backup only once the new copy is complete. Throws
// LeagueError naming the player file (missing, unreadable) or the backup (cannot be written).
void BackUpPlayerFile(const std::filesystem::path& leagueFile);

} // namespace tavrel
