#include "globaledit/PlayerSelection.h"

#include "globaledit/GlobalEdit.h"

namespace tavrel {

std::string SelectionCondition(int team) {
    return team == kAllTeams ? " WHERE Position = ?1" : " WHERE Team = ?2 AND Position = ?1";
}

void BindSelection(SQLite::Statement& statement, int team, int positionCode) {
    statement.bind(1, positionCode);
    if (team != kAllTeams)
        statement.bind(2, team);
}

} // namespace tavrel
