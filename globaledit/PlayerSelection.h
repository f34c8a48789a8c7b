#pragma once

#include <SQLiteCpp/Statement.h>
#include <string>

namespace tavrel {

// The players a Global Edit run works on: one position in every team (kAllTeams), among the free
// agents (kFreeAgents) or in one team. The condition takes bound parameters, never values in the
// text: ?1 is the position code, ?2 the team.
std::string SelectionCondition(int team);
void BindSelection(SQLite::Statement& statement, int team, int positionCode);

} // namespace tavrel
