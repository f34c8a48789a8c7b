#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerImport.h"
#include "fileformat/FileBytes.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

namespace tavrel::cli {
namespace {

struct ImportArguments {
    std::string league;
    std::string sheet;
    std::string out;
    bool dryRun = false;
};

// One line per player, then one per changed cell: "  Act_SP: 50 -> 55".
void PrintChanges(const ImportPlan& plan, const PlayerList& players, std::ostream& out) {
    PlayerRow row;
    std::size_t shown = 0;
    for (const PlayerCellChange& change : plan.changes) {
        if (change.record != shown) {
            shown = change.record;
            players.Read(change.record - 1, row);
            out << DescribePlayer(change.record, row) << "\n";
        }
        const auto [before, after] = ShownDifference({change.column, change.before, change.after});
        out << "  " << kPlayersColumns[change.column].name << ": " << before << " -> " << after
            << "\n";
    }
}

void RunImport(const ImportArguments& args) {
    constexpr const char* operation = "Importing the players from";
    if (!args.out.empty() && IsOneOfTheLeagueFiles(args.out, args.league))
        throw LeagueError("Saving the imported players", args.out,
                          "this is one of the league's own files; leave out --out to save into "
                          "the league's player file");
    // The .sw$ copy only when there is something to save: a refused sheet leaves the last one.
    CliSession session(args.league, AccessFor(args.dryRun, args.out), {.backUpAtOpen = false});
    const LoadedLeague& league = session->League();
    const PlayerList players = PlayerList::Of(league.image);
    const ImportPlan plan = PlanSheetImport(args.sheet, players);
    if (plan.refusalCount > 0) {
        for (const std::string& line : DescribeRefusals(plan))
            std::cerr << line << "\n";
        throw LeagueError(operation, args.sheet,
                          std::to_string(plan.refusalCount) +
                              " cells refused (listed above); nothing was changed");
    }
    const auto report = [&plan, &args] {
        std::cout << plan.changes.size() << " cells of " << plan.playersChanged << " players "
                  << (args.dryRun ? "would change" : "changed") << "\n";
        FlushStandardOutput(); // a report that cannot be told changes nothing
    };
    if (args.dryRun) {
        PrintChanges(plan, players, std::cout);
        report();
        return;
    }
    session->Apply(ToCellChanges(plan.changes));
    // The report is told once the new file is on disk, before it replaces the old one.
    if (!args.out.empty())
        session->SaveAs(args.out, report);
    else if (plan.changes.empty())
        report(); // the player file is left exactly as it is
    else
        session->Save(report);
}

} // namespace

void AddImportCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "import",
        "Changes players from a CSV or XLSX spreadsheet (by its extension) laid out as export "
        "writes it (any subset of its columns, players found by Record, else by PID) and saves "
        "them into the league's player file (after copying it to the .sw$ backup) or into OUT. "
        "Every cell is checked first: one refused cell changes nothing.");
    auto args = std::make_shared<ImportArguments>();
    AddLeagueArgument(*command, args->league);
    command
        ->add_option("SHEET", args->sheet, "CSV file, or .xlsx workbook (its first sheet), to read")
        ->required();
    command->add_option("--out", args->out,
                        "Player file to write instead of the league's own (replaced if it "
                        "exists)");
    command->add_flag("--dry-run", args->dryRun,
                      "List the changes, cell by cell, and write nothing");
    command->callback([args] { RunImport(*args); });
}

} // namespace tavrel::cli
