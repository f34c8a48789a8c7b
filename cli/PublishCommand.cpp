#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "publish/PaperSize.h"
#include "publish/PdfWriter.h"
#include "publish/PublishSite.h"
#include "publish/RosterSheets.h"
#include "publish/SiteData.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>

namespace tavrel::cli {
namespace {

struct PublishArguments {
    std::string league;
    std::string out;
    std::string pdf;
    std::string team = "all";
    std::string paper = "system";
};

// The rosters the sheets print: all, free (the free agents) or the teams of one number.
std::vector<const SiteTeam*> ChosenRosters(const LeagueData& league, const std::string& choice) {
    if (choice == "all")
        return AllRosters(league);
    if (choice == "free")
        return {&league.freeAgents};
    std::int64_t number = -1;
    const auto [end, error] = std::from_chars(choice.data(), choice.data() + choice.size(), number);
    std::vector<const SiteTeam*> rosters;
    if (error == std::errc() && end == choice.data() + choice.size())
        for (const SiteTeam& team : league.teams)
            if (team.number == number)
                rosters.push_back(&team);
    if (rosters.empty())
        throw LeagueError("Printing the rosters of", league.leagueName,
                          "the league has no team \"" + choice + "\" (all, free or a team number)");
    return rosters;
}

void RunPublish(const PublishArguments& args) {
    if (args.out.empty() && args.pdf.empty())
        throw CLI::ValidationError("publish", "give --out FOLDER, --pdf FILE or both");
    if (!args.pdf.empty() && IsOneOfTheLeagueFiles(args.pdf, args.league))
        throw LeagueError("Writing the roster sheets to", args.pdf,
                          "this is one of the league's own files");
    // "system" (in any case) or a name the option's check has let through.
    const PageSize paper = PaperSizeNamed(args.paper).value_or(SystemPaperSize());
    CliSession session(args.league, LeagueAccess::Read);
    const LeagueData league =
        ReadLeagueData(session.WorkingDb(), std::filesystem::path(args.league).filename().string());
    if (!args.pdf.empty()) {
        const PageLayout sheets =
            LayOutRosterSheets(league, ChosenRosters(league, args.team), paper);
        WritePdf(sheets, args.pdf);
        std::cout << args.pdf << ": " << sheets.pages.size() << " pages, " << paper.name << "\n";
    }
    if (!args.out.empty()) {
        const std::size_t pages = PublishSite(league, args.out);
        std::cout << (std::filesystem::path(args.out) / "index.html").string() << ": " << pages
                  << " pages\n";
    }
}

} // namespace

void AddPublishCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "publish", "Imports the league and writes it as a static web site (index.html, a page per "
                   "team and per player) and/or roster sheets to print as a PDF.");
    auto args = std::make_shared<PublishArguments>();
    AddLeagueArgument(*command, args->league);
    command->add_option(
        "--out", args->out,
        "Folder for the site: new, empty, or one published before (replaced whole)");
    command->add_option("--pdf", args->pdf,
                        "Roster sheets to write as PDF (replaced if it exists)");
    command
        ->add_option("--team", args->team,
                     "Rosters in the PDF: all, free (the free agents) or a team number")
        ->capture_default_str();
    command
        ->add_option("--paper", args->paper,
                     "Page size of the PDF: system (PAPERSIZE, /etc/papersize, LC_PAPER), a4 or "
                     "letter")
        ->check(CLI::IsMember({"system", "a4", "letter"}, CLI::ignore_case))
        ->capture_default_str();
    command->callback([args] { RunPublish(*args); });
}

} // namespace tavrel::cli
