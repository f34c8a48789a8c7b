// Publishing the full-size league (32 teams, 32,000 players) as a web site, beside what it is held
// against: `export --format csv` of the same league (at most three times as long). The site is
// published from the working database as the window does, and from the league's files as
// `tavrel-cli publish` does (import first); the roster sheets' PDF stands alone.

#include "BenchLeague.h"
#include "exchange/PlayerExport.h"
#include "exchange/PlayerList.h"
#include "league/League.h"
#include "publish/PdfWriter.h"
#include "publish/PublishSite.h"
#include "publish/RosterSheets.h"
#include "publish/SiteData.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

struct Bench {
    QTemporaryDir dir;
    DemoLeagueFiles files;
    fs::path root, db;

    Bench() {
        root = dir.path().toStdString();
        files = WriteBenchLeague(root);
        db = root / "Tavrel.tmp";
        LoadLeague(files.playerFile, files.leagueFile, db);
    }
};

Bench& League() {
    static Bench bench;
    return bench;
}

// What `export --format csv` does.
void BM_ExportCsv(benchmark::State& state) {
    Bench& b = League();
    for (auto _ : state)
        ExportPlayers(PlayerList::FromFile(ReadPlayerFile(b.files.playerFile)),
                      b.root / "export.csv", {});
}

// What File > Publish League Site... does: read the working database, write the site, replace
// the one published before.
void BM_PublishSiteFromWorkingDatabase(benchmark::State& state) {
    Bench& b = League();
    std::size_t pages = 0;
    for (auto _ : state)
        pages = PublishSite(ReadLeagueData(b.db, "Bench.lge"), b.root / "site");
    state.counters["pages"] = double(pages);
}

// What `tavrel-cli publish LEAGUE --out DIR` does: import, then publish.
void BM_PublishSiteFromLeague(benchmark::State& state) {
    Bench& b = League();
    const fs::path db = b.root / "cli.tmp";
    for (auto _ : state) {
        LoadLeague(b.files.playerFile, b.files.leagueFile, db);
        PublishSite(ReadLeagueData(db, "Bench.lge"), b.root / "cli-site");
    }
}

// The roster sheets of every team as a PDF, from the working database.
void BM_RosterSheetsPdf(benchmark::State& state) {
    Bench& b = League();
    std::size_t pages = 0;
    for (auto _ : state) {
        const LeagueData league = ReadLeagueData(b.db, "Bench.lge");
        const PageLayout layout = LayOutRosterSheets(league, AllRosters(league), kA4);
        WritePdf(layout, b.root / "rosters.pdf");
        pages = layout.pages.size();
    }
    state.counters["pages"] = double(pages);
}

BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PublishSiteFromWorkingDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PublishSiteFromLeague)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RosterSheetsPdf)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
