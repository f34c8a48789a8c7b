#pragma once

#include "stats/Distribution.h"

#include <filesystem>
#include <optional>

namespace tavrel {

// Which players a rating chart counts: one team (0 is the free agents) or every player, and one
// position code or every position.
struct PlayerGroup {
    std::optional<int> team;
    std::optional<int> positionCode;
};

// The actual and the potential values of one rating over a group.
struct RatingSpread {
    Distribution actual;
    Distribution potential;
};

// Reads rating k (record order) of every player of the group from the working database. A value
// that is not a whole number (empty, or text put there by another tool) is left out of its
// distribution. Throws LeagueError naming the working database.
RatingSpread ReadRatingSpread(const std::filesystem::path& workingDb, const PlayerGroup& group,
                              int ratingIndex);

} // namespace tavrel
