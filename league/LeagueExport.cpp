#include "base/LeagueError.h"
#include "league/League.h"
#include "league/SafeSave.h"
#include "store/PlayerRows.h"
#include "store/Text.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <array>
#include <functional>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

const char* const kSaving = "Saving the player file";

void Append(SafeSaveFile& to, std::span<const std::uint8_t> bytes) {
    to.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// "player 564 (John Smith)", for messages about a row that cannot be saved.
std::string DescribePlayer(const PlayerRow& row) {
    const auto text = [&row](std::string_view column) {
        return ValueText(row[*PlayersColumnIndex(column)]).value_or(std::string());
    };
    const std::string first = WithoutTrailingPadding(text("FirstName"));
    const std::string last = WithoutTrailingPadding(text("LastName"));
    std::string name = first + (first.empty() || last.empty() ? "" : " ") + last;
    return "player " + text("PID") + (name.empty() ? "" : " (" + name + ")");
}

// Every Players column in table order, but NULL for those export never reads: the derived Weight
// and PositionTXT, and the columns import never fills. PID is read for messages only.
std::string SelectRowsSql() {
    std::string sql = "SELECT rowid";
    for (const RecordField& c : kRecordFields) {
        const bool read = c.kind != FieldKind::Weight && c.kind != FieldKind::PositionText &&
                          c.kind != FieldKind::None;
        sql += ", ";
        sql += read ? c.column : "NULL";
    }
    return sql + " FROM Players ORDER BY rowid";
}

long long CountPlayers(SQLite::Database& db) {
    SQLite::Statement count(db, "SELECT COUNT(*) FROM Players");
    count.executeStep();
    return count.getColumn(0).getInt64();
}

// Builds the record of every row in table order and passes each to `sink` (none for a row whose
// identifier bytes are both 0). Each record starts as a copy of the record its row was imported
// from (row r came from record r - 1), so the bytes no column carries go back with their own
// record. A row that cannot be written throws, naming `playerFile`.
void BuildRecords(const fs::path& playerFile, const PlayerFileImage& image, SQLite::Database& db,
                  Progress* progress, const std::function<void(RecordBytes)>& sink) {
    // Counting costs a pass over the table; only a listener needs the step.
    ProgressStepper stepper(progress, 0, 100, progress ? CountPlayers(db) : 0);
    PlayerRowCursor rows(db, SelectRowsSql());
    PlayerRow row;
    std::array<std::uint8_t, kPlayerRecordSize> record;
    while (rows.Next()) {
        const std::int64_t rowid = rows.Integer(0);
        rows.Read(row, 1);
        if (const std::optional<RowProblem> problem = CheckPlayerRow(row))
            throw LeagueError(kSaving, playerFile,
                              DescribePlayer(row) + ": column " +
                                  std::string(kPlayersColumns[problem->column].name) + " " +
                                  problem->reason);
        if (rowid >= 1 && static_cast<std::uint64_t>(rowid) <= image.RecordCount()) {
            const RecordBytes original = image.Record(static_cast<std::size_t>(rowid - 1));
            std::copy(original.begin(), original.end(), record.begin());
        } else {
            record.fill(0); // a row that came from no record of this file
        }
        EncodePlayerRecord(row, record);
        if (!HasEmptyPlayerId(row))
            sink(record);
        stepper.Advance();
    }
}

void ForEachRecord(const fs::path& playerFile, const LoadedLeague& league,
                   const fs::path& workingDb, Progress* progress,
                   const std::function<void(RecordBytes)>& sink) {
    try {
        // Only this function on this thread uses the connection: no locking around every call.
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        BuildRecords(playerFile, league.image, db, progress, sink);
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the players from the working database", workingDb, e.what());
    }
}

} // namespace

PlayerFileImage SavedPlayerFile(const LoadedLeague& league, const fs::path& workingDb) {
    const std::span<const std::uint8_t> header = league.image.Header();
    const std::span<const std::uint8_t> trailing = league.image.TrailingBytes();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(header.size() + league.image.RecordCount() * kPlayerRecordSize + trailing.size());
    bytes.insert(bytes.end(), header.begin(), header.end());
    ForEachRecord(league.playerFile, league, workingDb, nullptr, [&](RecordBytes record) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    });
    bytes.insert(bytes.end(), trailing.begin(), trailing.end());
    return PlayerFileImage(std::move(bytes), league.playerFile);
}

std::size_t SaveLeague(const fs::path& playerFile, const LoadedLeague& league,
                       const fs::path& workingDb, Progress* progress,
                       const std::function<void()>& beforeReplace) {
    ProgressScope scope(progress, "Please Wait - Saving....");
    scope.Set(0);
    if (league.image.Header().size() < kPlayerFileHeaderSize)
        throw LeagueError(kSaving, playerFile, "no league has been loaded");
    // The records go straight into the new file, so the file is never held whole in memory.
    SafeSaveFile out(playerFile, kSaving);
    Append(out, league.image.Header());
    std::size_t written = 0;
    ForEachRecord(playerFile, league, workingDb, progress, [&](RecordBytes record) {
        Append(out, record);
        ++written;
    });
    Append(out, league.image.TrailingBytes());
    out.Commit(beforeReplace);
    return written;
}

} // namespace tavrel
