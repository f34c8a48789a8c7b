#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "globaledit/GlobalEdit.h"
#include "globaledit/GlobalEditRun.h"
#include "league/LeagueLock.h"
#include "league/LeaguePaths.h"
#include "league/LeagueSave.h"
#include "league/PlayerFileBackup.h"

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

constexpr const char* kEditing = "Editing the league";

struct GlobalEditArguments {
    std::string league;
    std::vector<std::string> positions;
    std::string team = "all";
    std::vector<std::string> actual;    // CODE=PCT
    std::vector<std::string> potential; // CODE=PCT
    std::string actualMin = "0", actualMax = "99";
    std::string potentialMin = "0", potentialMax = "99";
    std::string out;
    bool dryRun = false;
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

GlobalEditRequest CheckArguments(const GlobalEditArguments& args) {
    GlobalEditRequest request;
    for (const std::string& position : args.positions) {
        const auto code = PositionCode(Upper(position));
        if (!code)
            throw CLI::ValidationError("--positions",
                                       "\"" + position + "\" is not a position such as QB or S");
        request.positionCodes.push_back(*code);
    }
    GlobalEditInputs& in = request.inputs;
    in.team = TeamChoice(args.team);
    TakePercentages(args.actual, "--act", in.actualPercent);
    TakePercentages(args.potential, "--pot", in.potentialPercent);
    in.actualMin = Bound(args.actualMin, "--act-min");
    in.actualMax = Bound(args.actualMax, "--act-max");
    in.potentialMin = Bound(args.potentialMin, "--pot-min");
    in.potentialMax = Bound(args.potentialMax, "--pot-max");
    return request;
}

std::string Fixed2(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Runs one position on the session's working database, telling what it did (or, on a dry run,
// what it would do: the working database is private, and nothing is saved afterwards).
void RunPosition(const std::filesystem::path& workingDb, int code, const GlobalEditInputs& in,
                 bool dryRun) {
    const auto before =
        dryRun ? EditedRatingMeans(workingDb, code, in) : std::vector<EditedRatingMean>();
    const GlobalEditOutcome outcome = ApplyGlobalEdit(workingDb, code, in);
    std::cout << PositionText(code) << ": " << outcome.rowsChanged << " of " << outcome.rowsSelected
              << " players " << (dryRun ? "would change" : "changed") << "\n";
    if (!dryRun)
        return;
    const auto after = EditedRatingMeans(workingDb, code, in);
    for (std::size_t j = 0; j < before.size() && j < after.size(); ++j) {
        const std::string code = std::string(kRatings[before[j].ratingIndex].code);
        std::cout << "  Act_" << code << " mean " << Fixed2(before[j].actual) << " -> "
                  << Fixed2(after[j].actual) << "\n";
        std::cout << "  Pot_" << code << " mean " << Fixed2(before[j].potential) << " -> "
                  << Fixed2(after[j].potential) << "\n";
    }
}

void RunGlobalEdit(const GlobalEditArguments& args) {
    const GlobalEditRequest request = CheckArguments(args);
    if (!args.out.empty() && IsOneOfTheLeagueFiles(args.out, args.league))
        throw LeagueError("Saving the edited players", args.out,
                          "this is one of the league's own files; leave out --out to save into "
                          "the league's player file");

    // Editing in place writes the league: no other writer may change it between our import and
    // our save, or one of the two edits would be lost.
    const bool inPlace = !args.dryRun && args.out.empty();
    LeagueLock lock(args.league, kCliProgramName);
    if (inPlace) {
        lock.Lock(kEditing);
        BackUpPlayerFile(args.league);
    }

    CliSession session;
    const LoadedLeague league = session.Import(args.league);
    for (const int code : InCheckBoxOrder(request.positionCodes))
        RunPosition(session.WorkingDb(), code, request.inputs, args.dryRun);
    if (args.dryRun)
        return;
    // The report is out before the file changes: when it cannot be written, nothing is saved,
    // and a failed run never leaves an edit behind for a retry to apply twice.
    FlushStandardOutput();
    if (!args.out.empty()) {
        SaveLeague(args.out, league, session.WorkingDb());
        return;
    }
    SaveLeagueInPlace(league, session.WorkingDb());
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
    command->add_option("--positions", args->positions, "Positions to edit, such as QB,S")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->required();
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
    command->add_flag("--dry-run", args->dryRun,
                      "Only tell how many players would change and the mean of each edited "
                      "rating before and after; write nothing");
    command->callback([args] { RunGlobalEdit(*args); });
}

} // namespace tavrel::cli
