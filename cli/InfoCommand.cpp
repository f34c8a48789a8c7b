#include "cli/CliSession.h"
#include "cli/Commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>

namespace tavrel::cli {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char pair[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        if (!text.empty())
            text += ' ';
        text += pair;
    }
    return text;
}

void ShowInfo(const std::string& leaguePath) {
    CliSession session(leaguePath, LeagueAccess::Read);
    const LoadedLeague& league = session->League();
    std::cout << "League file: " << league.leagueFile.string() << '\n'
              << "Player file: " << league.playerFile.string() << '\n'
              << "Teams: " << league.teamCount << '\n'
              << "Players: " << league.image.RecordCount() << '\n'
              << "Trailing bytes: " << league.image.TrailingBytes().size() << '\n'
              << "Header: " << Hex(league.image.Header()) << '\n';
}

} // namespace

void AddInfoCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "info", "Shows how many teams and players the league holds, the bytes after the last "
                "whole player record and the player file header in hex.");
    auto league = std::make_shared<std::string>();
    AddLeagueArgument(*command, *league);
    command->callback([league] { ShowInfo(*league); });
}

} // namespace tavrel::cli
