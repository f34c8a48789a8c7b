#include "cli/Commands.h"
#include "demo/DemoLeague.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

namespace tavrel::cli {

void AddDemoCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "demo", "Writes the demo league, Demo.lge and Demo.ply, into DIR (made if missing). The "
                "same options always give the same bytes.");
    auto dir = std::make_shared<std::string>();
    auto options = std::make_shared<DemoLeagueOptions>();
    command->add_option("DIR", *dir, "Folder to write into")->required();
    command->add_option("--teams", options->teams, "Number of teams, 0 to 255")
        ->capture_default_str();
    command->add_option("--players", options->players, "Number of players, free agents included")
        ->capture_default_str();
    command->add_option("--seed", options->seed, "Another seed gives another league")
        ->capture_default_str();
    command->callback([dir, options] {
        const DemoLeagueFiles files = WriteDemoLeague(*dir, *options);
        std::cout << files.leagueFile.string() << '\n';
    });
}

} // namespace tavrel::cli
