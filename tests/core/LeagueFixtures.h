#pragma once

// Player and league files made byte by byte for the league tests.

#include "RecordingProgress.h"
#include "TestFiles.h"
#include "TestPlayers.h"
#include "league/League.h"
#include "store/PlayerRowStore.h"
#include "store/PlayerRows.h"

#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavrel::testing {

namespace fs = std::filesystem;

inline Bytes ReadBytes(const std::filesystem::path& file) {
    const std::string content = FileContent(file);
    return Bytes(content.begin(), content.end());
}

inline void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
    WriteFileContent(file, std::string(bytes.begin(), bytes.end()));
}

// Runs `take` in a child process that then waits to be killed, holding whatever `take` left
// open; gives the child's id once `take` succeeded there, -1 otherwise.
inline pid_t HoldInChild(const std::function<bool()>& take) {
    int told[2];
    if (pipe(told) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        const char taken = take() ? 'y' : 'n';
        if (write(told[1], &taken, 1) == 1)
            pause();
        _exit(0);
    }
    char taken = 0;
    const bool held = child > 0 && read(told[0], &taken, 1) == 1 && taken == 'y';
    close(told[0]);
    close(told[1]);
    return held ? child : -1;
}

// Row keys as (rowid, PID) pairs, to compare whole.
using KeyPairs = std::vector<std::pair<std::int64_t, std::optional<int>>>;
inline KeyPairs Pairs(const std::vector<RowKey>& keys) {
    KeyPairs pairs;
    for (const RowKey& key : keys)
        pairs.emplace_back(key.rowId, key.pid);
    return pairs;
}

// Every Players row of a working database, in rowid order unless told otherwise.
inline std::vector<PlayerRow> ReadPlayers(const fs::path& db, const std::string& order = "rowid") {
    SQLite::Database database(db.string());
    SQLite::Statement select(database,
                             "SELECT " + PlayersColumnList() + " FROM Players ORDER BY " + order);
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
        setenv("TAVREL_BACKUP_DIR", Path("backups").c_str(), 1); // dated backups stay in here
    }
    void TearDown() override { unsetenv("TAVREL_BACKUP_DIR"); }
    void Exec(const std::string& sql) const {
        SQLite::Database database(db_.string(), SQLite::OPEN_READWRITE);
        database.exec(sql);
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
