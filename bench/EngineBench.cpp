// Global Edit, its preview and roster printing on a full-size league (32 teams, 32,000 players),
// each beside a baseline in the same binary that does the same work with bare SQLite and plain
// C++: the same reads and writes, on a connection set up the same way, the same flushes to disk,
// with no logic of its own. Each baseline says what it leaves out.

#include "BenchLeague.h"
#include "fileformat/PlayerRecord.h"
#include "globaledit/GlobalEdit.h"
#include "globaledit/GlobalEditOnImport.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/Preview.h"
#include "league/League.h"
#include "reports/Rosters.h"
#include "safety/SafeSave.h"
#include "store/PlayerRows.h"
#include "store/Vocabulary.h"
#include "store/WorkingTables.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr int kTeams = kBenchTeams;
constexpr int kPlayers = kBenchPlayers;
constexpr int kEditedPosition = 0;

// A small deterministic generator, so every run measures the same league.
class Dice {
public:
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int Between(int low, int high) { return low + int(Next() % std::uint32_t(high - low + 1)); }

private:
    std::uint32_t state_ = 12345;
};

void PutName(std::array<std::uint8_t, kPlayerRecordSize>& record, int offset, int width,
             Dice& dice) {
    const int length = dice.Between(3, width - 2);
    for (int i = 0; i < width; ++i)
        record[offset + i] = i == 0            ? std::uint8_t('A' + dice.Between(0, 25))
                             : i < length      ? std::uint8_t('a' + dice.Between(0, 25))
                             : dice.Next() & 1 ? std::uint8_t(' ')
                                               : std::uint8_t(0);
}

