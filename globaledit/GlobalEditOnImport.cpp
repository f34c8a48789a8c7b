#include "globaledit/GlobalEditOnImport.h"

#include "base/LeagueError.h"
#include "globaledit/GlobalEditRun.h"

#include <variant>

namespace tavrel {
namespace {

const int kTeamColumn = *PlayersColumnIndex("Team");
const int kPositionColumn = *PlayersColumnIndex("Position");

std::optional<std::int64_t> WholeNumber(const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return *n;
    return std::nullopt;
}

} // namespace

GlobalEditOnImport::GlobalEditOnImport(std::span<const int> positionCodes,
                                       const GlobalEditInputs& inputs,
                                       const std::filesystem::path& leagueFile)
    : inputs_(inputs), edited_(EditedRatings(inputs)) {
    for (const int code : InCheckBoxOrder(positionCodes))
        outcomes_.push_back({code, 0, 0});
    if (const std::string bad = FirstInvalidInput(inputs_); !bad.empty() && !outcomes_.empty())
        throw LeagueError("Global Edit of " + PositionText(outcomes_.front().positionCode) + " in",
                          leagueFile, std::string(kInvalidNumberMessage) + ": " + bad);
    for (const int k : edited_) {
        columns_.push_back(*PlayersColumnIndex(ActualColumn(k)));
        columns_.push_back(*PlayersColumnIndex(PotentialColumn(k)));
    }
    ratings_.resize(edited_.size());
}

void GlobalEditOnImport::Edit(PlayerRow& row) {
    const std::optional<std::int64_t> position = WholeNumber(row[kPositionColumn]);
    if (!position)
        return;
    if (inputs_.team != kAllTeams && WholeNumber(row[kTeamColumn]) != inputs_.team)
        return;
    for (GlobalEditOutcome& outcome : outcomes_) {
        if (outcome.positionCode != *position)
            continue;
        ++outcome.rowsSelected;
        if (edited_.empty())
            return;
        // Ratings come from record bytes, so always whole numbers.
        for (std::size_t j = 0; j < edited_.size(); ++j)
            ratings_[j] = {std::get<std::int64_t>(row[columns_[2 * j]]),
                           std::get<std::int64_t>(row[columns_[2 * j + 1]])};
        if (!ApplyRatingRules(ratings_, edited_, inputs_))
            return;
        ++outcome.rowsChanged;
        for (std::size_t j = 0; j < edited_.size(); ++j) {
            row[columns_[2 * j]] = ratings_[j].actual;
            row[columns_[2 * j + 1]] = ratings_[j].potential;
        }
        return;
    }
}

} // namespace tavrel
