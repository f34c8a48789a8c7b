#pragma once

#include "store/PlayerRows.h"

#include <span>
#include <string>

namespace tavrel {

// The players a Global Edit run works on: some positions in every team (kAllTeams), among the
// free agents (kFreeAgents) or in one team. The condition takes bound parameters, never values in
// the text: ?1 is the team, ?2 and on the position codes.
std::string SelectionCondition(int team, std::size_t positionCount);
void BindSelection(PlayerRowCursor& statement, int team, std::span<const int> positionCodes);

} // namespace tavrel
