#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <system_error>

namespace tavrel::cli {
namespace {

constexpr const char* kOperation = "Saving a copy of the league";

// Imports the league and exports its players into `out`, a player file of its own. The league's
// files are never written, not even when `out` names one of them; when `out` is another league's
// player file, it is written under that league's lock after a dated backup of it.
void SaveCopy(const std::string& leaguePath, const std::string& out) {
    if (IsOneOfTheLeagueFiles(out, leaguePath))
        throw LeagueError(kOperation, out,
                          "this is one of the league's own files; save-as only "
                          "writes a copy");
    CliSession session(leaguePath, LeagueAccess::Copy);
    session->SaveAs(out);
}

} // namespace

void AddSaveAsCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "save-as", "Imports the league and saves its players into OUT, as saving in the editor "
                   "would write them. The league's own files are not written.");
    auto league = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    AddLeagueArgument(*command, *league);
    command->add_option("OUT", *out, "Player file to write (replaced if it exists)")->required();
    command->callback([league, out] { SaveCopy(*league, *out); });
}

} // namespace tavrel::cli
