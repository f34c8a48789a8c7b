#include "cli/CliSession.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "safety/SignalCleanup.h"
#include "store/WorkingDatabase.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSessionPrefix = "tavrel-cli-";

void RemoveOnSignal(int signal) {
    RemoveRegisteredPaths();
    // The handler was reset on entry: the signal, delivered again once this returns, ends the
    // program as it would have without us.
    raise(signal);
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RemoveOnSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

// The process id in a session folder's name, or 0 when the name is not a session's.
pid_t SessionProcess(const std::string& name) {
    if (name.compare(0, kSessionPrefix.size(), kSessionPrefix) != 0)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + kSessionPrefix.size(), &end, 10);
    return end && *end == '-' && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

} // namespace

fs::path SessionsFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? fs::path(tmp) : fs::path("/tmp");
}

void RemoveAbandonedSessions(const fs::path& folder) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const pid_t pid = SessionProcess(entry.path().filename());
        struct stat info {};
        if (pid == 0 || lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != geteuid())
            continue;
        if (kill(pid, 0) != 0 && errno == ESRCH) {
            std::error_code ignored; // another run may be removing it too
            fs::remove_all(entry.path(), ignored);
        }
    }
}

CliSession::CliSession(const std::string& leaguePath, LeagueAccess access,
                       const SessionOptions& options) {
    const fs::path parent = SessionsFolder();
    std::string pattern =
        (parent / (std::string(kSessionPrefix) + std::to_string(getpid()) + "-XXXXXX")).native();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        throw LeagueError("Creating a temporary folder", parent, std::strerror(errno));
    folder_ = fs::path(name.data());
    workingDb_ = folder_ / kWorkingDatabaseName;
    cleanupSlot_ = RegisterCleanupFolder(
        folder_,
        {"Tavrel.tmp", "Tavrel.tmp-journal", "Tavrel.tmp-wal", "Tavrel.tmp-shm", "Tavrel.tmp.lock",
         "Tavrel.tmp.origin", "Tavrel.tmp.records", "Tavrel.tmp.new", "Tavrel.tmp.new-journal",
         "Tavrel.tmp.new-wal", "Tavrel.tmp.new-shm", "Tavrel.tmp.new.origin"});
    try {
        SessionOptions chosen = options;
        chosen.access = access;
        chosen.program = kCliProgramName;
        league_ = std::make_unique<LeagueSession>(leaguePath, workingDb_, chosen);
    } catch (...) {
        RemoveFolder();
        throw;
    }
}

CliSession::~CliSession() {
    league_.reset(); // lets go of its locks first
    RemoveFolder();
}

void CliSession::RemoveFolder() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    UnregisterCleanup(cleanupSlot_);
    cleanupSlot_ = -1;
}

LeagueAccess AccessFor(bool dryRun, const std::string& out) {
    return dryRun ? LeagueAccess::Read : out.empty() ? LeagueAccess::Write : LeagueAccess::Copy;
}

bool IsOneOfTheLeagueFiles(const std::filesystem::path& file, const std::string& leaguePath) {
    return IsSameFile(file, leaguePath) || IsSameFile(file, PlayerFilePath(leaguePath));
}

void AddLeagueArgument(CLI::App& command, std::string& leaguePath) {
    command
        .add_option("LEAGUE", leaguePath,
                    "League file (.lge); its player file (.ply) lies beside it")
        ->required();
}

void FlushStandardOutput() {
    errno = 0;
    if (!std::cout.flush())
        throw LeagueError("Writing the standard output", {},
                          errno != 0 ? std::strerror(errno) : "the output could not be written");
}

int RunCommandLine(CLI::App& app, int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that goes away (dump | head) must not kill us before the temporary folder is
    // removed; the failed write is reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    InstallSignalHandlers();
    RemoveAbandonedSessions(SessionsFolder());
    int status = kExitSuccess;
    try {
        app.parse(argc, argv);
        FlushStandardOutput();
    } catch (const FindingsReported&) {
        status = kExitFindings; // the command flushed its report before it threw
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == kExitSuccess ? kExitSuccess : kExitUsage;
    } catch (const std::exception& e) {
        // LeagueError names the operation, the file and the cause; anything else (memory, the
        // store) is still one line.
        std::cout.flush();
        std::cerr << "tavrel-cli: " << e.what() << std::endl;
        return kExitFailure;
    }
    return status;
}

} // namespace tavrel::cli
