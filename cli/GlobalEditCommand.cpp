#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/PreviewJson.h"
#include "globaledit/GlobalEdit.h"
#include "globaledit/GlobalEditOnImport.h"
#include "globaledit/Recipe.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

namespace tavrel::cli {
namespace {

struct GlobalEditArguments {
    std::string league;
    std::vector<std::string> positions;
    std::string team = "all";
    std::vector<std::string> actual;    // CODE=PCT
    std::vector<std::string> potential; // CODE=PCT
    std::string actualMin = "0", actualMax = "99";
    std::string potentialMin = "0", potentialMax = "99";
    std::string out;
    std::string recipe;
    bool dryRun = false;
    bool json = false;
};

// What the arguments ask for, checked whole before anything is read or written.
struct GlobalEditRequest {
    std::vector<int> positionCodes;
    GlobalEditInputs inputs;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

int TeamChoice(const std::string& text) {
    if (text == "all")
        return kAllTeams;
    if (text == "free")
        return kFreeAgents;
    int id = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size() || id < 0 || id > 255)
        throw CLI::ValidationError(
            "--team", "\"" + text + "\" is neither all, free nor a team number 0..255");
    return id;
}

// CODE=PCT into the percentage of that rating.
void TakePercentages(const std::vector<std::string>& items, const char* option,
                     std::array<double, kRatingCount>& percent) {
    for (const std::string& item : items) {
        const auto equals = item.find('=');
        const auto rating = RatingIndex(Upper(item.substr(0, equals)));
        if (equals == std::string::npos || !rating)
            throw CLI::ValidationError(option, "\"" + item +
                                                   "\" is not CODE=PCT with a rating code such "
                                                   "as SP");
        const auto value = ParsePercentText(item.substr(equals + 1));
        if (!value)
            throw CLI::ValidationError(std::string(option) + " " + item, kInvalidNumberMessage);
        percent[*rating] = *value;
    }
}

int Bound(const std::string& text, const char* option) {
    const auto value = ParseBoundText(text);
    if (!value)
        throw CLI::ValidationError(option, kInvalidNumberMessage);
    return *value;
}

// Starts from the recipe, when there is one, or from the dialog's load values; every option given
// on the command line then overrides what it names.
GlobalEditRequest CheckArguments(const GlobalEditArguments& args, const CLI::App& command) {
    auto given = [&command](const char* option) { return command.count(option) > 0; };
    GlobalEditRequest request;
    GlobalEditInputs& in = request.inputs;
    if (!args.recipe.empty()) {
        const GlobalEditRecipe recipe = LoadRecipe(args.recipe);
        request.positionCodes = recipe.positionCodes;
        in = recipe.inputs;
    }
    if (given("--positions")) {
        request.positionCodes.clear();
        for (const std::string& position : args.positions) {
            const auto code = PositionCode(Upper(position));
            if (!code)
                throw CLI::ValidationError(
                    "--positions", "\"" + position + "\" is not a position such as QB or S");
            request.positionCodes.push_back(*code);
        }
    }
    if (request.positionCodes.empty())
        throw CLI::ValidationError("--positions",
                                   "name the positions to edit, such as QB,S (or give a --recipe "
                                   "that ticks some)");
    if (given("--team"))
        in.team = TeamChoice(args.team);
    TakePercentages(args.actual, "--act", in.actualPercent);
    TakePercentages(args.potential, "--pot", in.potentialPercent);
    if (given("--act-min"))
        in.actualMin = Bound(args.actualMin, "--act-min");
    if (given("--act-max"))
        in.actualMax = Bound(args.actualMax, "--act-max");
    if (given("--pot-min"))
        in.potentialMin = Bound(args.potentialMin, "--pot-min");
    if (given("--pot-max"))
        in.potentialMax = Bound(args.potentialMax, "--pot-max");
    return request;
}

std::string Fixed2(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// What the edit would do, told without writing anything: one JSON document, or per position a
// line of counts and the mean of each edited rating before and after.
void TellPreview(const std::filesystem::path& workingDb, const GlobalEditRequest& request,
                 bool json) {
    const std::vector<PositionPreview> previews =
        PreviewGlobalEditPositions(workingDb, request.positionCodes, request.inputs);
    if (json) {
        std::cout << PreviewJson(request.inputs.team, previews).dump(2) << "\n";
        return;
    }
    for (const PositionPreview& p : previews) {
        std::cout << PositionText(p.positionCode) << ": " << p.playersChanged << " of "
                  << p.playersSelected << " players would change\n";
        const RuleTally& t = p.tally;
        std::cout << "  held at actual Max " << t.heldAtActualMax << ", at actual Min "
                  << t.heldAtActualMin << "; potentials lifted " << t.liftedToActual
                  << "; held at potential Max " << t.heldAtPotentialMax << ", at potential Min "
                  << t.heldAtPotentialMin << "\n";
        for (const RatingPreview& r : p.ratings) {
            const std::string code = std::string(kRatings[r.ratingIndex].code);
            std::cout << "  Act_" << code << " mean " << Fixed2(r.actualBefore.mean) << " -> "
                      << Fixed2(r.actualAfter.mean) << "\n";
            std::cout << "  Pot_" << code << " mean " << Fixed2(r.potentialBefore.mean) << " -> "
                      << Fixed2(r.potentialAfter.mean) << "\n";
        }
    }
}

void RunGlobalEdit(const GlobalEditArguments& args, const CLI::App& command) {
    const GlobalEditRequest request = CheckArguments(args, command);
    if (!args.out.empty() && IsOneOfTheLeagueFiles(args.out, args.league))
        throw LeagueError("Saving the edited players", args.out,
                          "this is one of the league's own files; leave out --out to save into "
                          "the league's player file");

    if (args.dryRun) {
        CliSession session(args.league, AccessFor(args.dryRun, args.out));
        TellPreview(session.WorkingDb(), request, args.json);
        return;
    }
    // The players are edited on their way into the working database, so each row is written
    // once; the session saves them as any edit.
    GlobalEditOnImport edit(request.positionCodes, request.inputs, args.league);
    SessionOptions options;
    options.importEdit = [&edit](PlayerRow& row) { edit.Edit(row); };
    CliSession session(args.league, AccessFor(args.dryRun, args.out), options);
    const std::vector<GlobalEditOutcome>& outcomes = edit.Outcomes();
    // Told once the new file is on disk and before it replaces the old one: a save that fails
    // tells only its failure, and a report that cannot be told leaves the file as it was.
    const auto report = [&outcomes] {
        for (const GlobalEditOutcome& outcome : outcomes)
            std::cout << PositionText(outcome.positionCode) << ": " << outcome.rowsChanged << " of "
                      << outcome.rowsSelected << " players changed\n";
        FlushStandardOutput();
    };
    if (!args.out.empty())
        session->SaveAs(args.out, report);
    else
        session->Save(report);
}

} // namespace

void AddGlobalEditCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "global-edit",
        "Scales the ratings of whole positions, as Global Edit in the editor does, and saves the "
        "players into the league's player file (after copying it to the .sw$ backup) or into "
        "OUT.");
    auto args = std::make_shared<GlobalEditArguments>();
    AddLeagueArgument(*command, args->league);
    command
        ->add_option("--positions", args->positions,
                     "Positions to edit, such as QB,S (required unless --recipe gives them)")
        ->delimiter(',')
        ->allow_extra_args(false);
    command->add_option("--team", args->team, "all, free (the free agents) or a team number")
        ->capture_default_str();
    // One CODE=PCT per use, so that LEAGUE may follow.
    command
        ->add_option("--act", args->actual,
                     "Actual rating change in percent, such as SP=10 (repeatable; a rating "
                     "left at 0 is not edited)")
        ->allow_extra_args(false);
    command
        ->add_option("--pot", args->potential,
                     "Potential rating change in percent, such as SP=-5 (repeatable)")
        ->allow_extra_args(false);
    command->add_option("--act-min", args->actualMin, "Lowest edited actual value")
        ->capture_default_str();
    command->add_option("--act-max", args->actualMax, "Highest edited actual value")
        ->capture_default_str();
    command->add_option("--pot-min", args->potentialMin, "Lowest edited potential value")
        ->capture_default_str();
    command->add_option("--pot-max", args->potentialMax, "Highest edited potential value")
        ->capture_default_str();
    command->add_option("--out", args->out,
                        "Player file to write instead of the league's own (replaced if it "
                        "exists)");
    command->add_option("--recipe", args->recipe,
                        "A Global Edit recipe saved by the editor; the other options given "
                        "override what it holds");
    CLI::Option* dryRun = command->add_flag(
        "--dry-run", args->dryRun,
        "Only tell how many players would change, how many values the bounds hold and the mean "
        "of each edited rating before and after; write nothing");
    command
        ->add_flag("--json", args->json,
                   "With --dry-run: print every figure of the preview as one JSON document")
        ->needs(dryRun);
    command->callback([args, command] { RunGlobalEdit(*args, *command); });
}

} // namespace tavrel::cli
