#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace tavrel {

// What the league site and the roster sheets show of a league: its teams and players read from a
// working database, texts in UTF-8 without their padding, numbers as the roster files print them.

inline constexpr int kSheetRatings = 24; // in the order of the rating bands (SP AG VT FA ...)

struct SitePlayer {
    std::int64_t record = 0;          // the row of Players: the player's place in the player file
    std::optional<std::int64_t> pid;  // PID, when it is a number
    std::optional<std::int64_t> team; // Team, when it is a number
    std::int64_t position = -1;       // the position code; -1 when it is not a number
    std::string positionText, firstName, lastName, college;
    std::string years, age, height, weight; // decimal text; empty for a null
    std::array<std::optional<std::int64_t>, kSheetRatings> actual, potential;
    std::string page; // the player's page, relative to the site folder ("players/p-4711.html")

    std::string DisplayName() const; // "First Last", or whichever part is there
};

struct SiteTeam {
    std::optional<std::int64_t> number; // TeamID; the free agents have 0
    std::string name;
    std::string page;                 // "team-5.html", "free-agents.html"
    std::vector<std::size_t> players; // indexes into LeagueData::players, in roster order
};

struct LeagueData {
    std::string leagueName; // the league's file name, for the headings
    SiteTeam freeAgents;
    std::vector<SiteTeam> teams;     // the Team rows in table order
    std::vector<SitePlayer> players; // by position code, then record: the roster order
    std::map<std::int64_t, std::size_t> teamByNumber; // the first team of each number

    // The team a player belongs to, or null when no Team row has his number.
    const SiteTeam* TeamOf(const SitePlayer& player) const;
};

// Reads the Team and Players tables in one snapshot. Every player gets a page: named by his PID
// when no other player of the league has it, by his record otherwise, so a re-published site
// keeps its links. Teams are named by their number (a second team with one number gets "-2", a
// team without one its row). Throws LeagueError naming `workingDb`.
LeagueData ReadLeagueData(SQLite::Database& db, const std::filesystem::path& workingDb,
                          std::string leagueName);
LeagueData ReadLeagueData(const std::filesystem::path& workingDb, std::string leagueName);

// The heading of a position group: "Quarterbacks (QB)"; unknown codes give "Other positions".
std::string PositionGroupName(std::int64_t position);

} // namespace tavrel
