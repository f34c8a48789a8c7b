#pragma once

#include "globaledit/RatingRule.h"

#include <SQLiteCpp/Database.h>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrel {

// The players of one position a run selects, read whole before anything is written, in table
// order: for row i and the j-th edited rating, values[i * edited.size() + j]. A rating the rule
// needs must be a whole number; `unusable` names the first one that is not, with its player
// ("Pot_SP of the player with PID 7 is empty"), and is empty when all are usable.
struct SelectedRows {
    int positionCode = 0;
    std::vector<std::int64_t> rowIds;
    std::vector<RatingValues> values;
    std::string unusable;
};

// Reads the edited ratings of the players of the given positions (distinct codes; in one team,
// the free agents or all teams) in one pass over the table: one SelectedRows per position, in the
// order given.
std::vector<SelectedRows> ReadSelections(SQLite::Database& db, int team,
                                         std::span<const int> positionCodes,
                                         const std::vector<int>& edited);

// "Act_SP<suffix>, Pot_SP<suffix>, Act_AG<suffix>, ..." for the edited ratings.
std::string EditedColumns(const std::vector<int>& edited, const char* suffix);

} // namespace tavrel
