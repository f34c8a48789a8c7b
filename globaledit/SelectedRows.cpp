#include "globaledit/SelectedRows.h"

#include "globaledit/PlayerSelection.h"
#include "store/PlayerRows.h"

#include <SQLiteCpp/Statement.h>
#include <stdexcept>

namespace tavrel {
namespace {

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

} // namespace

std::string EditedColumns(const std::vector<int>& edited, const char* suffix) {
    std::string list;
    for (const int k : edited) {
        if (!list.empty())
            list += ", ";
        list += ActualColumn(k) + suffix + ", " + PotentialColumn(k) + suffix;
    }
    return list;
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

} // namespace tavrel
