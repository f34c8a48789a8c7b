// Undo and redo of a Global Edit over every player of a full-size league (32,000 players, every
// position, every rating scaled, so nearly every rating cell changes), through the connection
// the window edits with; beside it, the run the window makes, which records the cells it changes
// as one step, the same run unrecorded, and a baseline for the recording.

#include "BenchLeague.h"
#include "globaledit/GlobalEditChanges.h"
#include "globaledit/GlobalEditRun.h"
#include "league/League.h"
#include "store/CellChanges.h"
#include "store/PlayerRowStore.h"
#include "store/WorkingTables.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

struct RecordedRun {
    QTemporaryDir dir;
    fs::path workingDb, pristine;
    std::vector<int> positions;
    GlobalEditInputs inputs;
    CellChanges changes;

    RecordedRun() {
        const fs::path folder = dir.path().toStdString();
        const DemoLeagueFiles files = WriteBenchLeague(folder);
        workingDb = folder / "Tavrel.tmp";
        pristine = folder / "pristine.tmp";
        LoadLeague(files.playerFile, files.leagueFile, pristine);
        Restore();
        positions.resize(kPositionCount);
        std::iota(positions.begin(), positions.end(), 0);
        inputs.actualPercent.fill(10);
        inputs.potentialPercent.fill(10);
        inputs.actualMax = inputs.potentialMax = 255;
        changes = ApplyGlobalEditAsStep(workingDb, positions, inputs).changes;
    }
    void Restore() const {
        fs::copy_file(pristine, workingDb, fs::copy_options::overwrite_existing);
    }
};

RecordedRun& Run() {
    static RecordedRun run;
    return run;
}

// One undo, then one redo outside the timing, so every iteration writes the same cells.
void BM_UndoGlobalEditOfAllPlayers(benchmark::State& state) {
    RecordedRun& run = Run();
    run.Restore();
    WriteCellChanges(run.workingDb, run.changes, CellSide::After);
    PlayerRowStore store(run.workingDb);
    for (auto _ : state) {
        store.WriteChanges(run.changes, CellSide::Before);
        state.PauseTiming();
        store.WriteChanges(run.changes, CellSide::After);
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(run.changes.size());
}

// The run as the window makes it, recording every changed cell as one step.
void BM_RecordGlobalEditOfAllPlayers(benchmark::State& state) {
    RecordedRun& run = Run();
    for (auto _ : state) {
        state.PauseTiming();
        run.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ApplyGlobalEditAsStep(run.workingDb, run.positions, run.inputs));
    }
}

// The same run unrecorded: what the recording adds is the difference to the one above.
void BM_UnrecordedGlobalEditOfAllPlayers(benchmark::State& state) {
    RecordedRun& run = Run();
    for (auto _ : state) {
        state.PauseTiming();
        run.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            ApplyGlobalEditPositions(run.workingDb, run.positions, run.inputs));
    }
}

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// The floor of the recorded run: bare SQLite on a connection set up as the run sets up its own,
// one pass over every player's 48 rating columns, each value plus one written back with one
// prepared UPDATE per row in one transaction, and a CellChange pushed for each of those cells.
// It leaves out the rating rule, the progress, the grouping by position and the check of each
// value, which the run does on top.
void BM_RecordGlobalEditBaseline(benchmark::State& state) {
    RecordedRun& run = Run();
    std::string columns, assignments;
    std::vector<int> indexes;
    for (int k = 0; k < kRatingCount; ++k) {
        columns += ", " + ActualColumn(k) + ", " + PotentialColumn(k);
        assignments += (k ? ", " : "") + ActualColumn(k) + " = ?, " + PotentialColumn(k) + " = ?";
        indexes.push_back(*PlayersColumnIndex(ActualColumn(k)));
        indexes.push_back(*PlayersColumnIndex(PotentialColumn(k)));
    }
    const std::string select = "SELECT rowid" + columns + " FROM Players ORDER BY rowid";
    const std::string update = "UPDATE Players SET " + assignments + " WHERE rowid = ?";
    for (auto _ : state) {
        state.PauseTiming();
        run.Restore();
        state.ResumeTiming();
        sqlite3* db = nullptr;
        Check(sqlite3_open_v2(run.workingDb.c_str(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
              db);
        Check(sqlite3_exec(db, kScratchEditSettings, nullptr, nullptr, nullptr), db);
        Check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* read = nullptr;
        Check(sqlite3_prepare_v2(db, select.c_str(), -1, &read, nullptr), db);
        std::vector<std::int64_t> values;
        while (sqlite3_step(read) == SQLITE_ROW)
            for (int c = 0; c <= 2 * kRatingCount; ++c)
                values.push_back(sqlite3_column_int64(read, c));
        sqlite3_finalize(read);
        sqlite3_stmt* write = nullptr;
        Check(sqlite3_prepare_v2(db, update.c_str(), -1, &write, nullptr), db);
        CellChanges changes;
        const std::size_t width = 2 * kRatingCount + 1;
        for (std::size_t row = 0; row < values.size(); row += width) {
            for (std::size_t c = 1; c < width; ++c) {
                sqlite3_bind_int64(write, int(c), values[row + c] + 1);
                changes.push_back(
                    {values[row], indexes[c - 1], values[row + c], values[row + c] + 1});
            }
            sqlite3_bind_int64(write, int(width), values[row]);
            Check(sqlite3_step(write), db);
            sqlite3_reset(write);
        }
        sqlite3_finalize(write);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
        benchmark::DoNotOptimize(changes);
    }
}

BENCHMARK(BM_UndoGlobalEditOfAllPlayers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordGlobalEditOfAllPlayers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnrecordedGlobalEditOfAllPlayers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecordGlobalEditBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
