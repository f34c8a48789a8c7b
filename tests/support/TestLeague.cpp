#include "TestLeague.h"

#include "TestPlayers.h"
#include "store/PlayerRows.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <stdexcept>

namespace tavrel::testing {

TestLeague::TestLeague() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    db_ = folder() / "Tavrel.tmp";
    PrepareWorkingDatabase(db_);
    CreatePlayersTable(db_, "Players");
    CreateTeamTable(db_, "Team");
}

void TestLeague::AddTeam(const Value& id, const Value& name) {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    SQLite::Statement insert(db, "INSERT INTO Team (TeamID, TeamName, Coach) VALUES (?, ?, ?)");
    BindValue(insert, 1, id);
    BindValue(insert, 2, name);
    BindValue(insert, 3, std::string("Coach"));
    insert.exec();
}

std::int64_t TestLeague::AddPlayer(const PlayerRow& row) {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    PlayerRowInserter(db).Insert(row);
    return db.getLastInsertRowid();
}

std::int64_t TestLeague::AddPlayer(int team, int pid, Value lastName, Value firstName,
                                   const std::string& positionText) {
    PlayerRow row = MakePlayer({});
    row[Col("Team")] = std::int64_t{team};
    row[Col("PID")] = std::int64_t{pid};
    row[Col("rPID_0")] = std::int64_t{pid & 0xFF};
    row[Col("rPID_1")] = std::int64_t{(pid >> 8) & 0xFF};
    row[Col("LastName")] = std::move(lastName);
    row[Col("FirstName")] = std::move(firstName);
    row[Col("PositionTXT")] = positionText;
    return AddPlayer(row);
}

std::int64_t TestLeague::Number(std::int64_t rowid, const std::string& column) const {
    if (!PlayersColumnIndex(column))
        throw std::invalid_argument(column); // only a Players column goes into the query text
    SQLite::Database db(db_.string(), SQLite::OPEN_READONLY);
    SQLite::Statement select(db, "SELECT " + column + " FROM Players WHERE rowid = ?");
    select.bind(1, rowid);
    if (!select.executeStep())
        throw std::out_of_range("no row");
    return std::get<std::int64_t>(ReadValue(select, 0));
}

void TestLeague::Exec(const std::string& sql) const {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    db.exec(sql);
}

} // namespace tavrel::testing
