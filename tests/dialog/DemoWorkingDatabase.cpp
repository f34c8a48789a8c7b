#include "DemoWorkingDatabase.h"

#include "league/League.h"
#include "store/WorkingDatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

using namespace tavrel;

DemoWorkingDatabase::DemoWorkingDatabase(const DemoLeagueOptions& options) {
    const std::filesystem::path folder(dir_.path().toStdString());
    const DemoLeagueFiles files = WriteDemoLeague(folder, options);
    db_ = folder / kWorkingDatabaseName;
    LoadLeague(files.playerFile, files.leagueFile, db_);
}

std::vector<RatingRow> ReadRatingRows(const std::filesystem::path& dbPath) {
    std::string sql = "SELECT rowid, Team, Position";
    for (int k = 0; k < kRatingCount; ++k)
        sql += ", " + ActualColumn(k) + ", " + PotentialColumn(k);
    SQLite::Database db(dbPath.string(), SQLite::OPEN_READONLY);
    SQLite::Statement select(db, sql + " FROM Players ORDER BY rowid");
    std::vector<RatingRow> rows;
    while (select.executeStep()) {
        RatingRow row;
        row.rowid = select.getColumn(0).getInt64();
        row.team = select.getColumn(1).getInt();
        row.position = select.getColumn(2).getInt();
        for (int k = 0; k < kRatingCount; ++k) {
            row.actual[k] = select.getColumn(3 + 2 * k).getInt64();
            row.potential[k] = select.getColumn(4 + 2 * k).getInt64();
        }
        rows.push_back(row);
    }
    return rows;
}
