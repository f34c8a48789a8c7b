#pragma once

#include "publish/SiteData.h"

#include <cstddef>
#include <filesystem>

namespace tavrel {

class Progress;

// Writes the league site into `folder` (see SiteFolder for which folders are taken and how the
// old site is replaced): index.html, free-agents.html, team-<number>.html, players/p-<PID>.html
// (players/r-<record>.html for a PID that is missing or shared), site.css and site.js. Returns the
// number of pages. Throws LeagueError naming the folder or the file and the cause; the folder is
// then as it was.
std::size_t PublishSite(const LeagueData& league, const std::filesystem::path& folder,
                        Progress* progress = nullptr);

} // namespace tavrel
