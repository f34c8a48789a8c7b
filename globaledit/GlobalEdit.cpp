#include "globaledit/GlobalEdit.h"

#include "base/LeagueError.h"
#include "globaledit/PlayerSelection.h"
#include "store/PlayerRows.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tavrel {
namespace {

// A rating column holds a signed 16-bit number; a scaled value is limited to that range before the
// bounds apply, so no input can overflow it.
constexpr double kColumnLow = -32768.0;
constexpr double kColumnHigh = 32767.0;

// The nearest whole number, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4),
// whatever rounding mode the floating-point unit is in. For values well inside 64 bits.
std::int64_t RoundHalfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    const auto whole = static_cast<std::int64_t>(below);
    if (fraction < 0.5)
        return whole;
    if (fraction > 0.5 || whole % 2 != 0)
        return whole + 1;
    return whole;
}

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

// Scales a stored value by a percentage already multiplied by 0.01, in exactly the form the users
// know (value + value * factor), and stores it the way a 16-bit column takes a fraction.
std::int64_t Scale(std::int64_t value, double factor) {
    const double v = static_cast<double>(value);
    return RoundHalfEven(std::clamp(v + v * factor, kColumnLow, kColumnHigh));
}

bool IsValidBound(int bound) {
    return bound >= 0 && bound <= 255;
}

// The first input the engine cannot use, named for the message; empty when all are usable.
std::string FirstInvalidInput(const GlobalEditInputs& in) {
    for (int k = 0; k < kRatingCount; ++k) {
        if (!std::isfinite(in.actualPercent[k]))
            return ActualColumn(k);
        if (!std::isfinite(in.potentialPercent[k]))
            return PotentialColumn(k);
    }
    if (!IsValidBound(in.actualMin))
        return "actual Min";
    if (!IsValidBound(in.actualMax))
        return "actual Max";
    if (!IsValidBound(in.potentialMin))
        return "potential Min";
    if (!IsValidBound(in.potentialMax))
        return "potential Max";
    return {};
}

// "Act_SP, Pot_SP, Act_AG, Pot_AG, ..." for the edited ratings.
std::string EditedColumns(const std::vector<int>& edited, const char* suffix) {
    std::string list;
    for (const int k : edited) {
        if (!list.empty())
            list += ", ";
        list += ActualColumn(k) + suffix + ", " + PotentialColumn(k) + suffix;
    }
    return list;
}

// The rows of the selection, read whole before anything is written.
struct SelectedRows {
    std::vector<std::int64_t> rowIds;
    std::vector<RatingValues> values; // rowIds.size() x edited.size()
};

// A rating the rule needs must be a whole number; the message names the column and the player.
[[noreturn]] void ThrowUnusableRating(const SQLite::Statement& select, int column,
                                      const std::string& name) {
    const Value pid = ReadValue(select, 1);
    const std::string who =
        std::holds_alternative<std::int64_t>(pid)
            ? "the player with PID " + std::to_string(std::get<std::int64_t>(pid))
            : "a player without a PID";
    throw std::runtime_error(name + " of " + who + " is " +
                             (select.getColumn(column).isNull() ? "empty" : "not a whole number"));
}

std::int64_t ReadRating(const SQLite::Statement& select, int column, int ratingIndex, bool actual) {
    if (const SQLite::Column c = select.getColumn(column); c.isInteger())
        return c.getInt64();
    // A whole number stored as a fraction through another tool still counts.
    const Value v = ReadValue(select, column);
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return *n;
    ThrowUnusableRating(select, column,
                        actual ? ActualColumn(ratingIndex) : PotentialColumn(ratingIndex));
}

SelectedRows ReadSelection(SQLite::Database& db, int team, int positionCode,
                           const std::vector<int>& edited) {
    std::string sql = "SELECT rowid, PID";
    if (!edited.empty())
        sql += ", " + EditedColumns(edited, "");
    sql += " FROM Players" + SelectionCondition(team) + " ORDER BY rowid";
    SQLite::Statement select(db, sql);
    BindSelection(select, team, positionCode);

    SelectedRows rows;
    while (select.executeStep()) {
        rows.rowIds.push_back(select.getColumn(0).getInt64());
        for (std::size_t j = 0; j < edited.size(); ++j) {
            const int column = 2 + 2 * int(j);
            const int k = edited[j];
            rows.values.push_back(
                {ReadRating(select, column, k, true), ReadRating(select, column + 1, k, false)});
        }
    }
    return rows;
}

} // namespace

RatingValues ApplyRatingRule(RatingValues r, double actualPercent, double potentialPercent,
                             const GlobalEditInputs& in) {
    if (actualPercent == 0.0)
        return r;
    r.actual = Scale(r.actual, actualPercent * 0.01);
    if (potentialPercent != 0.0)
        r.potential = Scale(r.potential, potentialPercent * 0.01);
    if (r.actual > in.actualMax)
        r.actual = in.actualMax;
    if (r.actual < in.actualMin)
        r.actual = in.actualMin;
    if (r.actual > r.potential)
        r.potential = r.actual;
    if (r.potential > in.potentialMax)
        r.potential = in.potentialMax;
    if (r.potential < in.potentialMin)
        r.potential = in.potentialMin;
    return r;
}

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
                const int k = edited[j];
                const RatingValues after =
                    ApplyRatingRule(r, in.actualPercent[k], in.potentialPercent[k], in);
                changed = changed || after != r;
                r = after;
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
