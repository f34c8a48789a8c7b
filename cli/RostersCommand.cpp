#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "reports/Rosters.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

namespace tavrel::cli {
namespace {

struct RostersArguments {
    std::string league;
    std::string out = ".";
};

// The folder is made only once the league has been read, so a league that cannot be read leaves
// nothing behind.
void WriteRosters(const RostersArguments& args) {
    CliSession session(args.league, LeagueAccess::Read);
    std::error_code error;
    std::filesystem::create_directories(args.out, error);
    if (error)
        throw LeagueError("Creating the roster folder", args.out, error.message());
    for (const std::filesystem::path& file : PrintRosters(session.WorkingDb(), args.out))
        std::cout << file.string() << "\n";
}

} // namespace

void AddRostersCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "rosters", "Imports the league and writes one roster text file per team, and one for "
                   "the free agents, as Print in the editor does. Prints the files written.");
    auto args = std::make_shared<RostersArguments>();
    AddLeagueArgument(*command, args->league);
    command->add_option("--out", args->out, "Folder for the roster files (made if missing)")
        ->capture_default_str();
    command->callback([args] { WriteRosters(*args); });
}

} // namespace tavrel::cli
