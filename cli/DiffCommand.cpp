#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "exchange/LeagueDiff.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

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

// A JSON value as the whole report's dump(2) writes it at `indent` spaces in.
std::string Indented(const Json& value, int indent) {
    std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
    const std::string margin(std::size_t(indent), ' ');
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        text.insert(at + 1, margin);
    return margin + text;
}

// Writes the members of one list of the report as they come: "[]" when it stays empty.
class JsonList {
public:
    JsonList(std::ostream& out, const char* name, std::size_t count, bool last = false)
        : out_(out), count_(count), last_(last) {
        out_ << "  \"" << name << "\": [" << (count_ == 0 ? "" : "\n");
    }
    ~JsonList() { out_ << (count_ == 0 ? "]" : "\n  ]") << (last_ ? "\n" : ",\n"); }
    JsonList(const JsonList&) = delete;
    JsonList& operator=(const JsonList&) = delete;
    void Add(const Json& member) { out_ << (written_++ ? ",\n" : "") << Indented(member, 4); }

private:
    std::ostream& out_;
    std::size_t count_;
    bool last_;
    std::size_t written_ = 0;
};

Json UnmatchedJson(const UnmatchedPlayer& p) {
    return {{"record", p.record}, {"player", p.player}};
}

// The report as one JSON object, each difference written as it is found: the counts come from a
// first comparison that keeps nothing, so "equal" can lead as it always has.
class JsonPrinter : public DiffVisitor {
public:
    JsonPrinter(std::ostream& out, const DiffSummary& counted)
        : out_(out), counts_{counted.changed, counted.onlyInA, counted.onlyInB} {
        out_ << "{\n  \"equal\": " << (counted.Equal() ? "true" : "false")
             << ",\n  \"matchedBy\": \"" << (counted.matchedByRecord ? "Record" : "PID") << "\",\n";
        MoveTo(0);
    }
    void Changed(const PlayerDifference& p) override {
        Json fields = Json::array();
        for (const FieldDifference& f : p.fields)
            fields.push_back({{"column", DifferenceColumnName(f.column)},
                              {"a", JsonValue(f.a)},
                              {"b", JsonValue(f.b)}});
        MoveTo(0).Add({{"recordA", p.recordA},
                       {"recordB", p.recordB},
                       {"player", p.player},
                       {"fields", fields}});
    }
    void OnlyInA(const UnmatchedPlayer& p) override { MoveTo(1).Add(UnmatchedJson(p)); }
    void OnlyInB(const UnmatchedPlayer& p) override { MoveTo(2).Add(UnmatchedJson(p)); }
    void Finish(const DiffSummary& summary) {
        MoveTo(2);
        list_.reset();
        out_ << "  \"headersDiffer\": " << (summary.headersDiffer ? "true" : "false")
             << ",\n  \"trailingBytesDiffer\": " << (summary.trailingBytesDiffer ? "true" : "false")
             << "\n}\n";
    }

private:
    // The list `to` (changed, onlyInA, onlyInB), the ones before it closed.
    JsonList& MoveTo(int to) {
        static constexpr const char* kNames[] = {"changed", "onlyInA", "onlyInB"};
        while (at_ < to || !list_) {
            if (list_)
                ++at_;
            list_.reset();
            list_.emplace(out_, kNames[at_], counts_[at_]);
        }
        return *list_;
    }

    std::ostream& out_;
    std::size_t counts_[3];
    int at_ = 0;
    std::optional<JsonList> list_;
};

// The report as text, each difference written as it is found.
class TextPrinter : public DiffVisitor {
public:
    TextPrinter(std::ostream& out, bool matchedByRecord) : out_(out) {
        out_ << "Players matched by " << (matchedByRecord ? "Record" : "PID") << ".\n";
    }
    void Changed(const PlayerDifference& p) override {
        out_ << p.player;
        if (p.recordB != p.recordA)
            out_ << " (record " << p.recordB << " in B)";
        out_ << "\n";
        for (const FieldDifference& f : p.fields) {
            const auto [a, b] = ShownDifference(f);
            out_ << "  " << DifferenceColumnName(f.column) << ": " << a << " -> " << b << "\n";
        }
    }
    void OnlyInA(const UnmatchedPlayer& p) override { out_ << "Only in A: " << p.player << "\n"; }
    void OnlyInB(const UnmatchedPlayer& p) override { out_ << "Only in B: " << p.player << "\n"; }
    void Finish(const DiffSummary& diff) {
        if (diff.headersDiffer)
            out_ << "The player file headers differ.\n";
        if (diff.trailingBytesDiffer)
            out_ << "The bytes after the last whole record differ.\n";
        out_ << (diff.Equal() ? "The players are the same.\n"
                              : std::to_string(diff.changed) + " players differ, " +
                                    std::to_string(diff.onlyInA) + " only in A, " +
                                    std::to_string(diff.onlyInB) + " only in B.\n");
    }

private:
    std::ostream& out_;
};

void RunDiff(const DiffArguments& args) {
    const PlayerList a = PlayerList::FromFile(ReadPlayerFile(PlayerFileOf(args.a)));
    const PlayerList b = PlayerList::FromFile(ReadPlayerFile(PlayerFileOf(args.b)));
    DiffSummary summary;
    if (args.format == "json") {
        DiffVisitor counter;
        const DiffSummary counted = DiffPlayers(a, b, counter);
        JsonPrinter printer(std::cout, counted);
        summary = DiffPlayers(a, b, printer);
        printer.Finish(summary);
    } else {
        TextPrinter printer(std::cout, MatchedByRecord(a, b));
        summary = DiffPlayers(a, b, printer);
        printer.Finish(summary);
    }
    if (!summary.Equal()) {
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
