#include "grid/GridColumnSets.h"

#include "grid/GridColumns.h"
#include "store/PlayersTable.h"
#include "store/Text.h"

#include <algorithm>
#include <array>

namespace tavrel::grid {
namespace {

std::vector<int> IdentityColumns() {
    std::vector<int> columns;
    for (int c = 0; c < kIdentityColumnCount; ++c)
        columns.push_back(c);
    return columns;
}

// Blanks around a name or a column in stored text, line ends of a text edited elsewhere included.
constexpr std::string_view kBlanks = " \t\r\n";

} // namespace

const std::vector<ColumnSet>& BuiltInColumnSets() {
    static const std::vector<ColumnSet> sets = [] {
        std::vector<ColumnSet> s;
        std::vector<int> all = IdentityColumns(), actual = IdentityColumns();
        for (int c = kFirstRatingColumn; c < kGridColumnCount; ++c)
            all.push_back(c);
        for (int c = kFirstRatingColumn; c < kGridColumnCount; c += 2)
            actual.push_back(c);
        s.push_back({"All", all});
        s.push_back({"Actual only", actual});
        int number = 0;
        for (const RatingBand& band : kRatingBands) {
            std::vector<int> columns = IdentityColumns();
            for (const std::string_view code : band) {
                columns.push_back(ActualGridColumn(*RatingIndex(code)));
                columns.push_back(PotentialGridColumn(*RatingIndex(code)));
            }
            s.push_back({"Band " + std::to_string(++number) + " (" + std::string(band.front()) +
                             " to " + std::string(band.back()) + ")",
                         columns});
        }
        return s;
    }();
    return sets;
}

const ColumnSet* FindColumnSet(const std::vector<ColumnSet>& sets, std::string_view name) {
    const auto found =
        std::find_if(sets.begin(), sets.end(), [&](const ColumnSet& s) { return s.name == name; });
    return found == sets.end() ? nullptr : &*found;
}

std::vector<int> ArrangedColumns(const std::vector<int>& columns) {
    std::array<bool, kGridColumnCount> seen{};
    std::vector<int> names, others;
    for (const int c : columns) {
        if (c < 0 || c >= kGridColumnCount || seen[static_cast<std::size_t>(c)])
            continue;
        seen[static_cast<std::size_t>(c)] = true;
        (IsNameColumn(c) ? names : others).push_back(c);
    }
    names.insert(names.end(), others.begin(), others.end());
    return names;
}

std::string ColumnsToText(const std::vector<int>& columns) {
    std::string text;
    for (const int c : columns) {
        if (c < 0 || c >= kGridColumnCount)
            continue;
        if (!text.empty())
            text += ',';
        text += ColumnKey(c);
    }
    return text;
}

std::vector<int> WithColumn(const std::vector<int>& shown, int column, bool show) {
    std::vector<int> columns;
    bool placed = !show;
    for (const int c : shown) {
        if (c == column)
            continue;
        // A column shown again comes back before the first shown column that follows it in the
        // grid's own order.
        if (!placed && c > column && IsNameColumn(c) == IsNameColumn(column)) {
            columns.push_back(column);
            placed = true;
        }
        columns.push_back(c);
    }
    if (!placed)
        columns.push_back(column);
    return ArrangedColumns(columns);
}

std::vector<int> ColumnsFromText(std::string_view text) {
    std::vector<int> columns;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        if (const auto column = GridColumnNamed(Trimmed(text.substr(0, comma), kBlanks)))
            columns.push_back(*column);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return ArrangedColumns(columns);
}

std::string CleanColumnSetName(std::string_view typed) {
    std::string name(Trimmed(typed, kBlanks));
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return name;
}

std::optional<std::string> ColumnSetNameProblem(std::string_view name) {
    if (name.empty())
        return "A column set needs a name";
    if (FindColumnSet(BuiltInColumnSets(), name))
        return "\"" + std::string(name) + "\" is a built-in column set";
    return std::nullopt;
}

std::string ColumnSetsToText(const std::vector<ColumnSet>& sets) {
    std::string text;
    for (const ColumnSet& set : sets)
        text += CleanColumnSetName(set.name) + '\t' + ColumnsToText(set.columns) + '\n';
    return text;
}

std::vector<ColumnSet> ColumnSetsFromText(std::string_view text) {
    std::vector<ColumnSet> sets;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        ColumnSet set{CleanColumnSetName(line.substr(0, tab)),
                      ColumnsFromText(line.substr(tab + 1))};
        if (!set.name.empty() && !set.columns.empty() && !FindColumnSet(sets, set.name))
            sets.push_back(std::move(set));
    }
    return sets;
}

void PutColumnSet(std::vector<ColumnSet>& sets, ColumnSet set) {
    for (ColumnSet& saved : sets)
        if (saved.name == set.name) {
            saved = std::move(set);
            return;
        }
    sets.push_back(std::move(set));
}

bool RemoveColumnSet(std::vector<ColumnSet>& sets, std::string_view name) {
    return std::erase_if(sets, [&](const ColumnSet& s) { return s.name == name; }) > 0;
}

} // namespace tavrel::grid
