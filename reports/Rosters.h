#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace tavrel {

// Roster text files, one per team, for printing or reading: a five-line page head, four lines
// per player in position order (position, name and personal data; actual ratings; potential
// ratings; a spacer), then the program's name and home page. Text is written in Windows-1252 like
// the player file, lines end in CR LF, and trailing NULs of names are left out.

// Writes "Free Agents.txt" (the players whose Team is 0) into `folder`, then one file for each
// Team row in table order, each named by RosterFileName. Every roster gets its own file: a later
// team whose name is taken in this run (by an earlier team of that name, or by the free agents'
// file for a team named "Free Agents") gets " (2)", " (3)" ... before ".txt". Everything is read
// before the first file is written, so a database failure writes nothing; each file is replaced
// whole or not at all. Returns the files written, in order. Throws LeagueError naming the working
// database or the roster file.
std::vector<std::filesystem::path> PrintRosters(const std::filesystem::path& workingDb,
                                                const std::filesystem::path& folder);

// Writes the roster of the players whose Team is `teamNumber` under the heading `teamName`, which
// loses its trailing NULs in place, and returns the file written.
std::filesystem::path PrintTeamRoster(const std::filesystem::path& workingDb,
                                      const std::filesystem::path& folder, std::string& teamName,
                                      int teamNumber);

// The whole roster file of one team (Windows-1252 bytes) from an open working database. A team
// without a number (a TeamID left empty) lists nobody.
std::string TeamRosterText(SQLite::Database& db, std::string teamName,
                           std::optional<std::int64_t> teamNumber);

// The file name of a team's roster, the team name (UTF-8, without its trailing NULs) and ".txt".
// Team names come from a league file anyone may have made, so every character a file name cannot
// hold (/ \ : * ? " < > | and control characters) becomes "_", and a name that would then be
// empty, "." or ".." gives "Team" and the team number instead: the file always lands in its
// folder.
std::string RosterFileName(const std::string& teamName, std::optional<std::int64_t> teamNumber);

} // namespace tavrel
