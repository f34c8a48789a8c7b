#include "globaledit/SelectedRows.h"

#include "globaledit/PlayerSelection.h"
#include "store/PlayerRows.h"

#include <algorithm>
#include <optional>

namespace tavrel {
namespace {

enum SelectColumn { RowId, Pid, Position, FirstRating };

std::string UnusableRating(const PlayerRowCursor& select, int column, const std::string& name) {
    Value pid;
    select.ReadValue(Pid, pid);
    const std::string who =
        std::holds_alternative<std::int64_t>(pid)
            ? "the player with PID " + std::to_string(std::get<std::int64_t>(pid))
            : "a player without a PID";
    return name + " of " + who + " is " + (select.IsNull(column) ? "empty" : "not a whole number");
}

std::optional<std::int64_t> ReadRating(const PlayerRowCursor& select, int column) {
    if (select.IsInteger(column))
        return select.Integer(column);
    // A whole number stored as a fraction through another tool still counts.
    Value v;
    select.ReadValue(column, v);
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return *n;
    return std::nullopt;
}

// Appends the edited ratings of the current row; false, with the cause in `rows.unusable`, when
// one of them is not a whole number.
bool ReadRatings(const PlayerRowCursor& select, const std::vector<int>& edited,
                 SelectedRows& rows) {
    const std::size_t start = rows.values.size();
    for (std::size_t j = 0; j < edited.size(); ++j) {
        const int column = FirstRating + 2 * int(j);
        const std::optional<std::int64_t> actual = ReadRating(select, column);
        const std::optional<std::int64_t> potential = ReadRating(select, column + 1);
        if (!actual || !potential) {
            rows.unusable = actual ? UnusableRating(select, column + 1, PotentialColumn(edited[j]))
                                   : UnusableRating(select, column, ActualColumn(edited[j]));
            rows.values.resize(start);
            return false;
        }
        rows.values.push_back({*actual, *potential});
    }
    return true;
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

std::vector<SelectedRows> ReadSelections(SQLite::Database& db, int team,
                                         std::span<const int> positionCodes,
                                         const std::vector<int>& edited) {
    std::vector<SelectedRows> selections(positionCodes.size());
    for (std::size_t p = 0; p < positionCodes.size(); ++p)
        selections[p].positionCode = positionCodes[p];
    if (positionCodes.empty())
        return selections;
    std::string sql = "SELECT rowid, PID, Position";
    if (!edited.empty())
        sql += ", " + EditedColumns(edited, "");
    sql += " FROM Players" + SelectionCondition(team, positionCodes.size()) + " ORDER BY rowid";
    PlayerRowCursor select(db, sql);
    BindSelection(select, team, positionCodes);
    while (select.Next()) {
        const std::int64_t position = select.Integer(Position);
        const auto found = std::find(positionCodes.begin(), positionCodes.end(), position);
        if (found == positionCodes.end())
            continue;
        SelectedRows& rows = selections[std::size_t(found - positionCodes.begin())];
        // After an unusable rating the position is refused whole; its other rows are not needed.
        if (!rows.unusable.empty() || !ReadRatings(select, edited, rows))
            continue;
        rows.rowIds.push_back(select.Integer(RowId));
    }
    return selections;
}

} // namespace tavrel
