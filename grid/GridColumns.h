#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavrel::grid {

// The columns of the player grid: who the player is, then the 24 actual and the 24 potential
// ratings in record order.
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
inline constexpr int kFirstActualColumn = 8;
inline constexpr int kFirstPotentialColumn = kFirstActualColumn + 24;
inline constexpr int kGridColumnCount = kFirstPotentialColumn + 24;

const std::vector<GridColumn>& GridColumns();
bool IsRatingColumn(int gridColumn);

// The grid column that shows a Players column; nothing for a column the grid leaves out.
std::optional<int> GridColumnOf(int playersColumn);

} // namespace tavrel::grid
