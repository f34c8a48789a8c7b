// Undo and redo of a Global Edit over every player of a full-size league (32,767 players, every
// position, every rating scaled, so nearly every rating cell changes), through the connection
// the window edits with; beside it, the snapshots that record such a run.

#include "BenchLeague.h"
#include "globaledit/GlobalEditChanges.h"
#include "globaledit/GlobalEditRun.h"
#include "league/League.h"
#include "store/CellChanges.h"
#include "store/PlayerRowStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>
#include <vector>

namespace tavrel {
namespace {

struct RecordedRun {
    QTemporaryDir dir;
    std::filesystem::path workingDb;
    std::vector<int> positions;
    GlobalEditInputs inputs;
    ColumnSnapshot before;
    CellChanges changes;

    RecordedRun() {
        const std::filesystem::path folder = dir.path().toStdString();
        const DemoLeagueFiles files = WriteBenchLeague(folder);
        workingDb = folder / "Tavrel.tmp";
        LoadLeague(files.playerFile, files.leagueFile, workingDb);
        positions.resize(kPositionCount);
        std::iota(positions.begin(), positions.end(), 0);
        inputs.actualPercent.fill(10);
        inputs.potentialPercent.fill(10);
        inputs.actualMax = inputs.potentialMax = 255;
        before = SnapshotGlobalEditCells(workingDb, positions, inputs);
        for (const int position : positions)
            ApplyGlobalEdit(workingDb, position, inputs);
        changes = ChangedCells(before, SnapshotAgain(workingDb, before));
    }
};

RecordedRun& Run() {
    static RecordedRun run;
    return run;
}

// One undo, then one redo outside the timing, so every iteration writes the same cells.
void BM_UndoGlobalEditOfAllPlayers(benchmark::State& state) {
    RecordedRun& run = Run();
    PlayerRowStore store(run.workingDb);
    for (auto _ : state) {
        store.WriteChanges(run.changes, CellSide::Before);
        state.PauseTiming();
        store.WriteChanges(run.changes, CellSide::After);
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(run.changes.size());
    state.counters["players"] = static_cast<double>(run.before.rowIds.size());
}

// The two snapshots and the comparison that make a run one step.
void BM_RecordGlobalEditOfAllPlayers(benchmark::State& state) {
    RecordedRun& run = Run();
    for (auto _ : state) {
        const ColumnSnapshot before =
            SnapshotGlobalEditCells(run.workingDb, run.positions, run.inputs);
        benchmark::DoNotOptimize(ChangedCells(before, SnapshotAgain(run.workingDb, before)));
    }
}

BENCHMARK(BM_UndoGlobalEditOfAllPlayers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordGlobalEditOfAllPlayers)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