// Every player plays `position` when it is given, otherwise positions vary.
void FillLeague(const fs::path& db, std::optional<int> position) {
    PrepareWorkingDatabase(db);
    CreatePlayersTable(db, "Players");
    CreateTeamTable(db, "Team");
    SQLite::Database connection(db.string(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(connection);
    SQLite::Statement team(connection, "INSERT INTO Team VALUES (?, ?, ?)");
    for (int t = 1; t <= kTeams; ++t) {
        team.bind(1, t);
        team.bind(2, "Team " + std::to_string(t));
        team.bind(3, "Coach " + std::to_string(t));
        team.exec();
        team.reset();
    }
    std::string marks = "?";
    for (int i = 1; i < kPlayersColumnCount; ++i)
        marks += ", ?";
    SQLite::Statement player(connection, "INSERT INTO Players VALUES (" + marks + ")");
    Dice dice;
    PlayerRow row;
    for (int i = 0; i < kPlayers; ++i) {
        std::array<std::uint8_t, kPlayerRecordSize> record{};
        for (auto& b : record)
            b = std::uint8_t(dice.Next());
        record[0] = std::uint8_t(i & 0xFF);
        record[1] = std::uint8_t(i >> 8);
        record[4] = std::uint8_t(i % (kTeams + 1));
        record[94] = std::uint8_t(position ? *position : dice.Between(0, kPositionCount - 1));
        PutName(record, 8, 15, dice);
        PutName(record, 23, 25, dice);
        PutName(record, 48, 31, dice);
        for (int k = 0; k < kRatingCount; ++k) {
            record[175 + 2 * k] = std::uint8_t(dice.Between(30, 90));
            record[243 + 2 * k] = std::uint8_t(dice.Between(40, 99));
        }
        DecodePlayerRecord(record, row);
        BindPlayerRow(player, row);
        player.exec();
        player.reset();
    }
    transaction.commit();
}

// A league built once per program, copied afresh before every timed pass so that each pass starts
// from the same ratings.
struct BenchLeague {
    explicit BenchLeague(std::optional<int> position) {
        pristine = fs::path(dir.path().toStdString()) / "pristine.tmp";
        working = fs::path(dir.path().toStdString()) / "Tavrel.tmp";
        output = fs::path(dir.path().toStdString()) / "rosters";
        fs::create_directory(output);
        if (position) {
            FillLeague(pristine, position);
        } else {
            files = WriteBenchLeague(fs::path(dir.path().toStdString()));
            LoadLeague(files.playerFile, files.leagueFile, pristine);
        }
        Restore();
    }
    void Restore() const { fs::copy_file(pristine, working, fs::copy_options::overwrite_existing); }

    QTemporaryDir dir;
    fs::path pristine, working, output;
    DemoLeagueFiles files; // the demo league's files, for the mixed league
};

const BenchLeague& OnePositionLeague() {
    static const BenchLeague league(kEditedPosition);
    return league;
}

// The demo league of 32 teams and 32,000 players, imported.
const BenchLeague& MixedLeague() {
    static const BenchLeague league(std::nullopt);
    return league;
}

GlobalEditInputs EveryRatingScaled() {
    GlobalEditInputs in;
    for (int k = 0; k < kRatingCount; ++k) {
        in.actualPercent[k] = 5 + k % 3;
        in.potentialPercent[k] = -2 - k % 4;
    }
    return in;
}

void BM_GlobalEdit(benchmark::State& state) {
    const BenchLeague& league = OnePositionLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    for (auto _ : state) {
        state.PauseTiming();
        league.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ApplyGlobalEdit(league.working, kEditedPosition, in));
    }
}

// What the Global Edit dialog's Preview does for one position of 32,767 players with every rating
// edited: read the rows, run the rule in memory, summarise 96 spreads. The target is 300 ms.
void BM_GlobalEditPreview(benchmark::State& state) {
    const BenchLeague& league = OnePositionLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    for (auto _ : state)
        benchmark::DoNotOptimize(PreviewGlobalEdit(league.working, kEditedPosition, in));
}

// Reads the same rows and writes the same 48 columns, one prepared UPDATE per row, in one
// transaction on a connection set up as Global Edit sets up its own. It leaves out the rating
// rule, the check of each value, the progress and the grouping by position; every row is written.
void EditEveryRatingBaseline(const BenchLeague& league, std::optional<int> position) {
    std::string columns, assignments;
    for (int k = 0; k < kRatingCount; ++k) {
        columns += ", " + ActualColumn(k) + ", " + PotentialColumn(k);
        assignments += (k ? ", " : "") + ActualColumn(k) + " = ?, " + PotentialColumn(k) + " = ?";
    }
    {
        SQLite::Database db(league.working.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        db.exec(kScratchEditSettings);
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        SQLite::Statement select(db, "SELECT rowid" + columns + " FROM Players" +
                                         (position ? " WHERE Position = ?" : "") +
                                         " ORDER BY rowid");
        if (position)
            select.bind(1, *position);
        std::vector<std::int64_t> values;
        while (select.executeStep())
            for (int c = 0; c <= 2 * kRatingCount; ++c)
                values.push_back(select.getColumn(c).getInt64());
        SQLite::Statement update(db, "UPDATE Players SET " + assignments + " WHERE rowid = ?");
        const std::size_t width = 2 * kRatingCount + 1;
        for (std::size_t row = 0; row < values.size(); row += width) {
            for (std::size_t c = 1; c < width; ++c)
                update.bind(int(c), values[row + c] + 1);
            update.bind(int(width), values[row]);
            update.exec();
            update.reset();
        }
        transaction.commit();
    }
}

void BM_GlobalEditBaseline(benchmark::State& state) {
    const BenchLeague& league = OnePositionLeague();
    for (auto _ : state) {
        state.PauseTiming();
        league.Restore();
        state.ResumeTiming();
        EditEveryRatingBaseline(league, kEditedPosition);
    }
}

std::vector<int> EveryPosition() {
    std::vector<int> codes(kPositionCount);
    std::iota(codes.begin(), codes.end(), 0);
    return codes;
}

// Global Edit of every position of the demo league, every rating scaled.
void BM_GlobalEditEveryPosition(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    for (auto _ : state) {
        state.PauseTiming();
        league.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ApplyGlobalEditPositions(league.working, EveryPosition(), in));
    }
}

// The same edit as fifteen runs of one position each, as the window ran it before: a connection,
// a transaction and a scan of the table per position.
void BM_GlobalEditOnePositionAtATime(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    for (auto _ : state) {
        state.PauseTiming();
        league.Restore();
        state.ResumeTiming();
        for (const int code : InCheckBoxOrder(EveryPosition()))
            benchmark::DoNotOptimize(ApplyGlobalEdit(league.working, code, in));
    }
}

// The same reads and writes over every player; see EditEveryRatingBaseline for what it leaves out.
void BM_GlobalEditEveryPositionBaseline(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    for (auto _ : state) {
        state.PauseTiming();
        league.Restore();
        state.ResumeTiming();
        EditEveryRatingBaseline(league, std::nullopt);
    }
}

// `tavrel-cli save-as`: import, then export into a new player file.
void BM_SaveAs(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const fs::path db = league.working.parent_path() / "SaveAs.tmp";
    const fs::path out = league.working.parent_path() / "SaveAs.ply";
    for (auto _ : state) {
        const LoadedLeague loaded =
            LoadLeague(league.files.playerFile, league.files.leagueFile, db);
        SaveLeague(out, loaded, db);
    }
}

// `tavrel-cli global-edit` of every position with --out: the save-as above with every player
// edited on the way into the working database, the measure the whole-league Global Edit is held
// to (at most 1.3 times save-as).
void BM_GlobalEditEveryPositionCommand(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    const fs::path db = league.working.parent_path() / "SaveAs.tmp";
    const fs::path out = league.working.parent_path() / "SaveAs.ply";
    for (auto _ : state) {
        GlobalEditOnImport edit(EveryPosition(), in, league.files.leagueFile);
        const LoadedLeague loaded =
            LoadLeague(league.files.playerFile, league.files.leagueFile, db, nullptr,
                       [&edit](PlayerRow& row) { edit.Edit(row); });
        SaveLeague(out, loaded, db);
    }
}

// The same edit as the window runs it: the save-as above with the pass over the working database
// between.
void BM_GlobalEditEveryPositionAfterImport(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const GlobalEditInputs in = EveryRatingScaled();
    const fs::path db = league.working.parent_path() / "SaveAs.tmp";
    const fs::path out = league.working.parent_path() / "SaveAs.ply";
    for (auto _ : state) {
        const LoadedLeague loaded =
            LoadLeague(league.files.playerFile, league.files.leagueFile, db);
        ApplyGlobalEditPositions(db, EveryPosition(), in);
        SaveLeague(out, loaded, db);
    }
}

// The import alone of the same league, the measure rosters are held to.
void BM_ImportAlone(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    const fs::path db = league.working.parent_path() / "Import.tmp";
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadLeague(league.files.playerFile, league.files.leagueFile, db));
}

