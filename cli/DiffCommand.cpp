#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "exchange/LeagueDiff.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace tavrel::cli {
namespace {

using Json = nlohmann::ordered_json;

struct DiffArguments {
    std::string a, b;
    std::string format = "text";
};

Json JsonValue(const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return *n;
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    return nullptr;
}

Json Unmatched(const std::vector<UnmatchedPlayer>& players) {
    Json list = Json::array();
    for (const UnmatchedPlayer& p : players)
        list.push_back({{"record", p.record}, {"player", p.player}});
    return list;
}

void PrintJson(const LeagueDiff& diff, std::ostream& out) {
    Json changed = Json::array();
    for (const PlayerDifference& p : diff.changed) {
        Json fields = Json::array();
        for (const FieldDifference& f : p.fields)
            fields.push_back({{"column", DifferenceColumnName(f.column)},
                              {"a", JsonValue(f.a)},
                              {"b", JsonValue(f.b)}});
        changed.push_back({{"recordA", p.recordA},
                           {"recordB", p.recordB},
                           {"player", p.player},
                           {"fields", fields}});
    }
    const Json report = {{"equal", diff.Equal()},
                         {"matchedBy", diff.matchedByRecord ? "Record" : "PID"},
                         {"changed", changed},
                         {"onlyInA", Unmatched(diff.onlyInA)},
                         {"onlyInB", Unmatched(diff.onlyInB)},
                         {"headersDiffer", diff.headersDiffer},
                         {"trailingBytesDiffer", diff.trailingBytesDiffer}};
    out << report.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

void PrintText(const LeagueDiff& diff, std::ostream& out) {
    out << "Players matched by " << (diff.matchedByRecord ? "Record" : "PID") << ".\n";
    for (const PlayerDifference& p : diff.changed) {
        out << p.player;
        if (p.recordB != p.recordA)
            out << " (record " << p.recordB << " in B)";
        out << "\n";
        for (const FieldDifference& f : p.fields) {
            const auto [a, b] = ShownDifference(f);
            out << "  " << DifferenceColumnName(f.column) << ": " << a << " -> " << b << "\n";
        }
    }
    for (const UnmatchedPlayer& p : diff.onlyInA)
        out << "Only in A: " << p.player << "\n";
    for (const UnmatchedPlayer& p : diff.onlyInB)
        out << "Only in B: " << p.player << "\n";
    if (diff.headersDiffer)
        out << "The player file headers differ.\n";
    if (diff.trailingBytesDiffer)
        out << "The bytes after the last whole record differ.\n";
    out << (diff.Equal() ? "The players are the same.\n"
                         : std::to_string(diff.changed.size()) + " players differ, " +
                               std::to_string(diff.onlyInA.size()) + " only in A, " +
                               std::to_string(diff.onlyInB.size()) + " only in B.\n");
}

void RunDiff(const DiffArguments& args) {
    const PlayerList a = PlayerList::FromFile(ReadPlayerFile(PlayerFileOf(args.a)));
    const PlayerList b = PlayerList::FromFile(ReadPlayerFile(PlayerFileOf(args.b)));
    const LeagueDiff diff = DiffPlayers(a, b);
    if (args.format == "json")
        PrintJson(diff, std::cout);
    else
        PrintText(diff, std::cout);
    if (!diff.Equal()) {
        FlushStandardOutput();
        throw FindingsReported{};
    }
}

} // namespace

void AddDiffCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "diff", "Lists the players that differ between two leagues (league files or player "
                "files). Exit status 0: the same, 3: they differ, 1: failure.");
    auto args = std::make_shared<DiffArguments>();
    command->add_option("A", args->a, "League file (.lge) or player file")->required();
    command->add_option("B", args->b, "League file (.lge) or player file")->required();
    command->add_option("--format", args->format, "text, or json for scripts")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    command->callback([args] { RunDiff(*args); });
}

} // namespace tavrel::cli
