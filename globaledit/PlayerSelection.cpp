#include "globaledit/PlayerSelection.h"

#include "globaledit/GlobalEdit.h"

namespace tavrel {

std::string SelectionCondition(int team, std::size_t positionCount) {
    std::string positions;
    for (std::size_t i = 0; i < positionCount; ++i)
        positions += (i ? ", ?" : "?") + std::to_string(i + 2);
    return (team == kAllTeams ? " WHERE " : " WHERE Team = ?1 AND ") +
           std::string("Position IN (") + positions + ")";
}

void BindSelection(PlayerRowCursor& statement, int team, std::span<const int> positionCodes) {
    if (team != kAllTeams)
        statement.Bind(1, team);
    for (std::size_t i = 0; i < positionCodes.size(); ++i)
        statement.Bind(int(i) + 2, positionCodes[i]);
}

} // namespace tavrel
