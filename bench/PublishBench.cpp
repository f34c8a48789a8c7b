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
#include "publish/SitePages.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

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

// The floor of the site on this disk: the player pages' own bytes, made once beforehand, written
// into as many new files in a new folder, then the folder removed, as a publish replaces the site
// before. It leaves out the pages' making, the index and team pages, the manifest, the flush to
// disk and the swap; the target (three times the CSV export) is held against it in the closing
// note.
void BM_PlayerFilesFloor(benchmark::State& state) {
    Bench& b = League();
    const LeagueData league = ReadLeagueData(b.db, "Bench.lge");
    std::vector<std::string> pages(league.players.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        AppendPlayerPage(pages[i], league, league.players[i]);
    const fs::path folder = b.root / "floor";
    for (auto _ : state) {
        fs::create_directories(folder / "players");
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const fs::path file = folder / "players" / ("p-" + std::to_string(i) + ".html");
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 || write(fd, pages[i].data(), pages[i].size()) != ssize_t(pages[i].size()))
                state.SkipWithError("cannot write a page");
            close(fd);
        }
        fs::remove_all(folder);
    }
    state.counters["files"] = double(pages.size());
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
BENCHMARK(BM_PlayerFilesFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RosterSheetsPdf)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
