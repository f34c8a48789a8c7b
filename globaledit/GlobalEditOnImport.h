#pragma once

#include "globaledit/GlobalEdit.h"
#include "globaledit/RatingRule.h"
#include "store/PlayersTable.h"

#include <filesystem>
#include <span>
#include <vector>

namespace tavrel {

// Global Edit of player rows on their way from the player file into the working database
// (LoadLeague's row edit): a command that edits and saves a whole league writes each row once
// instead of importing it and rewriting it. The same players, rule, values and counts as the pass
// over the working database (RunGlobalEditPass); an edit that needs the rows as they are now
// (after other changes, or with undo) is run there.
class GlobalEditOnImport {
public:
    // Positions in any order; they are counted in the order the pass runs them. Throws
    // LeagueError naming `leagueFile` for an input the rule cannot use, as the pass would.
    GlobalEditOnImport(std::span<const int> positionCodes, const GlobalEditInputs& inputs,
                       const std::filesystem::path& leagueFile);

    // Applies the rule to `row` when it is one of the chosen players.
    void Edit(PlayerRow& row);
    // What each position's edit did, as the pass reports it.
    const std::vector<GlobalEditOutcome>& Outcomes() const { return outcomes_; }

private:
    GlobalEditInputs inputs_;
    std::vector<int> edited_;
    std::vector<int> columns_; // the Players column of Act_, Pot_ of each edited rating
    std::vector<GlobalEditOutcome> outcomes_;
    std::vector<RatingValues> ratings_; // scratch, one row's edited ratings
};

} // namespace tavrel
