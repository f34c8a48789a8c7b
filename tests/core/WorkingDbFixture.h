#pragma once

#include "store/PlayerRows.h"
#include "store/PlayersTable.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <filesystem>
#include <random>
#include <string>

namespace tavrel::testing {

// A working database in a folder of its own, filled row by row by the test.
class WorkingDbFixture {
public:
    WorkingDbFixture() {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("tavrel-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
        path_ = dir_ / "Tavrel.tmp";
        PrepareWorkingDatabase(path_);
        CreatePlayersTable(path_, "Players");
        CreateTeamTable(path_, "Team");
    }
    ~WorkingDbFixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    WorkingDbFixture(const WorkingDbFixture&) = delete;
    WorkingDbFixture& operator=(const WorkingDbFixture&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& dir() const { return dir_; }

    // A row every column of which export could write: numbers 0, texts of spaces.
    static PlayerRow PlainRow() {
        PlayerRow row;
        for (int i = 0; i < kPlayersColumnCount; ++i) {
            const PlayersColumn& c = kPlayersColumns[i];
            if (c.kind == FieldKind::None)
                row[i] = std::monostate{};
            else if (c.kind == FieldKind::Text)
                row[i] = std::string(c.bytes, ' ');
            else if (c.kind == FieldKind::PositionText)
                row[i] = std::string("QB");
            else
                row[i] = std::int64_t{0};
        }
        return row;
    }

    static void Set(PlayerRow& row, const char* column, Value value) {
        row[*PlayersColumnIndex(column)] = std::move(value);
    }

    void AddPlayer(int team, int pid, Value last, Value first, const std::string& position) {
        PlayerRow row = PlainRow();
        Set(row, "Team", std::int64_t{team});
        Set(row, "PID", std::int64_t{pid});
        Set(row, "rPID_0", std::int64_t{pid & 0xFF});
        Set(row, "rPID_1", std::int64_t{(pid >> 8) & 0xFF});
        Set(row, "LastName", std::move(last));
        Set(row, "FirstName", std::move(first));
        Set(row, "PositionTXT", position);
        AddRow(row);
    }

    void AddRow(const PlayerRow& row) {
        SQLite::Database db(path_.string(), SQLite::OPEN_READWRITE);
        std::string marks;
        for (int i = 0; i < kPlayersColumnCount; ++i)
            marks += i ? ", ?" : "?";
        SQLite::Statement insert(db, "INSERT INTO Players (" + PlayersColumnList() + ") VALUES (" +
                                         marks + ")");
        BindPlayerRow(insert, row);
        insert.exec();
    }

    void AddTeam(int id, Value name) {
        SQLite::Database db(path_.string(), SQLite::OPEN_READWRITE);
        SQLite::Statement insert(db, "INSERT INTO Team (TeamID, TeamName, Coach) VALUES (?, ?, ?)");
        insert.bind(1, id);
        BindValue(insert, 2, name);
        insert.bind(3, "Coach");
        insert.exec();
    }

private:
    std::filesystem::path dir_;
    std::filesystem::path path_;
};

} // namespace tavrel::testing
