#pragma once

#include "publish/SiteData.h"

#include <string>

namespace tavrel {

// The pages of the league site, each a whole HTML5 document in UTF-8. Every text of the league is
// escaped; links are relative, so the site works from any folder and from disk.

// The league: its teams with their player counts, the free agents, and the player search (whose
// index of every player is a JSON block in the page, read by the site's script).
std::string IndexPage(const LeagueData& league);

// A team (or the free agents): the roster by position group in roster order, one sortable table.
std::string TeamPage(const LeagueData& league, const SiteTeam& team);

// One player: personal data and the 24 ratings, actual and potential, as numbers and bars.
// Appended to `out`, which the caller reuses from page to page.
void AppendPlayerPage(std::string& out, const LeagueData& league, const SitePlayer& player);

} // namespace tavrel
