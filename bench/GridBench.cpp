// The player grid on a league of 32,767 players: reading the grid's table, the grid first shown
// with its rows, a sort by each kind of column, a filter change, and the bytes the table holds.
// Runs on Qt's offscreen platform unless another is chosen.

#include "demo/DemoLeague.h"
#include "grid/GridFilter.h"
#include "grid/GridSort.h"
#include "grid/GridTable.h"
#include "league/League.h"
#include "ui/grid/PlayerGrid.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <numeric>

namespace {

namespace fs = std::filesystem;
using namespace tavrel::grid;

constexpr int kPlayers = 32767;
constexpr int kDemoGeneratorLimit = 32000;

// The working database of a 32,767-player league: the demo generator's 32,000 players, and the
// first of them again for the rest.
const fs::path& WorkingDb() {
    static QTemporaryDir dir;
    static const fs::path db = [] {
        const fs::path folder = dir.path().toStdString();
        tavrel::DemoLeagueOptions options;
        options.players = kDemoGeneratorLimit;
        const auto files = tavrel::WriteDemoLeague(folder / "league", options);
        const fs::path working = folder / "Tavrel.tmp";
        tavrel::LoadLeague(files.playerFile, files.leagueFile, working);
        SQLite::Database(working.string(), SQLite::OPEN_READWRITE)
            .exec("INSERT INTO Players SELECT * FROM Players ORDER BY rowid LIMIT " +
                  std::to_string(kPlayers - kDemoGeneratorLimit));
        return working;
    }();
    return db;
}

std::vector<int> AllRows(const GridTable& table) {
    std::vector<int> rows(static_cast<std::size_t>(table.RowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

void BM_LoadTable(benchmark::State& state) {
    for (auto _ : state) {
        GridTable table = GridTable::Load(WorkingDb());
        benchmark::DoNotOptimize(table.RowCount());
        state.counters["table_MiB"] = static_cast<double>(table.MemoryBytes()) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

// From the command to the grid on screen with its rows: read, filter, sort, lay out, paint.
void BM_GridFirstShown(benchmark::State& state) {
    // The dock is made with the window; the command shows it.
    PlayerGrid grid;
    grid.resize(1000, 600);
    int league = 0;
    for (auto _ : state) {
        grid.SetLeague(QStringLiteral("bench%1.lge").arg(++league), WorkingDb());
        grid.show();
        QApplication::processEvents();
        grid.View()->viewport()->repaint();
        benchmark::DoNotOptimize(grid.Model()->rowCount());
        state.PauseTiming();
        grid.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridFirstShown)->Unit(benchmark::kMillisecond);

// A header click: a number column, a name column (its language order worked out the first time
// and kept) and the team column, each with a fresh order as after an edit of that column.
void BM_SortByColumn(benchmark::State& state) {
    const GridTable table = GridTable::Load(WorkingDb());
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TextOrder order;
        std::vector<int> rows = AllRows(table);
        const SortKey key{column, true};
        SortRows(table, rows, {&key, 1}, order);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_SortByColumn)
    ->Arg(ActualGridColumn(0))
    ->Arg(kLastNameColumn)
    ->Arg(kTeamColumn)
    ->Arg(kCollegeColumn)
    ->Unit(benchmark::kMillisecond);

// A keystroke in a filter box, with the grid sorted by last name then speed: parse, filter every
// player, sort what is left.
void BM_FilterChange(benchmark::State& state) {
    const GridTable table = GridTable::Load(WorkingDb());
    TextOrder order;
    const SortKey keys[] = {{kLastNameColumn, false}, {ActualGridColumn(0), true}};
    const char* texts[] = {">50", "son", "QB|WR", "40-60"};
    const int columns[] = {ActualGridColumn(0), kLastNameColumn, kPositionColumn,
                           PotentialGridColumn(0)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto parsed = ParseColumnFilter(columns[i % 4], texts[i % 4]);
        std::vector<int> rows = FilterRows(table, {std::get<ColumnFilter>(parsed)});
        SortRows(table, rows, keys, order);
        benchmark::DoNotOptimize(rows.data());
        ++i;
    }
}
BENCHMARK(BM_FilterChange)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    WorkingDb(); // the league is made before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
