#include "publish/SiteData.h"

#include "base/LeagueError.h"
#include "store/PlayerRows.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <array>
#include <string_view>
#include <unordered_map>

namespace tavrel {
namespace {

enum Column {
    RowId,
    Team,
    Pid,
    Position,
    PosText,
    First,
    Last,
    Years,
    Age,
    Height,
    Weight,
    College,
    FirstActual
};
constexpr int kFirstPotential = FirstActual + kSheetRatings;

std::string PlayerQuery() {
    std::string actual, potential;
    for (const RatingBand& band : kRatingBands)
        for (const std::string_view code : band) {
            actual += ", Act_" + std::string(code);
            potential += ", Pot_" + std::string(code);
        }
    return "SELECT rowid, Team, PID, Position, PositionTXT, FirstName, LastName, Years, AGE, "
           "Height, Weight, College" +
           actual + potential + " FROM Players ORDER BY Position, rowid";
}

std::optional<std::int64_t> Number(const PlayerRowCursor& row, int column) {
    if (row.IsInteger(column))
        return row.Integer(column);
    return std::nullopt;
}

std::string Text(const PlayerRowCursor& row, int column) {
    if (row.IsNull(column))
        return {};
    return WithoutTrailingPadding(std::string(row.Text(column)));
}

constexpr std::array<std::string_view, kPositionCount> kGroupNames = {
    "Quarterbacks",      "Halfbacks",      "Fullbacks",   "Centers",  "Guards",
    "Tackles",           "Wide Receivers", "Tight Ends",  "Kickers",  "Defensive Ends",
    "Defensive Tackles", "Linebackers",    "Cornerbacks", "Safeties", "Punters"};

} // namespace

std::string SitePlayer::DisplayName() const {
    if (firstName.empty() || lastName.empty())
        return firstName + lastName;
    return firstName + " " + lastName;
}

const SiteTeam* LeagueData::TeamOf(const SitePlayer& player) const {
    if (!player.team)
        return nullptr;
    if (*player.team == 0)
        return &freeAgents;
    const auto found = teamByNumber.find(*player.team);
    return found == teamByNumber.end() ? nullptr : &teams[found->second];
}

std::string PositionGroupName(std::int64_t position) {
    if (position < 0 || position >= kPositionCount)
        return "Other positions";
    return std::string(kGroupNames[std::size_t(position)]) + " (" + PositionText(int(position)) +
           ")";
}

LeagueData ReadLeagueData(SQLite::Database& db, const std::filesystem::path& workingDb,
                          std::string leagueName) {
    LeagueData data;
    data.leagueName = std::move(leagueName);
    data.freeAgents = {0, "Free Agents", "free-agents.html", {}};
    std::unordered_map<std::int64_t, int> pidCount;
    try {
        SQLite::Transaction reading(db); // one snapshot for the teams and their players
        SQLite::Statement teams(db, "SELECT TeamID, TeamName FROM Team ORDER BY rowid");
        std::map<std::int64_t, int> seen;
        while (teams.executeStep()) {
            SiteTeam team;
            const SQLite::Column id = teams.getColumn(0);
            if (id.getType() == SQLite::INTEGER)
                team.number = id.getInt64();
            const SQLite::Column name = teams.getColumn(1);
            team.name = name.isNull() ? std::string() : WithoutTrailingPadding(name.getString());
            const std::size_t index = data.teams.size();
            if (team.number) {
                const int count = ++seen[*team.number];
                team.page = "team-" + std::to_string(*team.number) +
                            (count > 1 ? "-" + std::to_string(count) : std::string()) + ".html";
                if (*team.number != 0)
                    data.teamByNumber.emplace(*team.number, index);
            } else {
                team.page = "team-row" + std::to_string(index + 1) + ".html";
            }
            if (team.name.empty())
                team.name =
                    "Team " + (team.number ? std::to_string(*team.number) : std::string("?"));
            data.teams.push_back(std::move(team));
        }

        PlayerRowCursor row(db, PlayerQuery());
        while (row.Next()) {
            SitePlayer p;
            p.record = row.Integer(RowId);
            p.pid = Number(row, Pid);
            p.team = Number(row, Team);
            p.position = Number(row, Position).value_or(-1);
            p.positionText = Text(row, PosText);
            p.firstName = Text(row, First);
            p.lastName = Text(row, Last);
            p.college = Text(row, College);
            p.years = Text(row, Years);
            p.age = Text(row, Age);
            p.height = Text(row, Height);
            p.weight = Text(row, Weight);
            for (int k = 0; k < kSheetRatings; ++k) {
                p.actual[std::size_t(k)] = Number(row, FirstActual + k);
                p.potential[std::size_t(k)] = Number(row, kFirstPotential + k);
            }
            if (p.pid)
                ++pidCount[*p.pid];
            data.players.push_back(std::move(p));
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the league from", workingDb, e);
    }
    for (std::size_t i = 0; i < data.players.size(); ++i) {
        SitePlayer& p = data.players[i];
        p.page = p.pid && pidCount[*p.pid] == 1 ? "players/p-" + std::to_string(*p.pid) + ".html"
                                                : "players/r-" + std::to_string(p.record) + ".html";
        if (!p.team)
            continue;
        if (*p.team == 0)
            data.freeAgents.players.push_back(i);
        else if (const auto found = data.teamByNumber.find(*p.team);
                 found != data.teamByNumber.end())
            data.teams[found->second].players.push_back(i);
    }
    return data;
}

LeagueData ReadLeagueData(const std::filesystem::path& workingDb, std::string leagueName) {
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        return ReadLeagueData(db, workingDb, std::move(leagueName));
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the league from", workingDb, e);
    }
}

} // namespace tavrel
