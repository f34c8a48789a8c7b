#pragma once

#include "league/League.h"

#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace CLI {
class App;
}

namespace tavrel::cli {

// Exit status of tavrel-cli: success, a failure reported on one line of standard error, or a
// command line that could not be understood.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// The command ran to its end and found something (diff: the leagues differ; check: warnings).
inline constexpr int kExitFindings = 3;

// Thrown by a command, after its report is written, to end with kExitFindings.
struct FindingsReported {};

// A private working database for one command, in a temporary folder of its own (under TMPDIR)
// that goes away with the session, whether the command succeeds or throws. The window program's
// working database is never touched. Throws LeagueError when the folder cannot be made.
class CliSession {
public:
    CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Imports LEAGUE (the league file; its player file lies beside it) into the private working
    // database. Only reads the league's files. Throws LeagueError naming the file and the cause.
    LoadedLeague Import(const std::string& leaguePath);

    const std::filesystem::path& WorkingDb() const { return workingDb_; }

private:
    QTemporaryDir folder_;
    std::filesystem::path workingDb_;
};

// Whether `file` is the league file or the player file of the league at `leaguePath`: a command
// that writes a file of its own must not write over them.
bool IsLeagueFile(const std::filesystem::path& file, const std::string& leaguePath);

// The LEAGUE argument every command that reads a league takes.
void AddLeagueArgument(CLI::App& command, std::string& leaguePath);

// Parses the command line and runs the chosen command. Returns the exit status: usage errors are
// explained by the parser (help and version give success), a failure of the command is one line
// "tavrel-cli: <operation> "<file>": <cause>" on standard error. Standard output that could not
// be written is a failure too. A command that throws FindingsReported gives kExitFindings.
int RunCommandLine(CLI::App& app, int argc, char** argv);

} // namespace tavrel::cli
