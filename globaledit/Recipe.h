#pragma once

#include "globaledit/GlobalEdit.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel {

// Everything the Global Edit dialog holds, kept in a small JSON file to be run again: the ticked
// positions, the team choice, the 48 percentages and the four bounds.
struct GlobalEditRecipe {
    std::vector<int> positionCodes; // in check-box order
    GlobalEditInputs inputs;
    bool operator==(const GlobalEditRecipe&) const;
};

// The version this program writes; a recipe of a later version is refused.
inline constexpr int kRecipeVersion = 1;

// The recipe as JSON text, every field written.
std::string RecipeText(const GlobalEditRecipe& recipe);

// Reads a recipe. "version" is required; a field left out keeps the dialog's load value (no
// position, all teams, 0 %, bounds 0..99). Throws std::invalid_argument naming the first field
// that is unknown, of the wrong kind or out of range ("percent.SP.actual: ..."), or saying that
// the text is not JSON or the version is too new.
GlobalEditRecipe ParseRecipe(const std::string& text);

// The file forms: SaveRecipe writes through SaveFileAtomically, so a failed save leaves an
// existing file whole. Both throw LeagueError naming the file and the cause.
void SaveRecipe(const std::filesystem::path& file, const GlobalEditRecipe& recipe);
GlobalEditRecipe LoadRecipe(const std::filesystem::path& file);

} // namespace tavrel
