#include "FixtureLeague.h"

#include "league/DemoLeague.h"
#include "league/League.h"
#include "store/PlayerRows.h"
#include "store/PlayersTable.h"
#include "store/WorkingDatabase.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

using namespace tavrel;

FixtureLeague::FixtureLeague() : db_(folder() / kWorkingDatabaseName) {
    PrepareWorkingDatabase(db_);
    CreatePlayersTable(db_, "Players");
    CreateTeamTable(db_, "Team");
}

void FixtureLeague::AddTeam(int teamId, const std::string& name) {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    SQLite::Statement insert(db, "INSERT INTO Team (TeamID, TeamName, Coach) VALUES (?, ?, ?)");
    insert.bind(1, teamId);
    insert.bind(2, name);
    insert.bind(3, "Coach " + name);
    insert.exec();
}

void FixtureLeague::AddPlayers(const std::vector<Player>& players) {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(db);
    std::string marks = "?";
    for (int c = 1; c < kPlayersColumnCount; ++c)
        marks += ", ?";
    SQLite::Statement insert(db, "INSERT INTO Players (" + PlayersColumnList() + ") VALUES (" +
                                     marks + ")");
    for (const Player& player : players) {
        PlayerRow row;
        for (int c = 0; c < kPlayersColumnCount; ++c)
            row[c] = kPlayersColumns[c].type == ColumnType::Text ? Value(std::string("X"))
                                                                 : Value(std::int64_t(1));
        auto set = [&row](const std::string& column, Value value) {
            row[*PlayersColumnIndex(column)] = std::move(value);
        };
        const int pid = nextPid_++;
        set("Team", std::int64_t(player.team));
        set("PID", std::int64_t(pid));
        set("Position", std::int64_t(player.position));
        set("PositionTXT", PositionText(player.position));
        set("LastName", "Player" + std::to_string(pid));
        for (int k = 0; k < kRatingCount; ++k) {
            const std::int64_t actual = 20 + (player.seed * 7 + k * 13) % 75;
            set(ActualColumn(k), actual);
            set(PotentialColumn(k), actual + (player.seed + k) % 9);
        }
        BindPlayerRow(insert, row);
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

DemoWorkingDatabase::DemoWorkingDatabase() {
    const std::filesystem::path folder(dir_.path().toStdString());
    const DemoLeagueFiles files = WriteDemoLeague(folder);
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
