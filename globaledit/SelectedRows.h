#pragma once

#include "globaledit/RatingRule.h"

#include <SQLiteCpp/Database.h>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

// The players a run selects, read whole before anything is written, in table order: for row i
// and the j-th edited rating, values[i * edited.size() + j].
struct SelectedRows {
    std::vector<std::int64_t> rowIds;
    std::vector<RatingValues> values;
};

// Reads the edited ratings of one position's players (in one team, the free agents or all
// teams). A rating the rule needs must be a whole number: anything else throws, naming the column
// and the player's PID.
SelectedRows ReadSelection(SQLite::Database& db, int team, int positionCode,
                           const std::vector<int>& edited);

// "Act_SP<suffix>, Pot_SP<suffix>, Act_AG<suffix>, ..." for the edited ratings.
std::string EditedColumns(const std::vector<int>& edited, const char* suffix);

} // namespace tavrel
