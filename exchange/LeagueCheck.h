#pragma once

#include "fileformat/PlayerFile.h"
#include "fileformat/TeamScan.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// One thing wrong or risky in a league, with the player or team it concerns.
struct LeagueProblem {
    std::string kind; // "record-size", "empty-id", "duplicate-pid", "actual-above-potential",
                      // "rating-above-99", "unknown-position", "unknown-team", "name-characters",
                      // "trailing-bytes", "duplicate-team"
    std::string message;
    std::optional<std::size_t> record; // 1-based, for a problem of one player
    std::optional<int> pid;
    std::optional<int> team;
};

// How the findings name a player's columns: by the column names of the spreadsheets and the
// command line ("Act_SP 120", "FirstName"), or as the window's form names them ("Actual Speed
// 120", "First Name").
enum class CheckWording { ColumnNames, Captions };

// Everything the check finds in a player file and the teams of its league file: a header that
// does not give the 366-byte record size (bytes 8 and 9), records whose identifier bytes are 0,0
// (the next save drops them), PIDs more than one record holds, actual ratings above potential,
// ratings above 99, position codes no position has, players on a team number the league file does
// not list and team numbers two team records share (only when `teams` is given), names and team
// names with control characters or bytes the code page leaves undefined, and bytes after the last
// whole record. In file order, players before teams.
std::vector<LeagueProblem> CheckLeague(const PlayerFileImage& players,
                                       const std::optional<std::vector<TeamRecord>>& teams,
                                       CheckWording wording = CheckWording::ColumnNames);

// "1 warning", "2 warnings": how the check's findings are counted to the user.
std::string WarningCount(std::size_t problems);

// The same for the files of a league: LEAGUE.lge and the player file beside it, or a player file
// alone (then without the team check). Throws LeagueError naming a file that cannot be read.
std::vector<LeagueProblem> CheckLeagueFiles(const std::filesystem::path& leagueOrPlayerFile);

} // namespace tavrel
