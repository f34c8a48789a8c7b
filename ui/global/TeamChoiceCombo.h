#pragma once

#include "store/TeamChoices.h"

#include <vector>

class QComboBox;

namespace tavrel {

// Fills a team list the way Global Edit has it: "All" (1001), the teams as given, "Free Agents"
// (0), each with its team choice as item data. Emits no signal; the current item is left to the
// caller.
void FillTeamChoiceCombo(QComboBox* combo, const std::vector<TeamChoice>& teams);

} // namespace tavrel
