#include "globaledit/GlobalEdit.h"

#include "globaledit/RatingRule.h"
#include "globaledit/SelectedRows.h"
#include "store/WorkingTables.h"
#include "base/LeagueError.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tavrel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The ordinary C-locale conversion of a number: blanks around it, a sign, fractions and an
// exponent are accepted; anything after the number, or a number that is not finite, is not.
std::optional<double> ParseNumber(const std::string& text) {
    std::string_view t(text);
    while (!t.empty() && IsBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back()))
        t.remove_suffix(1);
    if (t.size() > 1 && t.front() == '+' && t[1] != '-' && t[1] != '+')
        t.remove_prefix(1);
    if (t.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::vector<int> EditedRatings(const GlobalEditInputs& in) {
    std::vector<int> edited;
    for (int k = 0; k < kRatingCount; ++k)
        if (in.actualPercent[k] != 0.0)
            edited.push_back(k);
    return edited;
}

std::optional<double> ParsePercentText(const std::string& text) {
    return ParseNumber(text);
}

std::optional<int> ParseBoundText(const std::string& text) {
    const auto number = ParseNumber(text);
    if (!number)
        return std::nullopt;
    if (*number < -1.0 || *number > 256.0)
        return std::nullopt;
    const std::int64_t whole = RoundHalfEven(*number);
    if (whole < 0 || whole > 255)
        return std::nullopt;
    return static_cast<int>(whole);
}

GlobalEditOutcome ApplyGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& inputs, Progress* progress) {
    // Taken once: the dialog stays live while the progress window repaints.
    const GlobalEditInputs in = inputs;
    const std::string abbreviation = PositionText(positionCode);
    const std::string operation = "Global Edit of " + abbreviation + " in";
    if (const std::string bad = FirstInvalidInput(in); !bad.empty())
        throw LeagueError(operation, workingDb, std::string(kInvalidNumberMessage) + ": " + bad);

    const std::vector<int> edited = EditedRatings(in);

    GlobalEditOutcome outcome;
    outcome.positionCode = positionCode;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READWRITE);
        db.exec(kScratchEditSettings);
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        SelectedRows rows = ReadSelection(db, in.team, positionCode, edited);
        const auto n = static_cast<long long>(rows.rowIds.size());
        outcome.rowsSelected = n;
        if (n == 0)
            return outcome;

        std::optional<SQLite::Statement> update;
        if (!edited.empty())
            update.emplace(db, "UPDATE Players SET " + EditedColumns(edited, " = ?") +
                                   " WHERE rowid = ?");

        ProgressScope scope(progress, "Updating " + abbreviation);
        scope.Set(0.0f);
        ProgressStepper stepper(progress, 0.0f, 100.0f, n);
        const std::size_t m = edited.size();
        for (long long i = 0; i < n; ++i) {
            bool changed = false;
            for (std::size_t j = 0; j < m; ++j) {
                RatingValues& r = rows.values[std::size_t(i) * m + j];
                const RatingValues before = r;
                ApplyRatingRule(r, edited[j], in);
                changed = changed || r != before;
            }
            if (changed) {
                int parameter = 1;
                for (std::size_t j = 0; j < m; ++j) {
                    const RatingValues& r = rows.values[std::size_t(i) * m + j];
                    update->bind(parameter++, r.actual);
                    update->bind(parameter++, r.potential);
                }
                update->bind(parameter, rows.rowIds[std::size_t(i)]);
                update->exec();
                update->reset();
                ++outcome.rowsChanged;
            }
            stepper.Advance();
        }
        transaction.commit();
    } catch (const LeagueError&) {
        throw;
    } catch (const SQLite::Exception& e) {
        throw LeagueError(operation, workingDb, e);
    } catch (const std::exception& e) {
        throw LeagueError(operation, workingDb, e.what());
    }
    return outcome;
}

} // namespace tavrel
