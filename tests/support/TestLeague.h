#pragma once

#include "store/PlayersTable.h"

#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tavrel::testing {

// A working database in a temporary folder of its own, with Players and Team defined as import
// defines them and rows added through prepared statements.
class TestLeague {
public:
    TestLeague();

    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    const std::filesystem::path& db() const { return db_; }

    void AddTeam(const Value& id, const Value& name);
    // Appends the row and returns its rowid.
    std::int64_t AddPlayer(const PlayerRow& row);
    // Appends a MakePlayer player with the given team, PID (identifier bytes included), names
    // (either may be null) and PositionTXT, which need not match his position byte.
    std::int64_t AddPlayer(int team, int pid, Value lastName, Value firstName,
                           const std::string& positionText);
    std::int64_t Number(std::int64_t rowid, const std::string& column) const;
    void Exec(const std::string& sql) const;

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
};

} // namespace tavrel::testing
