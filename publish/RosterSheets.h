#pragma once

#include "publish/PageLayout.h"
#include "publish/SiteData.h"

#include <vector>

namespace tavrel {

// Roster sheets for draft nights: each roster starts a page (and runs on to more when it is long),
// its players by position group in roster order, two lines each: position, name and personal data
// beside the actual ratings, and beside the potential ones. The ratings stand in the three bands
// of eight of the player form, under its captions ("SP:" ...).

// The rosters to print: the free agents, then every team in table order (as the roster files).
std::vector<const SiteTeam*> AllRosters(const LeagueData& league);

PageLayout LayOutRosterSheets(const LeagueData& league, const std::vector<const SiteTeam*>& rosters,
                              PageSize size);

} // namespace tavrel
