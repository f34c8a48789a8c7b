#pragma once

// Player and league files made byte by byte for the league tests.

#include "RecordingProgress.h"
#include "TestFiles.h"
#include "TestPlayers.h"
#include "league/League.h"
#include "league/PlayerRecord.h"
#include "store/PlayerRows.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavrel::testing {

inline Bytes ReadBytes(const std::filesystem::path& file) {
    const std::string content = FileContent(file);
    return Bytes(content.begin(), content.end());
}

inline void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
    WriteFileContent(file, std::string(bytes.begin(), bytes.end()));
}

inline void Append(Bytes& to, const Bytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

inline Bytes Header() {
    return {'H', 'D', 'R', 0, 1, 2, 0xFF, 0x80, 9, 10, 11, 12};
}

// A player file: the header, then the records.
inline Bytes PlayerFile(const std::vector<Bytes>& records) {
    Bytes file = Header();
    for (const Bytes& r : records)
        Append(file, r);
    return file;
}

// A team block as the league file holds it: the marker, one skipped byte, the 58-byte record.
inline Bytes TeamBlock(std::uint8_t id, const std::string& name, const std::string& coach) {
    Bytes block = {'T', 'M', 'S', ':', 0x7F};
    Bytes record(58, 0);
    Put(record, 0, "ABCDEFG");
    Put(record, 7, name.substr(0, 20));
    Put(record, 27, coach.substr(0, 30));
    record[57] = id;
    Append(block, record);
    return block;
}

// Every Players row of a working database in rowid order.
inline std::vector<PlayerRow> ReadPlayers(const std::filesystem::path& db) {
    SQLite::Database database(db.string());
    SQLite::Statement select(database,
                             "SELECT " + PlayersColumnList() + " FROM Players ORDER BY rowid");
    std::vector<PlayerRow> rows;
    while (select.executeStep())
        ReadPlayerRow(select, rows.emplace_back());
    return rows;
}

// A folder per test holding a league file of two teams, the player file beside it and the
// working database.
class LeagueFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        Bytes league = TeamBlock(1, "Bears", "Coach One");
        Append(league, TeamBlock(2, "Lions", "Coach Two"));
        WriteBytes(leagueFile_, league);
    }
    std::filesystem::path Path(const std::string& name) const {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }
    // Writes the player file and imports the league.
    LoadedLeague Load(const std::vector<Bytes>& records, Progress* progress = nullptr) {
        WriteBytes(playerFile_, PlayerFile(records));
        return LoadLeague(playerFile_, leagueFile_, db_, progress);
    }
    std::int64_t Count(const char* sql) const {
        SQLite::Database database(db_.string());
        return database.execAndGet(sql).getInt64();
    }

    QTemporaryDir dir_;
    std::filesystem::path leagueFile_ = Path("pro.lge");
    std::filesystem::path playerFile_ = Path("pro.ply");
    std::filesystem::path db_ = Path("Tavrel.tmp");
};

} // namespace tavrel::testing
