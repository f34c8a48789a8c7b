#pragma once

#include "base/Progress.h"
#include "store/Vocabulary.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// The team choice of a Global Edit: all teams, the free agents (0), or one TeamID.
inline constexpr int kAllTeams = 1001;
inline constexpr int kFreeAgents = 0;

// The Global Edit check boxes run QB, HB, FB, WR, TE / C, G, T, K, P / DE, DT, LB, CB, S; this is
// the position code of each check-box index (P is code 14, S code 13).
inline constexpr std::array<int, kPositionCount> kGlobalEditPositionCodes = {
    0, 1, 2, 6, 7, 3, 4, 5, 8, 14, 9, 10, 11, 12, 13};

// Everything a Global Edit run reads, taken once before it starts.
struct GlobalEditInputs {
    int team = kAllTeams;
    // Percentages by rating index k (record order, see kRatings). An actual percentage of 0
    // leaves that rating alone.
    std::array<double, kRatingCount> actualPercent{};
    std::array<double, kRatingCount> potentialPercent{};
    int actualMin = 0, actualMax = 99;
    int potentialMin = 0, potentialMax = 99;
};

// The ratings a run edits: the indexes k whose actual percentage is not 0, in record order.
std::vector<int> EditedRatings(const GlobalEditInputs& inputs);

// What one position's run did.
struct GlobalEditOutcome {
    int positionCode = 0;
    long long rowsSelected = 0;
    long long rowsChanged = 0;
};

// Applies the rating rule to every player of one position (in one team, the free agents, or all
// teams) in the working database, as one transaction. Progress "Updating " + abbreviation, 0,
// then steps of 100/n while below 100. A position without players does nothing. Throws
// LeagueError naming the working database on failure; the position's rows are then unchanged.
GlobalEditOutcome ApplyGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& inputs, Progress* progress = nullptr);

// The input texts as the dialog and the command line take them. A percentage is a finite number
// (blanks around it and a minus sign allowed); a bound is a number that rounds, a half to the
// even neighbour, to a whole number 0..255. Nothing for text that is neither.
std::optional<double> ParsePercentText(const std::string& text);
std::optional<int> ParseBoundText(const std::string& text);

inline constexpr const char* kInvalidNumberMessage = "Please Enter a Valid Number";

} // namespace tavrel
