#include "globaledit/Preview.h"

#include "globaledit/GlobalEditRun.h"
#include "globaledit/SelectedRows.h"
#include "base/LeagueError.h"

#include <SQLiteCpp/Database.h>

namespace tavrel {

PositionPreview PreviewGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& in) {
    const std::string operation = "Previewing Global Edit of " + PositionText(positionCode) + " in";
    if (const std::string bad = FirstInvalidInput(in); !bad.empty())
        throw LeagueError(operation, workingDb, std::string(kInvalidNumberMessage) + ": " + bad);

    const std::vector<int> edited = EditedRatings(in);
    SelectedRows rows;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        rows = ReadSelection(db, in.team, positionCode, edited);
    } catch (const std::exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }

    PositionPreview preview;
    preview.positionCode = positionCode;
    preview.playersSelected = static_cast<long long>(rows.rowIds.size());
    const std::size_t m = edited.size();
    const std::size_t n = rows.rowIds.size();
    // Values per rating, before and after: actual before, actual after, potential before, after.
    std::vector<std::vector<std::int64_t>> columns(4 * m, std::vector<std::int64_t>(n));
    std::vector<RuleTally> tallies(m);
    for (std::size_t i = 0; i < n; ++i) {
        bool changed = false;
        for (std::size_t j = 0; j < m; ++j) {
            RatingValues r = rows.values[i * m + j];
            const RatingValues before = r;
            ApplyRatingRule(r, edited[j], in, &tallies[j]);
            changed = changed || r != before;
            columns[4 * j][i] = before.actual;
            columns[4 * j + 1][i] = r.actual;
            columns[4 * j + 2][i] = before.potential;
            columns[4 * j + 3][i] = r.potential;
        }
        preview.playersChanged += changed;
    }
    for (std::size_t j = 0; j < m; ++j) {
        preview.ratings.push_back({edited[j], Summarise(columns[4 * j]),
                                   Summarise(columns[4 * j + 1]), Summarise(columns[4 * j + 2]),
                                   Summarise(columns[4 * j + 3]), tallies[j]});
        preview.tally += tallies[j];
    }
    return preview;
}

std::vector<PositionPreview> PreviewGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs) {
    std::vector<PositionPreview> previews;
    for (const int code : InCheckBoxOrder(positionCodes))
        previews.push_back(PreviewGlobalEdit(workingDb, code, inputs));
    return previews;
}

} // namespace tavrel
