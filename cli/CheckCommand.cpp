#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "exchange/LeagueCheck.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace tavrel::cli {
namespace {

using Json = nlohmann::ordered_json;

struct CheckArguments {
    std::string league;
    std::string format = "text";
};

template <typename T> Json OrNull(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

void RunCheck(const CheckArguments& args) {
    const std::vector<LeagueProblem> problems = CheckLeagueFiles(args.league);
    if (args.format == "json") {
        Json list = Json::array();
        for (const LeagueProblem& p : problems)
            list.push_back({{"kind", p.kind},
                            {"message", p.message},
                            {"record", OrNull(p.record)},
                            {"pid", OrNull(p.pid)},
                            {"team", OrNull(p.team)}});
        std::cout << list.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    } else {
        for (const LeagueProblem& p : problems)
            std::cout << p.message << "\n";
        std::cout << (problems.empty() ? std::string("No problems found.")
                                       : WarningCount(problems.size()) + ".")
                  << "\n";
    }
    if (!problems.empty()) {
        FlushStandardOutput();
        throw FindingsReported{};
    }
}

} // namespace

void AddCheckCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "check", "Lists what is wrong or risky in a league, each with its player or team. Exit "
                 "status 0: clean, 3: warnings, 1: failure.");
    auto args = std::make_shared<CheckArguments>();
    command
        ->add_option("LEAGUE", args->league,
                     "League file (.lge) with its player file beside it, or a player file alone")
        ->required();
    command->add_option("--format", args->format, "text, or json for scripts")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    command->callback([args] { RunCheck(*args); });
}

} // namespace tavrel::cli
