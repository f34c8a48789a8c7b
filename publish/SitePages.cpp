#include "publish/SitePages.h"

#include "publish/Html.h"
#include "store/Vocabulary.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace tavrel {
namespace {

constexpr std::string_view kNoTeam = "No team";

// Prefix of the links from a page to the site's root: "" at the root, "../" from players/.
enum class Depth { Root, Players };
std::string_view Up(Depth depth) {
    return depth == Depth::Root ? "" : "../";
}

void AppendHead(std::string& out, std::string_view title, const LeagueData& league, Depth depth) {
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    AppendHtml(out, title);
    out += "</title>\n<link rel=\"stylesheet\" href=\"";
    out += Up(depth);
    out += "site.css\">\n<script src=\"";
    out += Up(depth);
    out += "site.js\" defer></script>\n</head>\n<body>\n<header><nav aria-label=\"League\"><a "
           "href=\"";
    out += Up(depth);
    out += "index.html\">";
    AppendHtml(out, league.leagueName);
    out += "</a></nav></header>\n<main>\n";
}

void AppendFoot(std::string& out) {
    out += "</main>\n<footer>Published with Tavrel.</footer>\n</body>\n</html>\n";
}

void AppendLink(std::string& out, std::string_view href, std::string_view text) {
    out += "<a href=\"";
    AppendHtml(out, href);
    out += "\">";
    AppendHtml(out, text);
    out += "</a>";
}

// Cells are right-aligned by the style sheet but for a row's first and those marked "t": the
// pages of a large league hold a few million of them, so the numbers carry no class.
void AppendNumberCell(std::string& out, std::string_view text) {
    out += "<td>";
    AppendHtml(out, text);
    out += "</td>";
}

std::string RatingText(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

std::string_view RatingName(std::string_view code) {
    return kRatings[std::size_t(*RatingIndex(code))].longName;
}

// The header cells of the roster table: the roster files' captions, then the rating codes.
void AppendRosterHead(std::string& out) {
    out += "<thead><tr><th scope=\"col\"><abbr title=\"Position\">Pos</abbr></th>"
           "<th scope=\"col\">Name</th>"
           "<th scope=\"col\" class=\"n\"><abbr title=\"Years\">Yr</abbr></th>"
           "<th scope=\"col\" class=\"n\">Age</th>"
           "<th scope=\"col\" class=\"n\"><abbr title=\"Height\">HT</abbr></th>"
           "<th scope=\"col\" class=\"n\"><abbr title=\"Weight\">WT</abbr></th>"
           "<th scope=\"col\">College</th>";
    for (const RatingBand& band : kRatingBands)
        for (const std::string_view code : band) {
            out += "<th scope=\"col\" class=\"n\"><abbr title=\"Actual ";
            out += RatingName(code);
            out += "\">";
            out += code;
            out += "</abbr></th>";
        }
    out += "</tr></thead>\n";
}

constexpr int kRosterColumns = 7 + kSheetRatings;

void AppendRosterRow(std::string& out, const SitePlayer& p) {
    out += "<tr><td>";
    AppendHtml(out, p.positionText);
    out += "</td><th scope=\"row\">";
    AppendLink(out, p.page, p.DisplayName());
    out += "</th>";
    AppendNumberCell(out, p.years);
    AppendNumberCell(out, p.age);
    AppendNumberCell(out, p.height);
    AppendNumberCell(out, p.weight);
    out += "<td class=\"t\">";
    AppendHtml(out, p.college);
    out += "</td>";
    for (const auto& rating : p.actual)
        AppendNumberCell(out, RatingText(rating));
    out += "</tr>\n";
}

std::string PlayerCount(std::size_t count) {
    return count == 1 ? "1 player" : std::to_string(count) + " players";
}

} // namespace

std::string IndexPage(const LeagueData& league) {
    std::string out;
    out.reserve(64 * league.players.size() + 4096);
    AppendHead(out, league.leagueName, league, Depth::Root);
    out += "<h1>";
    AppendHtml(out, league.leagueName);
    out += "</h1>\n<p class=\"lead\">";
    out +=
        std::to_string(league.teams.size()) + (league.teams.size() == 1 ? " team, " : " teams, ");
    out += PlayerCount(league.players.size());
    out += ".</p>\n";

    out += "<form class=\"search needs-script\" role=\"search\" action=\"#\">"
           "<label for=\"q\">Find a player by name</label>"
           "<input id=\"q\" name=\"q\" type=\"search\" autocomplete=\"off\">"
           "<p id=\"result-count\" aria-live=\"polite\"></p><ul id=\"results\"></ul></form>\n";

    out += "<h2 id=\"teams\">Teams</h2>\n<div class=\"scroll\"><table class=\"sortable\" "
           "aria-labelledby=\"teams\">\n<thead><tr><th scope=\"col\">Team</th>"
           "<th scope=\"col\" class=\"n\">Number</th><th scope=\"col\" class=\"n\">Players</th>"
           "</tr></thead>\n<tbody>\n";
    const auto teamRow = [&](const SiteTeam& team) {
        out += "<tr><th scope=\"row\">";
        AppendLink(out, team.page, team.name);
        out += "</th>";
        AppendNumberCell(out, team.number ? std::to_string(*team.number) : std::string());
        AppendNumberCell(out, std::to_string(team.players.size()));
        out += "</tr>\n";
    };
    for (const SiteTeam& team : league.teams)
        teamRow(team);
    out += "</tbody>\n</table></div>\n<h2>Free agents</h2>\n<p>";
    AppendLink(out, league.freeAgents.page, league.freeAgents.name);
    out += ": " + PlayerCount(league.freeAgents.players.size()) + ".</p>\n";

    // The search index: team names once, then per player name, position, team and page.
    std::map<const SiteTeam*, std::size_t> teamIndex;
    out += "<script type=\"application/json\" id=\"player-index\">{\"teams\":[";
    AppendJsonString(out, league.freeAgents.name);
    teamIndex[&league.freeAgents] = 0;
    for (const SiteTeam& team : league.teams) {
        teamIndex[&team] = teamIndex.size();
        out += ',';
        AppendJsonString(out, team.name);
    }
    const std::size_t noTeam = teamIndex.size();
    out += ',';
    AppendJsonString(out, kNoTeam);
    out += "],\n\"players\":[";
    bool first = true;
    for (const SitePlayer& p : league.players) {
        out += first ? "\n[" : ",\n[";
        first = false;
        AppendJsonString(out, p.DisplayName());
        out += ',';
        AppendJsonString(out, p.positionText);
        const SiteTeam* team = league.TeamOf(p);
        out += ',' + std::to_string(team ? teamIndex[team] : noTeam) + ',';
        AppendJsonString(out, p.page);
        out += ']';
    }
    out += "]}</script>\n";
    AppendFoot(out);
    return out;
}

std::string TeamPage(const LeagueData& league, const SiteTeam& team) {
    std::string out;
    out.reserve(400 * team.players.size() + 4096);
    AppendHead(out, team.name + " \u2013 " + league.leagueName, league, Depth::Root);
    out += "<h1 id=\"team\">";
    AppendHtml(out, team.name);
    out +=
        "</h1>\n<p class=\"lead\">" + PlayerCount(team.players.size()) +
        ". The ratings are the actual ratings; each player's page shows the potential ones."
        "</p>\n<div class=\"scroll\"><table class=\"sortable roster\" aria-labelledby=\"team\">\n";
    AppendRosterHead(out);
    std::optional<std::int64_t> group;
    bool open = false;
    for (const std::size_t index : team.players) {
        const SitePlayer& p = league.players[index];
        if (!open || group != p.position) {
            if (open)
                out += "</tbody>\n";
            open = true;
            group = p.position;
            out += "<tbody><tr class=\"group\"><th scope=\"rowgroup\" colspan=\"" +
                   std::to_string(kRosterColumns) + "\">";
            AppendHtml(out, PositionGroupName(p.position));
            out += "</th></tr>\n";
        }
        AppendRosterRow(out, p);
    }
    out += open ? "</tbody>\n" : "<tbody></tbody>\n";
    out += "</table></div>\n";
    AppendFoot(out);
    return out;
}

void AppendPlayerPage(std::string& out, const LeagueData& league, const SitePlayer& player) {
    const SiteTeam* team = league.TeamOf(player);
    const std::string name = player.DisplayName().empty()
                                 ? "Record " + std::to_string(player.record)
                                 : player.DisplayName();
    AppendHead(out, name + " \u2013 " + league.leagueName, league, Depth::Players);
    out += "<h1>";
    AppendHtml(out, name);
    out += "</h1>\n<dl class=\"facts\">\n<dt>Team:</dt><dd>";
    if (team) {
        out += "<a href=\"../";
        AppendHtml(out, team->page);
        out += "\">";
        AppendHtml(out, team->name);
        out += "</a>";
    } else {
        out += kNoTeam;
    }
    out += "</dd>\n";
    const auto fact = [&](std::string_view caption, std::string_view value) {
        out += "<dt>";
        out += caption;
        out += "</dt><dd>";
        AppendHtml(out, value);
        out += "</dd>\n";
    };
    fact("Position:", player.positionText);
    fact("Years:", player.years);
    fact("Age:", player.age);
    fact("Height:", player.height);
    fact("Weight:", player.weight);
    fact("College:", player.college);
    out += "</dl>\n<h2 id=\"ratings\">Ratings</h2>\n<p class=\"legend\" aria-hidden=\"true\">"
           "<span class=\"act\"></span>Actual<span class=\"pot\"></span>Potential</p>\n"
           "<div class=\"bands\">\n";
    // A band's bars are one picture beside its eight rows: a path of the actual bars and one of
    // the potential bars, 100 units of height per rating, 10 units of length per rating point up
    // to 100 (a rating beyond it fills the bar).
    std::size_t k = 0;
    int bandNumber = 0;
    for (const RatingBand& band : kRatingBands) {
        std::string actualBars, potentialBars;
        for (std::size_t slot = 0; slot < band.size(); ++slot) {
            const auto length = [](const std::optional<std::int64_t>& v) {
                return std::to_string(10 * std::clamp<std::int64_t>(v.value_or(0), 0, 100));
            };
            actualBars +=
                "M0 " + std::to_string(slot * 100 + 36) + "H" + length(player.actual[k + slot]);
            potentialBars +=
                "M0 " + std::to_string(slot * 100 + 64) + "H" + length(player.potential[k + slot]);
        }
        out += "<div class=\"scroll\"><table class=\"ratings\">\n<caption class=\"vh\">Ratings, "
               "band " +
               std::to_string(++bandNumber) +
               "</caption>\n<thead><tr><th scope=\"col\">Rating</th><th scope=\"col\" "
               "class=\"n\">Actual</th><th scope=\"col\" class=\"n\">Potential</th><th "
               "scope=\"col\"><span class=\"vh\">Bars</span></th></tr></thead>\n<tbody>\n";
        for (std::size_t slot = 0; slot < band.size(); ++slot, ++k) {
            out += "<tr><th scope=\"row\"><abbr title=\"";
            out += RatingName(band[slot]);
            out += "\">";
            out += band[slot];
            out += ":</abbr></th>";
            AppendNumberCell(out, RatingText(player.actual[k]));
            AppendNumberCell(out, RatingText(player.potential[k]));
            if (slot == 0)
                out += "<td class=\"bars\" rowspan=\"8\"><svg viewBox=\"0 0 1000 800\" "
                       "preserveAspectRatio=\"none\" aria-hidden=\"true\"><path class=\"act\" "
                       "d=\"" +
                       actualBars + "\"/><path class=\"pot\" d=\"" + potentialBars +
                       "\"/></svg></td>";
            out += "</tr>\n";
        }
        out += "</tbody>\n</table></div>\n";
    }
    out += "</div>\n";
    AppendFoot(out);
}

} // namespace tavrel
