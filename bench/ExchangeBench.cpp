// Spreadsheet export and import, diff and check on a full-size league (32 teams, 32,000
// players), each beside what it is held against:
// - export CSV against what `dump --format csv` does (import into a working database, then every
//   row as CSV) and against plain C++ writing the same rows from the decoded records into a file
//   (the floor leaves out the formula guard, the quoting check and the safe save's flush);
// - XLSX export against CSV export (no other program writing workbooks is timed here);
// - import of the full-width sheet a round trip produces (every column, as export writes it, CSV
//   and XLSX) and of a sheet changing every player against what `save-as` does (import, then
//   save): an import is that plus reading and checking the sheet (and writing its changes into
//   the working database). The full-width CSV import is held to at most 1.5 times save-as;
// diff and check stand alone.

#include "BenchLeague.h"
#include "cli/RowFormats.h"
#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerExport.h"
#include "exchange/PlayerImport.h"
#include "fileformat/LeaguePaths.h"
#include "fileformat/PlayerRecord.h"
#include "league/League.h"
#include "store/PlayerRows.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <benchmark/benchmark.h>
#include <fstream>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

struct Bench {
    QTemporaryDir dir;
    DemoLeagueFiles files;
    fs::path root, db, changedPlayerFile;
    std::string everyPlayerSheet; // Record,Act_SP: every player's speed one higher (or lower)

    Bench() {
        root = dir.path().toStdString();
        files = WriteBenchLeague(root);
        db = root / "Tavrel.tmp";
        const PlayerFileImage image = ReadPlayerFile(files.playerFile);
        if (image.RecordCount() != kBenchPlayers)
            throw std::runtime_error("the benchmark league is not full size");
        everyPlayerSheet = "Record,Act_SP\r\n";
        for (std::size_t n = 0; n < image.RecordCount(); ++n) {
            const int speed = image.Record(n)[175];
            everyPlayerSheet +=
                std::to_string(n + 1) + "," + std::to_string(speed < 255 ? speed + 1 : 0) + "\r\n";
        }
        // The league after that import, for the diff.
        const LoadedLeague league = LoadLeague(files.playerFile, files.leagueFile, db);
        const ImportPlan plan = PlanImport(everyPlayerSheet, PlayerList::FromFile(league.image));
        WriteCellChanges(db, ToCellChanges(plan.changes), CellSide::After);
        changedPlayerFile = root / "changed.ply";
        SaveLeague(changedPlayerFile, league, db);
    }
};

Bench& League() {
    static Bench bench;
    return bench;
}

// What `dump --format csv` does: import, then every Players row as a CSV line.
void BM_DumpCsv(benchmark::State& state) {
    Bench& b = League();
    std::vector<std::string_view> columns;
    for (const PlayersColumn& c : kPlayersColumns)
        columns.push_back(c.name);
    for (auto _ : state) {
        LoadLeague(b.files.playerFile, b.files.leagueFile, b.db);
        SQLite::Database db(b.db.string(), SQLite::OPEN_READONLY);
        SQLite::Statement query(db,
                                "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid");
        std::ofstream out(b.root / "dump.csv", std::ios::binary);
        out << cli::CsvHeader(columns);
        std::vector<Value> row(columns.size());
        while (query.executeStep()) {
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] = ReadValue(query, int(i));
            out << cli::CsvLine(row);
        }
    }
}

// The floor of the CSV export: the same rows, plain C++, straight into a file.
void BM_ExportCsvFloor(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state) {
        const PlayerFileImage image = ReadPlayerFile(b.files.playerFile);
        std::ofstream out(b.root / "floor.csv", std::ios::binary);
        std::string line;
        PlayerRow row;
        for (std::size_t n = 0; n < image.RecordCount(); ++n) {
            DecodePlayerRecord(image.Record(n), row);
            line = std::to_string(n + 1);
            for (const Value& value : row) {
                line += ',';
                line += CellText(value);
            }
            line += "\r\n";
            out << line;
        }
    }
}

// What `export --format csv` does.
void BM_ExportCsv(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state)
        ExportPlayers(PlayerList::FromFile(ReadPlayerFile(b.files.playerFile)),
                      b.root / "export.csv", {});
}

void BM_ExportXlsx(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state)
        ExportPlayers(PlayerList::FromFile(ReadPlayerFile(b.files.playerFile)),
                      b.root / "export.xlsx", {ExportFormat::Xlsx, std::nullopt});
}

// What `save-as` does: the league into a working database, then every row back into a new player
// file. It leaves out all that an import adds: reading the sheet, checking each cell against its
// player, writing the changes.
void BM_SaveAs(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state) {
        const LoadedLeague league = LoadLeague(b.files.playerFile, b.files.leagueFile, b.db);
        SaveLeague(b.root / "copy.ply", league, b.db);
    }
}

// What `import --out` does with a sheet that changes every player.
void BM_ImportEveryPlayer(benchmark::State& state) {
    Bench& b = League();
    const fs::path sheet = b.root / "every.csv";
    std::ofstream(sheet, std::ios::binary) << b.everyPlayerSheet;
    for (auto _ : state) {
        const LoadedLeague league = LoadLeague(b.files.playerFile, b.files.leagueFile, b.db);
        const ImportPlan plan = PlanSheetImport(sheet, PlayerList::Of(league.image));
        if (plan.playersChanged != std::size_t(kBenchPlayers))
            state.SkipWithError("the sheet does not change every player");
        WriteCellChanges(b.db, ToCellChanges(plan.changes), CellSide::After);
        SaveLeague(b.root / "imported.ply", league, b.db);
    }
}

// What `import --out` does with the sheet that `export` wrote: every column of every player, no
// change (the sheet is written once, before the timing). Beside save-as, it shows what reading
// the sheet and checking its three million cells against their players costs.
void ImportFullWidth(benchmark::State& state, ExportFormat format, const char* name) {
    Bench& b = League();
    const fs::path sheet = b.root / name;
    ExportPlayers(PlayerList::FromFile(ReadPlayerFile(b.files.playerFile)), sheet,
                  {format, std::nullopt});
    for (auto _ : state) {
        const LoadedLeague league = LoadLeague(b.files.playerFile, b.files.leagueFile, b.db);
        const ImportPlan plan = PlanSheetImport(sheet, PlayerList::Of(league.image));
        if (plan.refusalCount != 0 || !plan.changes.empty())
            state.SkipWithError("the exported sheet does not read back unchanged");
        WriteCellChanges(b.db, ToCellChanges(plan.changes), CellSide::After);
        SaveLeague(b.root / "imported.ply", league, b.db);
    }
}

void BM_ImportFullWidthCsv(benchmark::State& state) {
    ImportFullWidth(state, ExportFormat::Csv, "full.csv");
}

void BM_ImportFullWidthXlsx(benchmark::State& state) {
    ImportFullWidth(state, ExportFormat::Xlsx, "full.xlsx");
}

// `diff` of the league and the league after that import.
void BM_DiffEveryPlayerChanged(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state) {
        const LeagueDiff diff =
            DiffPlayers(PlayerList::FromFile(ReadPlayerFile(b.files.playerFile)),
                        PlayerList::FromFile(ReadPlayerFile(b.changedPlayerFile)));
        if (diff.changed.size() != std::size_t(kBenchPlayers))
            state.SkipWithError("not every player differs");
    }
}

void BM_Check(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckLeagueFiles(b.files.leagueFile));
}

BENCHMARK(BM_DumpCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsvFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportEveryPlayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFullWidthCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFullWidthXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffEveryPlayerChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
