#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/RowFormats.h"
#include "store/PlayerRows.h"
#include "store/PlayersTable.h"

#include <CLI/CLI.hpp>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
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

// Writes the rows of one working table in the order import added them.
void DumpTable(const std::filesystem::path& workingDb, const TableShape& shape, bool csv,
               std::ostream& out) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < shape.columns.size(); ++i)
        sql += (i > 0 ? ", " : "") + std::string(shape.columns[i]);
    sql += " FROM " + shape.name + " ORDER BY rowid";

    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        SQLite::Statement query(db, sql);
        if (csv)
            out << CsvHeader(shape.columns);
        std::vector<Value> row(shape.columns.size());
        while (query.executeStep()) {
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] = ReadValue(query, static_cast<int>(i));
            out << (csv ? CsvLine(row) : JsonLine(shape.columns, row));
            if (!out) // a full disk, or a reader that went away
                throw LeagueError("Writing the standard output", {}, std::strerror(errno));
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the working database", workingDb, e);
    }
}

} // namespace

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
        CliSession session;
        session.Import(args->league);
        DumpTable(session.WorkingDb(), ShapeOf(args->table), args->format == "csv", std::cout);
    });
}

} // namespace tavrel::cli
