#include "globaledit/GlobalEditPass.h"

#include "base/LeagueError.h"
#include "globaledit/SelectedRows.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <optional>

namespace tavrel {
namespace {

std::string Operation(int positionCode) {
    return "Global Edit of " + PositionText(positionCode) + " in";
}

// What one position's part of the pass writes with, and what it records.
struct PassWriter {
    const std::vector<int>& edited;
    const GlobalEditInputs& in;
    Progress* progress;
    CellChanges* changes;
    std::vector<int> columns; // the kPlayersColumns index of Act_, Pot_ of each edited rating
    std::optional<SQLite::Statement> update;

    void Prepare(SQLite::Database& db) {
        for (const int k : edited) {
            columns.push_back(*PlayersColumnIndex(ActualColumn(k)));
            columns.push_back(*PlayersColumnIndex(PotentialColumn(k)));
        }
        if (!edited.empty())
            update.emplace(db, "UPDATE Players SET " + EditedColumns(edited, " = ?") +
                                   " WHERE rowid = ?");
    }

    void Record(std::int64_t rowId, std::span<const RatingValues> before,
                std::span<const RatingValues> after) {
        for (std::size_t j = 0; j < before.size(); ++j) {
            if (before[j].actual != after[j].actual)
                changes->push_back({rowId, columns[2 * j], before[j].actual, after[j].actual});
            if (before[j].potential != after[j].potential)
                changes->push_back(
                    {rowId, columns[2 * j + 1], before[j].potential, after[j].potential});
        }
    }

    void Write(std::int64_t rowId, std::span<const RatingValues> ratings) {
        int parameter = 1;
        for (const RatingValues& r : ratings) {
            update->bind(parameter++, r.actual);
            update->bind(parameter++, r.potential);
        }
        update->bind(parameter, rowId);
        update->exec();
        update->reset();
    }

    // The rule over the position's players, its changed rows written; progress "Updating " and
    // the abbreviation, 0, then steps of 100/n while below 100. No players, no progress.
    GlobalEditOutcome Edit(SelectedRows& rows) {
        const auto n = static_cast<long long>(rows.rowIds.size());
        GlobalEditOutcome outcome{rows.positionCode, n, 0};
        if (n == 0)
            return outcome;
        ProgressScope scope(progress, "Updating " + PositionText(rows.positionCode));
        scope.Set(0.0f);
        ProgressStepper stepper(progress, 0.0f, 100.0f, n);
        const std::size_t m = edited.size();
        std::vector<RatingValues> before(m);
        for (std::size_t i = 0; i < std::size_t(n); ++i) {
            const std::span<RatingValues> ratings(rows.values.data() + i * m, m);
            if (changes)
                before.assign(ratings.begin(), ratings.end());
            if (ApplyRatingRules(ratings, edited, in)) {
                Write(rows.rowIds[i], ratings);
                if (changes)
                    Record(rows.rowIds[i], before, ratings);
                ++outcome.rowsChanged;
            }
            stepper.Advance();
        }
        return outcome;
    }
};

} // namespace

std::vector<GlobalEditOutcome> RunGlobalEditPass(const std::filesystem::path& workingDb,
                                                 std::span<const int> positionCodes,
                                                 const GlobalEditInputs& inputs, Progress* progress,
                                                 CellChanges* changes) {
    if (positionCodes.empty())
        return {};
    // Taken once: the dialog stays live while the progress window repaints.
    const GlobalEditInputs in = inputs;
    if (const std::string bad = FirstInvalidInput(in); !bad.empty())
        throw LeagueError(Operation(positionCodes.front()), workingDb,
                          std::string(kInvalidNumberMessage) + ": " + bad);

    const std::vector<int> edited = EditedRatings(in);
    std::vector<GlobalEditOutcome> outcomes;
    int current = positionCodes.front();
    const std::size_t recorded = changes ? changes->size() : 0;
    // Whatever stops the pass, the transaction rolls back and nothing it recorded is kept.
    const auto fail = [&](auto&&... cause) {
        if (changes)
            changes->resize(recorded);
        return LeagueError(Operation(current), workingDb, cause...);
    };
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        db.exec(kScratchEditSettings);
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        std::vector<SelectedRows> selections = ReadSelections(db, in.team, positionCodes, edited);
        for (const SelectedRows& rows : selections)
            if (!rows.unusable.empty()) {
                current = rows.positionCode;
                throw fail(rows.unusable);
            }
        PassWriter writer{edited, in, progress, changes, {}, {}};
        writer.Prepare(db);
        for (SelectedRows& rows : selections) {
            current = rows.positionCode;
            outcomes.push_back(writer.Edit(rows));
        }
        writer.update.reset(); // finalised before the commit
        transaction.commit();
    } catch (const LeagueError&) {
        throw;
    } catch (const SQLite::Exception& e) {
        throw fail(e);
    } catch (const std::exception& e) {
        throw fail(std::string(e.what()));
    }
    return outcomes;
}

} // namespace tavrel
