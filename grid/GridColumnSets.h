#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::grid {

// A view of the player grid: which of its columns show, in what order, under a name. The window
// applies a set to its header; the sets a user saves are kept per league as text.
struct ColumnSet {
    std::string name;
    std::vector<int> columns; // grid columns, each once, arranged (see ArrangedColumns)

    bool operator==(const ColumnSet&) const = default;
};

// "All"; "Actual only" (the identity columns and the 24 actual ratings); and for each band of the
// player form, "Band 1 (SP to PM)" and so on: the identity columns and that band's actual and
// potential ratings.
const std::vector<ColumnSet>& BuiltInColumnSets();
const ColumnSet* FindColumnSet(const std::vector<ColumnSet>& sets, std::string_view name);

// The columns as the grid shows them: each grid column once, the name columns (see IsNameColumn)
// before the others, each group in the order given. Repeats and numbers that are no grid column
// are dropped.
std::vector<int> ArrangedColumns(const std::vector<int>& columns);

// The shown columns with `column` shown or hidden. A column shown again comes back where the grid's
// own order puts it among those shown, or last.
std::vector<int> WithColumn(const std::vector<int>& shown, int column, bool show);

// Columns as text, by the names of the Players columns they show ("Team,PID,Act_SP,Pot_SP"), so a
// stored set means the same columns whatever order a later grid gives them.
std::string ColumnsToText(const std::vector<int>& columns);
// The columns a text names, arranged; names the grid does not show and repeats are passed over.
std::vector<int> ColumnsFromText(std::string_view text);

// The name as a set keeps it: line breaks and tabs as spaces, without blanks around it.
std::string CleanColumnSetName(std::string_view typed);
// Why a set cannot be saved under this (cleaned) name: empty, or a built-in set's; else nothing.
std::optional<std::string> ColumnSetNameProblem(std::string_view name);

// Saved sets as text, one a line: the name, a tab, the columns. Reading passes over a line without
// a name and a set that names no column the grid shows, and keeps the first of two sets of one
// name, so a damaged or older text still gives what it can.
std::string ColumnSetsToText(const std::vector<ColumnSet>& sets);
std::vector<ColumnSet> ColumnSetsFromText(std::string_view text);

// Puts `set` among the saved sets: in place of the one of its name, else at the end. Removing
// tells whether there was one of that name.
void PutColumnSet(std::vector<ColumnSet>& sets, ColumnSet set);
bool RemoveColumnSet(std::vector<ColumnSet>& sets, std::string_view name);

} // namespace tavrel::grid
