// Import, export and dump of a full-size league (32 teams, 32,000 players), each beside a baseline
// in the same program that does the same work with bare SQLite and plain C++: import reads the
// player file, decodes each record and inserts the 90-column rows; export reads the rows, encodes
// each record and writes the file; dump reads the rows and writes a JSON object per row, as
// `sqlite3 -json` would. What the league code adds on top is the difference.

#include "BenchLeague.h"
#include "cli/RowFormats.h"
#include "fileformat/PlayerRecord.h"
#include "fileformat/Windows1252.h"
#include "league/League.h"
#include "store/PlayerRows.h"
#include "store/Vocabulary.h"
#include "store/WorkingTables.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <array>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
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

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// Every Players column of every row in table order, on a bare read-only connection opened into
// `db`; the caller finalises the statement and closes the connection.
sqlite3_stmt* SelectPlayers(const fs::path& file, sqlite3*& db) {
    Check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr),
          db);
    const std::string sql = "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid";
    sqlite3_stmt* select = nullptr;
    Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr), db);
    return select;
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

std::string ReadWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::int64_t Signed16(const unsigned char* r, int at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(r[at] | (r[at + 1] << 8)));
}

// Import's floor: the player file read whole, each record decoded by the field table and inserted
// with one prepared statement in one transaction, into the same fresh tables. It leaves out the
// league file's team scan, the checks of the player file, the row keys, the progress and
// building beside the old database.
void BM_ImportBaseline(benchmark::State& state) {
    BenchLeague& league = League();
    const std::string sql = "INSERT INTO Players (" + PlayersColumnList() + ") VALUES (" + [] {
        std::string marks = "?";
        for (int i = 1; i < kPlayersColumnCount; ++i)
            marks += ", ?";
        return marks;
    }() + ")";
    std::array<std::string, 256> positions;
    for (int code = 0; code < 256; ++code)
        positions[code] = PositionText(code);
    std::array<std::string, kPlayersColumnCount> texts;
    for (auto _ : state) {
        sqlite3* db = FreshDatabase(league.Path("Baseline.tmp"));
        const std::string bytes = ReadWholeFile(league.files.playerFile);
        const std::size_t records = (bytes.size() - kPlayerFileHeaderSize) / kPlayerRecordSize;
        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr), db);
        for (std::size_t n = 0; n < records; ++n) {
            const auto* r = reinterpret_cast<const unsigned char*>(bytes.data()) +
                            kPlayerFileHeaderSize + n * kPlayerRecordSize;
            for (int c = 0; c < kPlayersColumnCount; ++c) {
                const RecordField& f = kRecordFields[c];
                switch (f.kind) {
                case FieldKind::Byte:
                    sqlite3_bind_int64(insert, c + 1, r[f.offset]);
                    break;
                case FieldKind::Int16:
                    sqlite3_bind_int64(insert, c + 1, Signed16(r, f.offset));
                    break;
                case FieldKind::PlayerId:
                    sqlite3_bind_int64(insert, c + 1, Signed16(r, 0));
                    break;
                case FieldKind::Weight:
                    sqlite3_bind_int64(insert, c + 1, Signed16(r, 86));
                    break;
                case FieldKind::Text:
                    DecodeWindows1252(
                        std::string_view(reinterpret_cast<const char*>(r) + f.offset, f.bytes),
                        texts[c]);
                    sqlite3_bind_text(insert, c + 1, texts[c].data(), int(texts[c].size()),
                                      SQLITE_STATIC);
                    break;
                case FieldKind::PositionText:
                    sqlite3_bind_text(insert, c + 1, positions[r[94]].data(),
                                      int(positions[r[94]].size()), SQLITE_STATIC);
                    break;
                case FieldKind::None:
                    sqlite3_bind_null(insert, c + 1);
                    break;
                }
            }
            Check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
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

// Export's floor: every row read on a bare connection and encoded over its original record in
// memory, then the file written in one go. It leaves out the checks of each row (range, PID, text
// that the code page cannot hold), the progress, and the safe save: no new file beside the old,
// no flush to disk, no rename.
void BM_ExportBaseline(benchmark::State& state) {
    BenchLeague& league = League();
    const PlayerFileImage& image = league.loaded.image;
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_stmt* select = SelectPlayers(league.db, db);
        std::string bytes(reinterpret_cast<const char*>(image.Header().data()),
                          image.Header().size());
        std::size_t n = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            const std::size_t at = bytes.size();
            const RecordBytes original = image.Record(n++);
            bytes.append(reinterpret_cast<const char*>(original.data()), original.size());
            char* r = bytes.data() + at;
            for (int c = 0; c < kPlayersColumnCount; ++c) {
                const RecordField& f = kRecordFields[c];
                if (f.kind == FieldKind::Byte) {
                    r[f.offset] = char(sqlite3_column_int64(select, c));
                } else if (f.kind == FieldKind::Int16) {
                    const auto v = std::uint16_t(sqlite3_column_int64(select, c));
                    r[f.offset] = char(v & 0xFF);
                    r[f.offset + 1] = char(v >> 8);
                } else if (f.kind == FieldKind::Text) {
                    const auto* text = static_cast<const char*>(sqlite3_column_blob(select, c));
                    const std::string_view utf8(text, std::size_t(sqlite3_column_bytes(select, c)));
                    const std::span<char> field(r + f.offset, std::size_t(f.bytes));
                    const std::size_t written = EncodeWindows1252(utf8, field);
                    std::memset(field.data() + written, ' ', field.size() - written);
                }
            }
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        std::ofstream(league.Path("ExportBaseline.ply"), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), std::streamsize(bytes.size()));
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

// The dump command's work: import, then every Players row as a JSON line.
void BM_Dump(benchmark::State& state) {
    BenchLeague& league = League();
    std::ofstream nowhere("/dev/null", std::ios::binary);
    for (auto _ : state) {
        LoadLeague(league.files.playerFile, league.files.leagueFile, league.Path("Dump.tmp"));
        cli::DumpTable(league.Path("Dump.tmp"), "players", false, nowhere);
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

// What `sqlite3 -json` does with the same table: every row as a JSON object of the column names
// and values, text escaped, into the same place. Dump should cost at most import plus this. It
// leaves out the import itself and the escapes of text beyond quotes, backslashes and controls.
void BM_DumpBaseline(benchmark::State& state) {
    BenchLeague& league = League();
    std::ofstream nowhere("/dev/null", std::ios::binary);
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_stmt* select = SelectPlayers(league.db, db);
        std::string out;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < kPlayersColumnCount; ++c) {
                out += c == 0 ? "{\"" : ",\"";
                out += sqlite3_column_name(select, c);
                out += "\":";
                const int type = sqlite3_column_type(select, c);
                if (type == SQLITE_NULL) {
                    out += "null";
                } else if (type == SQLITE_INTEGER) {
                    char number[24];
                    out.append(
                        number,
                        std::to_chars(number, number + 24, sqlite3_column_int64(select, c)).ptr);
                } else {
                    const auto* text = static_cast<const char*>(sqlite3_column_blob(select, c));
                    const int size = sqlite3_column_bytes(select, c);
                    out += '"';
                    for (int i = 0; i < size; ++i) {
                        const auto ch = static_cast<unsigned char>(text[i]);
                        if (ch == '"' || ch == '\\') {
                            out += '\\';
                            out += char(ch);
                        } else if (ch < 0x20) {
                            char escape[8];
                            std::snprintf(escape, sizeof escape, "\\u%04x", ch);
                            out += escape;
                        } else {
                            out += char(ch);
                        }
                    }
                    out += '"';
                }
            }
            out += "}\n";
            if (out.size() >= (1 << 16)) {
                nowhere.write(out.data(), std::streamsize(out.size()));
                out.clear();
            }
        }
        nowhere.write(out.data(), std::streamsize(out.size()));
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

// The sqlite3 program itself, where it is installed, on the same table: the reference the
// baseline above stands in for.
void BM_DumpSqlite3Json(benchmark::State& state) {
    BenchLeague& league = League();
    const std::string command = "sqlite3 -json '" + league.db.string() + "' 'SELECT " +
                                PlayersColumnList() + " FROM Players ORDER BY rowid' >/dev/null";
    if (std::system("command -v sqlite3 >/dev/null") != 0) {
        state.SkipWithError("no sqlite3 program");
        return;
    }
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 failed");
    state.SetItemsProcessed(state.iterations() * kPlayers);
}

BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSilentListener)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSilentListener)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpSqlite3Json)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavrel

BENCHMARK_MAIN();
