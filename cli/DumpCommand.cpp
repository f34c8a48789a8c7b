#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/RowFormats.h"
#include "store/PlayerRows.h"
#include "store/PlayersTable.h"

#include <CLI/CLI.hpp>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

namespace tavrel::cli {
namespace {

struct DumpArguments {
    std::string league;
    std::string table = "players";
    std::string format = "jsonl";
};

struct TableShape {
    std::string name;
    std::vector<std::string_view> columns;
};

TableShape ShapeOf(const std::string& table) {
    TableShape shape;
    if (table == "teams") {
        shape.name = "Team";
        for (const TeamColumn& c : kTeamColumns)
            shape.columns.push_back(c.name);
    } else {
        shape.name = "Players";
        for (const PlayersColumn& c : kPlayersColumns)
            shape.columns.push_back(c.name);
    }
    return shape;
}

// Lines gathered into blocks of about this size before they go out: one write per block.
constexpr std::size_t kBlockBytes = 1 << 16;

} // namespace

void DumpTable(const std::filesystem::path& workingDb, const std::string& table, bool csv,
               std::ostream& out) {
    const TableShape shape = ShapeOf(table);
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < shape.columns.size(); ++i)
        sql += (i > 0 ? ", " : "") + std::string(shape.columns[i]);
    sql += " FROM " + shape.name + " ORDER BY rowid";

    std::string block;
    const auto flush = [&out, &block] {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        if (!out) // a full disk, or a reader that went away
            throw LeagueError("Writing the standard output", {}, std::strerror(errno));
        block.clear();
    };
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        PlayerRowCursor rows(db, sql);
        const JsonLineWriter json(shape.columns);
        if (csv)
            block += CsvHeader(shape.columns);
        std::vector<Value> row(shape.columns.size());
        while (rows.Next()) {
            for (std::size_t i = 0; i < row.size(); ++i)
                rows.ReadValue(static_cast<int>(i), row[i]);
            if (csv)
                block += CsvLine(row);
            else
                json.Append(block, row);
            if (block.size() >= kBlockBytes)
                flush();
        }
        flush();
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the working database", workingDb, e);
    }
}

void AddDumpCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "dump", "Writes the imported rows of one working table to standard output.");
    auto args = std::make_shared<DumpArguments>();
    AddLeagueArgument(*command, args->league);
    command
        ->add_option("--table", args->table,
                     "players: one row per player record; teams: one row per team record")
        ->check(CLI::IsMember({"players", "teams"}))
        ->capture_default_str();
    command
        ->add_option("--format", args->format,
                     "jsonl: one JSON object per row, text as stored; csv: a header row, then "
                     "the rows, trailing NULs removed")
        ->check(CLI::IsMember({"jsonl", "csv"}))
        ->capture_default_str();
    command->callback([args] {
        CliSession session(args->league, LeagueAccess::Read);
        DumpTable(session.WorkingDb(), args->table, args->format == "csv", std::cout);
    });
}

} // namespace tavrel::cli