void BM_Rosters(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    for (auto _ : state)
        PrintRosters(league.working, league.output);
}

// Writes each text into a new file beside its target, flushes them all to disk at once (a thread
// each, up to 64) as the rosters do, and renames each over its target; the caller flushes the
// folder.
void WriteFlushed(const std::map<fs::path, std::string>& texts) {
    std::vector<std::pair<int, fs::path>> written;
    for (const auto& [file, text] : texts) {
        const fs::path temp = file.parent_path() / ("." + file.filename().native() + ".new");
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, text.data(), text.size()) != ssize_t(text.size()))
            throw std::runtime_error("cannot write " + temp.string());
        written.emplace_back(fd, temp);
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < written.size();)
            if (fsync(written[i].first) != 0)
                throw std::runtime_error("cannot flush " + written[i].second.string());
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < std::min<std::size_t>(64, written.size()); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    auto target = texts.begin();
    for (const auto& [fd, temp] : written)
        if (close(fd) != 0 || rename(temp.c_str(), (target++)->first.c_str()) != 0)
            throw std::runtime_error("cannot rename " + temp.string());
}

void FlushFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || fsync(fd) != 0 || close(fd) != 0)
        throw std::runtime_error("cannot flush " + folder.string());
}

// The same one pass over the players, ordered by team, position and rowid, with every value laid
// out as plain text into its team's lines, then one file per team: each written beside its target,
// all flushed to disk, then each renamed over its target and the folder flushed once, the same
// flushes the rosters make. It leaves out the page heads, the print zones, the code page and the
// file names, the free agents' file, the check that no target is a link or a device, and the locks
// and clean-up of the new files.
void BM_RostersBaseline(benchmark::State& state) {
    const BenchLeague& league = MixedLeague();
    std::string columns = "PositionTXT, LastName, FirstName, Years, AGE, Height, Weight, College";
    for (const char* prefix : {", Act_", ", Pot_"})
        for (const RatingBand& band : kRatingBands)
            for (const std::string_view code : band)
                columns += prefix + std::string(code);
    const std::string sql =
        "SELECT " + columns + ", Team FROM Players ORDER BY Team, Position, rowid";
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(league.working.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr);
        sqlite3_stmt* players = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &players, nullptr);
        const int teamColumn = sqlite3_column_count(players) - 1;
        std::map<std::int64_t, std::string> lines;
        while (sqlite3_step(players) == SQLITE_ROW) {
            std::string& out = lines[sqlite3_column_int64(players, teamColumn)];
            for (int c = 0; c < teamColumn; ++c) {
                if (sqlite3_column_type(players, c) == SQLITE_INTEGER) {
                    char number[24];
                    out.append(
                        number,
                        std::to_chars(number, number + 24, sqlite3_column_int64(players, c)).ptr);
                } else {
                    const auto* text = static_cast<const char*>(sqlite3_column_blob(players, c));
                    out.append(text ? text : "", std::size_t(sqlite3_column_bytes(players, c)));
                }
                out += c == 7 || c == 31 || c == teamColumn - 1 ? "\r\n" : " ";
            }
        }
        sqlite3_finalize(players);
        sqlite3_close(db);
        std::map<fs::path, std::string> files;
        for (auto& [team, text] : lines)
            files[league.output / ("Baseline " + std::to_string(team) + ".txt")] = std::move(text);
        WriteFlushed(files);
        FlushFolder(league.output);
    }
}

BENCHMARK(BM_GlobalEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditPreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditEveryPosition)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditOnePositionAtATime)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditEveryPositionBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditEveryPositionCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GlobalEditEveryPositionAfterImport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportAlone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Rosters)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RostersBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
