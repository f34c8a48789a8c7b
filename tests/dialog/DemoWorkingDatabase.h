#pragma once

#include "league/DemoLeague.h"
#include "store/Vocabulary.h"

#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

// A demo league, written into a temporary folder of its own and imported into a working
// database there.
class DemoWorkingDatabase {
public:
    explicit DemoWorkingDatabase(const tavrel::DemoLeagueOptions& options = {});
    const std::filesystem::path& db() const { return db_; }

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
};

// A few teams and players, for tests that need a league but not a big one.
inline constexpr tavrel::DemoLeagueOptions kSmallLeague{.teams = 3, .players = 120, .seed = 3};

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
