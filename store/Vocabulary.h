#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// Position codes as the player record stores them (byte 94).
inline constexpr int kPositionCount = 15;

// The abbreviation of a position code ("QB" for 0, "S" for 13, "P" for 14); empty text for any
// other value. Never fails.
std::string PositionText(int positionCode);

// The position code of an abbreviation, matched exactly; nothing for an unknown one.
std::optional<int> PositionCode(std::string_view abbreviation);

// The 24 ratings in record order: rating k has its actual byte at record offset 175 + 2k and its
// potential byte at 243 + 2k, its potential column at table position 11 + k and its actual column
// at 35 + k.
inline constexpr int kRatingCount = 24;

struct Rating {
    std::string_view code;     // "SP"
    std::string_view longName; // "Speed"
};

extern const std::array<Rating, kRatingCount> kRatings;

// Index k of a rating code ("SP" gives 0), matched exactly; nothing for an unknown code.
std::optional<int> RatingIndex(std::string_view code);

std::string ActualColumn(int ratingIndex);    // "Act_SP"
std::string PotentialColumn(int ratingIndex); // "Pot_SP"

// What the window's reports, messages and undo steps call a Players column: a rating as the
// form's tool tips name it, without their misspellings ("Actual Speed", "Potential Agility"), the
// columns the form and the grid show by their captions ("First Name", "Position"), the position's
// abbreviation as "Position Text", and every other column by its own name ("Unknown3").
// The command line and the spreadsheets keep the column names.
std::string ColumnCaption(int playersColumn);

// The undo step of one cell typed into the form or the grid: "Change Actual Speed of John Smith".
std::string CellEditText(int playersColumn, std::string_view player);

// The order in which the editing windows and the roster files show the ratings: three bands of
// eight codes. It differs from the record order, and both are fixed.
using RatingBand = std::array<std::string_view, 8>;
extern const std::array<RatingBand, 3> kRatingBands;

// Tool tips of the rating boxes, with the texts the users know, misspellings included. The main
// window and the Global Edit dialog differ only in the Discipline boxes.
enum class TooltipSet { MainWindow, GlobalEdit };
std::string ActualTooltip(int ratingIndex, TooltipSet set);
std::string PotentialTooltip(int ratingIndex, TooltipSet set);

} // namespace tavrel
