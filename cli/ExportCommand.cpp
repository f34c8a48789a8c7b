#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "exchange/PlayerExport.h"
#include "fileformat/LeaguePaths.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>

namespace tavrel::cli {
namespace {

struct ExportArguments {
    std::string league;
    std::string out;
    std::string format = "csv";
    std::string team = "all";
};

// all: nothing; free: 0; else a team number 0..255.
std::optional<int> ChosenTeam(const std::string& text) {
    if (text == "all")
        return std::nullopt;
    if (text == "free")
        return 0;
    int id = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error == std::errc() && end == text.data() + text.size() && id >= 0 && id <= 255)
        return id;
    throw CLI::ValidationError("--team",
                               "\"" + text + "\" is neither all, free nor a team number 0..255");
}

void RunExport(const ExportArguments& args) {
    const ExportOptions options{args.format == "xlsx" ? ExportFormat::Xlsx : ExportFormat::Csv,
                                ChosenTeam(args.team)};
    if (IsOneOfTheLeagueFiles(args.out, args.league))
        throw LeagueError("Exporting the players to", args.out,
                          "this is one of the league's own files; export writes a spreadsheet "
                          "of its own");
    const PlayerList players = PlayerList::FromFile(ReadPlayerFile(PlayerFilePath(args.league)));
    ExportPlayers(players, args.out, options);
}

} // namespace

void AddExportCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "export", "Writes the league's players into a spreadsheet: one row per player record, "
                  "Record (its place in the player file) and the Players columns.");
    auto args = std::make_shared<ExportArguments>();
    AddLeagueArgument(*command, args->league);
    command->add_option("--out", args->out, "Spreadsheet to write (replaced if it exists)")
        ->required();
    command
        ->add_option("--format", args->format,
                     "csv: UTF-8 with a byte-order mark, comma separated. xlsx: a workbook")
        ->check(CLI::IsMember({"csv", "xlsx"}))
        ->capture_default_str();
    command->add_option("--team", args->team, "all, free (the free agents) or a team number")
        ->capture_default_str();
    command->callback([args] { RunExport(*args); });
}

} // namespace tavrel::cli
