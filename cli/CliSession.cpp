#include "cli/CliSession.h"

#include "league/LeagueError.h"
#include "league/LeaguePaths.h"
#include "store/WorkingDatabase.h"

#include <CLI/CLI.hpp>
#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

namespace tavrel::cli {

CliSession::CliSession() : folder_(QDir::tempPath() + "/tavrel-cli-XXXXXX") {
    if (!folder_.isValid())
        throw LeagueError("Creating a temporary folder", QDir::tempPath().toStdString(),
                          folder_.errorString().toStdString());
    workingDb_ = std::filesystem::path(folder_.path().toStdString()) / kWorkingDatabaseName;
}

LoadedLeague CliSession::Import(const std::string& leaguePath) {
    return LoadLeague(PlayerFilePath(leaguePath), leaguePath, workingDb_);
}

bool IsLeagueFile(const std::filesystem::path& file, const std::string& leaguePath) {
    const auto same = [&file](const std::filesystem::path& other) {
        std::error_code error; // a file that does not exist is no other file
        return std::filesystem::equivalent(file, other, error) && !error;
    };
    return same(leaguePath) || same(PlayerFilePath(leaguePath));
}

void AddLeagueArgument(CLI::App& command, std::string& leaguePath) {
    command
        .add_option("LEAGUE", leaguePath,
                    "League file (.lge); its player file (.ply) lies beside it")
        ->required();
}

int RunCommandLine(CLI::App& app, int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that goes away (dump | head) must not kill us before the temporary folder is
    // removed; the failed write is reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    int status = kExitSuccess;
    try {
        app.parse(argc, argv);
    } catch (const FindingsReported&) {
        status = kExitFindings;
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == kExitSuccess ? kExitSuccess : kExitUsage;
    } catch (const std::exception& e) {
        // LeagueError names the operation, the file and the cause; anything else (memory, the
        // store) is still one line.
        std::cout.flush();
        std::cerr << "tavrel-cli: " << e.what() << std::endl;
        return kExitFailure;
    }
    errno = 0;
    if (!std::cout.flush()) {
        std::cerr << "tavrel-cli: Writing the standard output: "
                  << (errno != 0 ? std::strerror(errno) : "the output could not be written")
                  << std::endl;
        return kExitFailure;
    }
    return status;
}

} // namespace tavrel::cli
