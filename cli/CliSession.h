#pragma once

#include "session/LeagueSession.h"

#include <filesystem>
#include <memory>
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

// How tavrel-cli names itself to other writers of a league (see LeagueLock).
inline constexpr const char* kCliProgramName = "tavrel-cli";

// One command's league session (LeagueSession) on a private working database, in a folder of its
// own under TMPDIR named "tavrel-cli-<process id>-XXXXXX", that goes away with the session,
// whether the command succeeds or throws, and also when SIGINT, SIGTERM or SIGHUP end the program
// (see RunCommandLine). The window program's working databases are never touched. Throws
// LeagueError when the folder cannot be made or the league cannot be opened as asked.
class CliSession {
public:
    CliSession(const std::string& leaguePath, LeagueAccess access,
               const SessionOptions& options = {});
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    LeagueSession& League() { return *league_; }
    LeagueSession* operator->() { return league_.get(); }
    const std::filesystem::path& WorkingDb() const { return workingDb_; }

private:
    void RemoveFolder();

    std::filesystem::path folder_;
    std::filesystem::path workingDb_;
    int cleanupSlot_ = -1;
    std::unique_ptr<LeagueSession> league_;
};

// The folder the sessions are made in: TMPDIR, or /tmp.
std::filesystem::path SessionsFolder();

// Removes the session folders in `folder` that belong to processes that are gone (killed, say,
// by a signal that cannot be caught). Folders of running processes stay.
void RemoveAbandonedSessions(const std::filesystem::path& folder);
// Whether `file` is the league file or its player file, however it is spelled (links, "..", case
// on a case-blind disk). A file that does not exist is neither, unless spelled as one of them.
bool IsOneOfTheLeagueFiles(const std::filesystem::path& file, const std::string& leaguePath);

// The access a command that changes players needs: none written for a dry run, a copy for an
// --out file, the league itself otherwise.
LeagueAccess AccessFor(bool dryRun, const std::string& out);

// The LEAGUE argument every command that reads a league takes.
void AddLeagueArgument(CLI::App& command, std::string& leaguePath);

// Parses the command line and runs the chosen command. Returns the exit status: usage errors are
// explained by the parser (help and version give success), a failure of the command is one line
// "tavrel-cli: <operation> "<file>": <cause>" on standard error. Standard output that could not
// be written is a failure too. SIGINT, SIGTERM and SIGHUP remove the command's files first; the
// session folders of earlier runs that are gone are removed before the command runs.
int RunCommandLine(CLI::App& app, int argc, char** argv);

// Flushes standard output; throws LeagueError when it cannot be written (a full disk, a reader
// that went away). Commands call it before they change a league, so that a report that cannot be
// told changes nothing.
void FlushStandardOutput();

} // namespace tavrel::cli
