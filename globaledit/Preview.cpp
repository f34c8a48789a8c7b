#include "globaledit/Preview.h"

#include "base/LeagueError.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/SelectedRows.h"

#include <SQLiteCpp/Database.h>

namespace tavrel {
namespace {

std::string Operation(int positionCode) {
    return "Previewing Global Edit of " + PositionText(positionCode) + " in";
}

// The rule of the run over one position's rows, in memory.
PositionPreview PreviewRows(const SelectedRows& rows, const std::vector<int>& edited,
                            const GlobalEditInputs& in) {
    PositionPreview preview;
    preview.positionCode = rows.positionCode;
    preview.playersSelected = static_cast<long long>(rows.rowIds.size());
    const std::size_t m = edited.size();
    const std::size_t n = rows.rowIds.size();
    // Values per rating, before and after: actual before, actual after, potential before, after.
    std::vector<std::vector<std::int64_t>> columns(4 * m, std::vector<std::int64_t>(n));
    std::vector<RuleTally> tallies(m);
    std::vector<RatingValues> ratings(m);
    for (std::size_t i = 0; i < n; ++i) {
        ratings.assign(rows.values.begin() + std::ptrdiff_t(i * m),
                       rows.values.begin() + std::ptrdiff_t((i + 1) * m));
        for (std::size_t j = 0; j < m; ++j) {
            columns[4 * j][i] = ratings[j].actual;
            columns[4 * j + 2][i] = ratings[j].potential;
        }
        preview.playersChanged += ApplyRatingRules(ratings, edited, in, tallies.data());
        for (std::size_t j = 0; j < m; ++j) {
            columns[4 * j + 1][i] = ratings[j].actual;
            columns[4 * j + 3][i] = ratings[j].potential;
        }
    }
    for (std::size_t j = 0; j < m; ++j) {
        preview.ratings.push_back({edited[j], Summarise(columns[4 * j]),
                                   Summarise(columns[4 * j + 1]), Summarise(columns[4 * j + 2]),
                                   Summarise(columns[4 * j + 3]), tallies[j]});
        preview.tally += tallies[j];
    }
    return preview;
}

// The previews of distinct positions from one read of the players through a read-only
// connection, so the working database is never written.
std::vector<PositionPreview> PreviewPositions(const std::filesystem::path& workingDb,
                                              std::span<const int> positionCodes,
                                              const GlobalEditInputs& in) {
    if (positionCodes.empty())
        return {};
    if (const std::string bad = FirstInvalidInput(in); !bad.empty())
        throw LeagueError(Operation(positionCodes.front()), workingDb,
                          std::string(kInvalidNumberMessage) + ": " + bad);
    const std::vector<int> edited = EditedRatings(in);
    std::vector<SelectedRows> selections;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        selections = ReadSelections(db, in.team, positionCodes, edited);
    } catch (const std::exception& e) {
        throw LeagueError(Operation(positionCodes.front()), workingDb, e.what());
    }
    std::vector<PositionPreview> previews;
    for (const SelectedRows& rows : selections) {
        if (!rows.unusable.empty())
            throw LeagueError(Operation(rows.positionCode), workingDb, rows.unusable);
        previews.push_back(PreviewRows(rows, edited, in));
    }
    return previews;
}

} // namespace

PositionPreview PreviewGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& inputs) {
    const int codes[] = {positionCode};
    return PreviewPositions(workingDb, codes, inputs).front();
}

std::vector<PositionPreview> PreviewGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs) {
    return PreviewPositions(workingDb, InCheckBoxOrder(positionCodes), inputs);
}

} // namespace tavrel
