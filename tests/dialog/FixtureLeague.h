#pragma once

#include "store/Vocabulary.h"

#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A working database in a temporary folder of its own, with the tables import defines and
// rows added by the test.
class FixtureLeague {
public:
    FixtureLeague();

    const std::filesystem::path& db() const { return db_; }
    std::filesystem::path folder() const {
        return std::filesystem::path(dir_.path().toStdString());
    }

    void AddTeam(int teamId, const std::string& name);
    // Players, in one transaction; each one's ratings are spread from its seed, so rows differ
    // from one another.
    struct Player {
        int team;
        int position;
        int seed;
    };
    void AddPlayers(const std::vector<Player>& players);

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
    int nextPid_ = 1;
};

// The demo league, written into a temporary folder and imported into a working database there.
class DemoWorkingDatabase {
public:
    DemoWorkingDatabase();
    const std::filesystem::path& db() const { return db_; }

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
};

// One Players row as far as Global Edit touches it.
struct RatingRow {
    std::int64_t rowid = 0;
    int team = 0;
    int position = 0;
    std::array<std::int64_t, tavrel::kRatingCount> actual{};
    std::array<std::int64_t, tavrel::kRatingCount> potential{};
    bool operator==(const RatingRow&) const = default;
};

// Every Players row, in table order.
std::vector<RatingRow> ReadRatingRows(const std::filesystem::path& db);
