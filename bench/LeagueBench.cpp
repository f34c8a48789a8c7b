// Import and export of a full-size league (32 teams, 32,767 players), each beside a baseline in
// the same program: a bare SQLite bulk insert (for import) and a bare SQLite read (for export) of
// the same 90-column rows, with one prepared statement in one transaction. What the league code
// adds on top of SQLite is the difference.

#include "BenchLeague.h"
#include "league/League.h"
#include "store/PlayerRows.h"
#include "store/WorkingTables.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr int kPlayers = kBenchPlayers;

// The demo league, written once for the whole program, and one import of it.
struct BenchLeague {
    QTemporaryDir dir;
    DemoLeagueFiles files;
    fs::path db;
    LoadedLeague loaded;

    BenchLeague() {
        const fs::path root = dir.path().toStdString();
        files = WriteBenchLeague(root);
        db = root / "Tavrel.tmp";
        loaded = LoadLeague(files.playerFile, files.leagueFile, db);
        if (loaded.image.RecordCount() != kBenchPlayers || loaded.teamCount != kBenchTeams)
            throw std::runtime_error("the benchmark league is not full size");
    }
    fs::path Path(const char* name) const { return fs::path(dir.path().toStdString()) / name; }
};

BenchLeague& League() {
    static BenchLeague league;
    return league;
}

// The rows the import makes, decoded ahead of time and kept compactly: per cell a number or a
// slice of one text pool.
struct DecodedRows {
    struct Cell {
        enum Kind : std::uint8_t { Null, Number, Text } kind;
        std::int64_t number;
        std::uint32_t offset, size;
    };
    std::vector<Cell> cells; // kPlayersColumnCount per row
    std::string text;

    explicit DecodedRows(const PlayerFileImage& image) {
        PlayerRow row;
        cells.reserve(image.RecordCount() * kPlayersColumnCount);
        for (std::size_t n = 0; n < image.RecordCount(); ++n) {
            DecodePlayerRecord(image.Record(n), row);
            for (const Value& v : row) {
                if (const auto* i = std::get_if<std::int64_t>(&v)) {
                    cells.push_back({Cell::Number, *i, 0, 0});
                } else if (const auto* s = std::get_if<std::string>(&v)) {
                    cells.push_back(
                        {Cell::Text, 0, std::uint32_t(text.size()), std::uint32_t(s->size())});
                    text += *s;
                } else {
                    cells.push_back({Cell::Null, 0, 0, 0});
                }
            }
        }
    }
};

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// The same fresh database as import makes: the two tables, and a connection opened and set up the
// way import opens its own (no locking, no journal, no flush to disk).
sqlite3* FreshDatabase(const fs::path& path) {
    fs::remove(path);
    PrepareWorkingDatabase(path);
    CreatePlayersTable(path, "Players");
    CreateTeamTable(path, "Team");
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
          db);
    Check(sqlite3_exec(db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr,
                       nullptr),
          db);
    return db;
}

void BM_Import(benchmark::State& state) {
    BenchLeague& league = League();
    for (auto _ : state) {
        LoadedLeague loaded = LoadLeague(league.files.playerFile, league.files.leagueFile,
                                         league.Path("Import.tmp"), nullptr);
        benchmark::DoNotOptimize(loaded);
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

// Progress with a listener that does nothing, to show what reporting costs.
struct SilentProgress : Progress {
    void Begin(const std::string&) override {}
    void SetValue(float value) override { benchmark::DoNotOptimize(value); }
    void End() override {}
};

void BM_ImportSilentListener(benchmark::State& state) {
    BenchLeague& league = League();
    SilentProgress progress;
    for (auto _ : state) {
        LoadedLeague loaded = LoadLeague(league.files.playerFile, league.files.leagueFile,
                                         league.Path("Import.tmp"), &progress);
        benchmark::DoNotOptimize(loaded);
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

void BM_ImportBaseline(benchmark::State& state) {
    BenchLeague& league = League();
    const DecodedRows rows(league.loaded.image);
    const std::string sql = "INSERT INTO Players (" + PlayersColumnList() + ") VALUES (" + [] {
        std::string marks = "?";
        for (int i = 1; i < kPlayersColumnCount; ++i)
            marks += ", ?";
        return marks;
    }() + ")";
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3* db = FreshDatabase(league.Path("Baseline.tmp"));
        state.ResumeTiming();

        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr), db);
        for (std::size_t first = 0; first < rows.cells.size(); first += kPlayersColumnCount) {
            for (int c = 0; c < kPlayersColumnCount; ++c) {
                const DecodedRows::Cell& cell = rows.cells[first + c];
                if (cell.kind == DecodedRows::Cell::Number)
                    sqlite3_bind_int64(insert, c + 1, cell.number);
                else if (cell.kind == DecodedRows::Cell::Text)
                    sqlite3_bind_text(insert, c + 1, rows.text.data() + cell.offset, int(cell.size),
                                      SQLITE_STATIC);
                else
                    sqlite3_bind_null(insert, c + 1);
            }
            Check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);

        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

void BM_Export(benchmark::State& state) {
    BenchLeague& league = League();
    for (auto _ : state)
        SaveLeague(league.Path("Export.ply"), league.loaded, league.db, nullptr);
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

void BM_ExportSilentListener(benchmark::State& state) {
    BenchLeague& league = League();
    SilentProgress progress;
    for (auto _ : state)
        SaveLeague(league.Path("Export.ply"), league.loaded, league.db, &progress);
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

void BM_ExportBaseline(benchmark::State& state) {
    BenchLeague& league = League();
    const std::string sql = "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid";
    for (auto _ : state) {
        sqlite3* db = nullptr;
        Check(sqlite3_open_v2(league.db.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                              nullptr),
              db);
        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* select = nullptr;
        Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr), db);
        std::int64_t sum = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < kPlayersColumnCount; ++c) {
                if (sqlite3_column_type(select, c) == SQLITE_TEXT) {
                    const unsigned char* text = sqlite3_column_text(select, c);
                    sum += sqlite3_column_bytes(select, c) + (text ? text[0] : 0);
                } else {
                    sum += sqlite3_column_int64(select, c);
                }
            }
        }
        sqlite3_finalize(select);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSilentListener)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSilentListener)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBaseline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
