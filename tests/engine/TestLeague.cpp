#include "TestLeague.h"

#include "league/PlayerRecord.h"
#include "league/Windows1252.h"
#include "store/PlayerRows.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tavrel::testing {
namespace {

void PutText(std::array<std::uint8_t, kPlayerRecordSize>& record, int offset, int width,
             const std::string& utf8) {
    const std::string bytes = EncodeWindows1252(utf8);
    for (int i = 0; i < width; ++i)
        record[offset + i] = i < int(bytes.size()) ? std::uint8_t(bytes[i]) : 0;
}

} // namespace

TestLeague::TestLeague() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    db_ = folder() / "Tavrel.tmp";
    PrepareWorkingDatabase(db_);
    CreatePlayersTable(db_, "Players");
    CreateTeamTable(db_, "Team");
}

std::filesystem::path TestLeague::folder() const {
    return dir_.path().toStdString();
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
    std::string marks;
    for (int i = 0; i < kPlayersColumnCount; ++i)
        marks += i ? ", ?" : "?";
    SQLite::Statement insert(db, "INSERT INTO Players (" + PlayersColumnList() + ") VALUES (" +
                                     marks + ")");
    BindPlayerRow(insert, row);
    insert.exec();
    return db.getLastInsertRowid();
}

Value TestLeague::Get(std::int64_t rowid, const std::string& column) const {
    if (!PlayersColumnIndex(column))
        throw std::invalid_argument(column);
    SQLite::Database db(db_.string(), SQLite::OPEN_READONLY);
    SQLite::Statement select(db, "SELECT " + column + " FROM Players WHERE rowid = ?");
    select.bind(1, rowid);
    if (!select.executeStep())
        throw std::out_of_range("no row");
    return ReadValue(select, 0);
}

std::int64_t TestLeague::Number(std::int64_t rowid, const std::string& column) const {
    return std::get<std::int64_t>(Get(rowid, column));
}

void TestLeague::Exec(const std::string& sql) const {
    SQLite::Database db(db_.string(), SQLite::OPEN_READWRITE);
    db.exec(sql);
}

PlayerRow MakePlayer(const PlayerSpec& spec) {
    static int nextId = 1;
    const int id = nextId++;
    std::array<std::uint8_t, kPlayerRecordSize> record{};
    record[0] = std::uint8_t(id & 0xFF);
    record[1] = std::uint8_t((id >> 8) & 0x7F);
    record[4] = std::uint8_t(spec.team);
    PutText(record, 8, 15, spec.firstName);
    PutText(record, 23, 25, spec.lastName);
    PutText(record, 48, 31, spec.college);
    record[82] = std::uint8_t(spec.height);
    record[86] = std::uint8_t(spec.weight & 0xFF);
    record[87] = std::uint8_t(spec.weight >> 8);
    record[94] = std::uint8_t(spec.position);
    for (int k = 0; k < 24; ++k) {
        record[175 + 2 * k] = std::uint8_t(spec.actual);
        record[243 + 2 * k] = std::uint8_t(spec.potential);
    }
    record[175 + 48] = std::uint8_t(spec.age);
    record[175 + 50] = std::uint8_t(spec.years);
    PlayerRow row;
    DecodePlayerRecord(record, row);
    return row;
}

int Column(const std::string& name) {
    const auto index = PlayersColumnIndex(name);
    if (!index)
        throw std::invalid_argument(name);
    return *index;
}

std::string FileContent(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tavrel::testing
