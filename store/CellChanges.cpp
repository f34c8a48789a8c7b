#include "store/CellChanges.h"

#include "base/LeagueError.h"
#include "store/PlayerRows.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace tavrel {
namespace {

constexpr const char* kWriteOperation = "Writing the changed players to";
constexpr const char* kReadOperation = "Reading the players to change in";
constexpr int kBusyTimeoutMs = 5000;
constexpr int kCacheKiB = -65536; // negative: KiB, not pages

std::string RowGone(std::int64_t rowId) {
    return "row " + std::to_string(rowId) + " is gone";
}

void CheckColumn(int column, const SQLite::Database& db, const char* operation) {
    if (column < 0 || column >= kPlayersColumnCount)
        throw LeagueError(operation, db.getFilename(), "no column " + std::to_string(column));
}

// One prepared UPDATE per distinct list of columns, reused for every row that changes them.
class RowUpdates {
public:
    explicit RowUpdates(SQLite::Database& db) : db_(db) {}

    SQLite::Statement& For(const std::vector<int>& columns) {
        auto& statement = statements_[columns];
        if (!statement) {
            std::string sql = "UPDATE Players SET ";
            for (std::size_t i = 0; i < columns.size(); ++i)
                sql += (i ? ", " : "") + std::string(kPlayersColumns[columns[i]].name) + " = ?";
            statement = std::make_unique<SQLite::Statement>(db_, sql + " WHERE rowid = ?");
        }
        return *statement;
    }

private:
    SQLite::Database& db_;
    std::map<std::vector<int>, std::unique_ptr<SQLite::Statement>> statements_;
};

// Writes the cells of one row, given as list positions in the order they are to apply; SQLite
// keeps the rightmost of two assignments to one column, which is the one that applies last.
void WriteRow(RowUpdates& updates, const CellChanges& changes, const std::vector<std::size_t>& at,
              CellSide side, std::vector<int>& columns) {
    columns.clear();
    for (const std::size_t i : at)
        columns.push_back(changes[i].column);
    SQLite::Statement& update = updates.For(columns);
    int parameter = 1;
    for (const std::size_t i : at)
        BindValue(update, parameter++,
                  side == CellSide::After ? changes[i].after : changes[i].before);
    const std::int64_t rowId = changes[at.front()].rowId;
    update.bind(parameter, rowId);
    const int written = update.exec();
    update.reset();
    if (written != 1)
        throw std::out_of_range(RowGone(rowId));
}

} // namespace

void WriteCellChanges(SQLite::Database& db, const CellChanges& changes, CellSide side) {
    if (changes.empty())
        return;
    for (const CellChange& change : changes)
        CheckColumn(change.column, db, kWriteOperation);
    try {
        // Room for every page a change of the whole table dirties, so SQLite need not spill
        // pages (and sync its journal) before the commit.
        db.exec("PRAGMA cache_size = " + std::to_string(kCacheKiB));
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        RowUpdates updates(db);
        std::vector<std::size_t> run;
        std::vector<int> columns;
        // Runs of cells of one row, in the order they apply: forward for `after`, backward for
        // `before`, so undoing a list that touches a cell twice restores its first value.
        const std::size_t n = changes.size();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = side == CellSide::After ? k : n - 1 - k;
            if (!run.empty() && changes[run.front()].rowId != changes[i].rowId) {
                WriteRow(updates, changes, run, side, columns);
                run.clear();
            }
            run.push_back(i);
        }
        WriteRow(updates, changes, run, side, columns);
        transaction.commit();
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kWriteOperation, db.getFilename(), e.what());
    } catch (const std::out_of_range& e) {
        throw LeagueError(kWriteOperation, db.getFilename(), e.what());
    }
}

void WriteCellChanges(const std::filesystem::path& workingDb, const CellChanges& changes,
                      CellSide side) {
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READWRITE, kBusyTimeoutMs);
        WriteCellChanges(db, changes, side);
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kWriteOperation, workingDb, e.what());
    }
}

ColumnSnapshot TakeColumnSnapshot(SQLite::Database& db, std::vector<std::int64_t> rowIds,
                                  std::vector<int> columns) {
    ColumnSnapshot snapshot{std::move(rowIds), std::move(columns), {}};
    if (snapshot.rowIds.empty() || snapshot.columns.empty())
        return snapshot;
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < snapshot.columns.size(); ++i) {
        CheckColumn(snapshot.columns[i], db, kReadOperation);
        sql += (i ? ", " : "") + std::string(kPlayersColumns[snapshot.columns[i]].name);
    }
    sql += " FROM Players WHERE rowid = ?";
    try {
        SQLite::Statement select(db, sql);
        const int width = static_cast<int>(snapshot.columns.size());
        snapshot.values.reserve(snapshot.rowIds.size() * snapshot.columns.size());
        for (const std::int64_t rowId : snapshot.rowIds) {
            select.bind(1, rowId);
            if (!select.executeStep())
                throw LeagueError(kReadOperation, db.getFilename(), RowGone(rowId));
            for (int c = 0; c < width; ++c)
                snapshot.values.push_back(ReadValue(select, c));
            select.reset();
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kReadOperation, db.getFilename(), e.what());
    }
    return snapshot;
}

ColumnSnapshot TakeColumnSnapshot(const std::filesystem::path& workingDb,
                                  std::vector<std::int64_t> rowIds, std::vector<int> columns) {
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY, kBusyTimeoutMs);
        return TakeColumnSnapshot(db, std::move(rowIds), std::move(columns));
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kReadOperation, workingDb, e.what());
    }
}

CellChanges ChangedCells(const ColumnSnapshot& before, const ColumnSnapshot& after) {
    if (before.rowIds != after.rowIds || before.columns != after.columns ||
        before.values.size() != after.values.size() ||
        before.values.size() != before.rowIds.size() * before.columns.size())
        throw std::invalid_argument("the snapshots are not of the same cells");
    CellChanges changes;
    const std::size_t width = before.columns.size();
    for (std::size_t i = 0; i < before.values.size(); ++i)
        if (before.values[i] != after.values[i])
            changes.push_back({before.rowIds[i / width], before.columns[i % width],
                               before.values[i], after.values[i]});
    return changes;
}

} // namespace tavrel
