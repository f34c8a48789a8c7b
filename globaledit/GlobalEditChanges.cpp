#include "globaledit/GlobalEditChanges.h"

#include "globaledit/GlobalEditRun.h"
#include "globaledit/PlayerSelection.h"
#include "base/LeagueError.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace tavrel {
namespace {

constexpr int kBusyTimeoutMs = 5000;

std::vector<int> EditedColumns(const GlobalEditInputs& inputs) {
    std::vector<int> columns;
    for (const int k : EditedRatings(inputs)) {
        columns.push_back(*PlayersColumnIndex(ActualColumn(k)));
        columns.push_back(*PlayersColumnIndex(PotentialColumn(k)));
    }
    return columns;
}

} // namespace

ColumnSnapshot SnapshotGlobalEditCells(const std::filesystem::path& workingDb,
                                       std::span<const int> positionCodes,
                                       const GlobalEditInputs& inputs) {
    std::vector<int> columns = EditedColumns(inputs);
    std::vector<std::int64_t> rowIds;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY, kBusyTimeoutMs);
        if (!columns.empty()) {
            SQLite::Statement select(db, "SELECT rowid FROM Players" +
                                             SelectionCondition(inputs.team) + " ORDER BY rowid");
            for (const int code : InCheckBoxOrder(positionCodes)) {
                BindSelection(select, inputs.team, code);
                while (select.executeStep())
                    rowIds.push_back(select.getColumn(0).getInt64());
                select.reset();
            }
        }
        return TakeColumnSnapshot(db, std::move(rowIds), std::move(columns));
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the players of the " + GlobalEditStepText(positionCodes) + " in",
                          workingDb, e.what());
    }
}

ColumnSnapshot SnapshotAgain(const std::filesystem::path& workingDb, const ColumnSnapshot& before) {
    return TakeColumnSnapshot(workingDb, before.rowIds, before.columns);
}

std::string GlobalEditStepText(std::span<const int> positionCodes) {
    std::string text = "Global Edit of ";
    bool first = true;
    for (const int code : InCheckBoxOrder(positionCodes)) {
        text += (first ? "" : ", ") + PositionText(code);
        first = false;
    }
    return text;
}

std::string GlobalEditSummary(const std::vector<GlobalEditOutcome>& outcomes) {
    std::string text = "Global Edit changed ";
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const long long n = outcomes[i].rowsChanged;
        text += (i ? ", " : "") + PositionText(outcomes[i].positionCode) + ": " +
                std::to_string(n) + (n == 1 ? " player" : " players");
    }
    return text;
}

} // namespace tavrel
