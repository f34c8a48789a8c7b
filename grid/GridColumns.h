#pragma once

#include "store/Vocabulary.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::grid {

// The columns of the player grid: who the player is, then each rating's actual and potential side
// by side, in the order the player form lays the ratings out (its three bands, left to right).
enum class GridColumnKind {
    Team,   // the team's name, from the player's team number
    Number, // a whole number
    Text,   // a name, shown without its padding
};

struct GridColumn {
    std::string header;  // "Last Name", "SP", "SP pot."
    std::string toolTip; // "Actual Speed"; empty for the identity columns
    int playersColumn;   // the kPlayersColumns index it shows
    GridColumnKind kind;
    bool editable; // the team, the names and the ratings
};

inline constexpr int kTeamColumn = 0;
inline constexpr int kPidColumn = 1;
inline constexpr int kLastNameColumn = 2;
inline constexpr int kFirstNameColumn = 3;
inline constexpr int kPositionColumn = 4;
inline constexpr int kYearsColumn = 5;
inline constexpr int kWeightColumn = 6;
inline constexpr int kCollegeColumn = 7;
inline constexpr int kIdentityColumnCount = 8;
inline constexpr int kFirstRatingColumn = kIdentityColumnCount;
inline constexpr int kGridColumnCount = kFirstRatingColumn + 2 * kRatingCount;

const std::vector<GridColumn>& GridColumns();
bool IsRatingColumn(int gridColumn);

// The grid columns of rating k (record order, as kRatings): its actual, and beside it its
// potential.
int ActualGridColumn(int ratingIndex);
int PotentialGridColumn(int ratingIndex);

// The columns that name a player (Team, PID, Last Name, First Name): they stay in view when the
// grid scrolls sideways, and stand before every other column.
bool IsNameColumn(int gridColumn);

// The name of the Players column a grid column shows ("Act_SP"): how stored settings name it.
std::string_view ColumnKey(int gridColumn);
// The grid column that stood at `position` when the grid showed the 24 actual ratings in record
// order and then the 24 potentials (how older settings keep their filters); nothing past them.
std::optional<int> GridColumnAtFormerPosition(int position);

// The grid column that shows a Players column; nothing for a column the grid leaves out.
std::optional<int> GridColumnOf(int playersColumn);
// A grid column by the name of the Players column it shows ("Act_SP", matched without regard to
// case, as the table's names are); nothing for a name the grid does not show.
std::optional<int> GridColumnNamed(std::string_view playersColumnName);

} // namespace tavrel::grid
