#include "publish/PublishSite.h"

#include "base/Progress.h"
#include "publish/SiteAssets.h"
#include "publish/SiteFolder.h"
#include "publish/SitePages.h"

namespace tavrel {

std::size_t PublishSite(const LeagueData& league, const std::filesystem::path& folder,
                        Progress* progress) {
    ProgressScope scope(progress, "Please Wait - Publishing League Site");
    SiteFolder site(folder, "Publishing the league site to");
    site.Write("site.css", kSiteCss);
    site.Write("site.js", kSiteScript);
    site.Write("index.html", IndexPage(league));
    std::size_t pages = 1;
    site.Write(league.freeAgents.page, TeamPage(league, league.freeAgents));
    ++pages;
    for (const SiteTeam& team : league.teams) {
        site.Write(team.page, TeamPage(league, team));
        ++pages;
    }
    ProgressStepper stepper(progress, 0.0f, 100.0f, static_cast<long long>(league.players.size()));
    std::string page;
    for (const SitePlayer& player : league.players) {
        page.clear();
        AppendPlayerPage(page, league, player);
        site.Write(player.page, page);
        ++pages;
        stepper.Advance();
    }
    site.Commit();
    return pages;
}

} // namespace tavrel
