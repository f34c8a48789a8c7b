#include "ui/grid/CellChangesStandIn.h"

#include "league/LeagueError.h"
#include "store/PlayerRows.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace tavrel {

ColumnSnapshot TakeColumnSnapshot(const std::filesystem::path& workingDb,
                                  std::vector<std::int64_t> rowIds, std::vector<int> columns) {
    ColumnSnapshot snapshot{std::move(rowIds), std::move(columns), {}};
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        std::string sql = "SELECT rowid";
        for (const int c : snapshot.columns)
            sql += ", " + std::string(kPlayersColumns.at(static_cast<std::size_t>(c)).name);
        SQLite::Statement query(db, sql + " FROM Players WHERE rowid = ?");
        for (const std::int64_t rowId : snapshot.rowIds) {
            query.bind(1, rowId);
            if (!query.executeStep())
                throw LeagueError("Reading the players to change in", workingDb,
                                  "row " + std::to_string(rowId) + " is gone");
            for (std::size_t i = 0; i < snapshot.columns.size(); ++i)
                snapshot.values.push_back(ReadValue(query, static_cast<int>(i) + 1));
            query.reset();
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the players to change in", workingDb, e.what());
    }
    return snapshot;
}

void WriteCellChangesAfter(const std::filesystem::path& workingDb, const CellChanges& changes) {
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READWRITE);
        db.setBusyTimeout(5000);
        SQLite::Transaction transaction(db);
        for (const CellChange& change : changes) {
            SQLite::Statement update(
                db,
                "UPDATE Players SET " +
                    std::string(kPlayersColumns.at(static_cast<std::size_t>(change.column)).name) +
                    " = ? WHERE rowid = ?");
            BindValue(update, 1, change.after);
            update.bind(2, change.rowId);
            if (update.exec() != 1)
                throw LeagueError("Writing the changed players to", workingDb,
                                  "row " + std::to_string(change.rowId) + " is gone");
        }
        transaction.commit();
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Writing the changed players to", workingDb, e.what());
    }
}

} // namespace tavrel
