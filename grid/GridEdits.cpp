#include "grid/GridEdits.h"

#include "fileformat/CellValue.h"
#include "fileformat/Windows1252.h"

namespace tavrel::grid {
namespace {

std::variant<Value, std::string> TeamOfName(const GridTable& table, const std::string& typed) {
    if (typed == table.TeamName(0))
        return Value{std::int64_t{0}};
    for (const GridTable::Team& team : table.Teams())
        if (team.name == typed)
            return Value{std::int64_t{team.id}};
    return "\"" + typed + "\" is not a team of this league";
}

bool SameAsShown(const GridTable& table, int row, int column, const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return table.Number(row, column) == *n;
    if (const auto* s = std::get_if<std::string>(&value))
        return table.Shown(row, column) == *s;
    return false;
}

} // namespace

EditPlan PlanEdits(const GridTable& table, const std::vector<CellInput>& cells) {
    EditPlan plan;
    for (const CellInput& cell : cells) {
        const GridColumn& column = GridColumns().at(static_cast<std::size_t>(cell.column));
        // What the cell shows already (a copied block pasted back) is no edit, even where the
        // column is read-only.
        if (cell.text == table.Shown(cell.row, cell.column))
            continue;
        std::variant<Value, std::string> parsed;
        if (!column.editable) {
            parsed = column.header + " cannot be changed";
        } else if (column.kind == GridColumnKind::Team) {
            parsed = TeamOfName(table, cell.text);
        } else {
            ParsedCell value = ParseCellValue(column.playersColumn, cell.text);
            if (auto* refusal = std::get_if<CellRefusal>(&value))
                parsed = refusal->reason;
            else
                parsed = std::get<Value>(std::move(value));
        }
        if (auto* reason = std::get_if<std::string>(&parsed)) {
            plan.refusals.push_back({cell.row, cell.column, *reason});
            continue;
        }
        Value& after = std::get<Value>(parsed);
        if (!SameAsShown(table, cell.row, cell.column, after))
            plan.edits.push_back({table.RowId(cell.row), column.playersColumn, std::move(after)});
    }
    return plan;
}

std::string DescribeRefusals(const std::vector<EditRefusal>& refusals, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < refusals.size() && i < shown; ++i) {
        const EditRefusal& r = refusals[i];
        if (!text.empty())
            text += "; ";
        text += GridColumns()[static_cast<std::size_t>(r.column)].header + ": " + r.reason;
    }
    if (refusals.size() > shown)
        text += " (and " + std::to_string(refusals.size() - shown) + " more)";
    return text;
}

std::string CopyText(const GridTable& table, const std::vector<int>& rows,
                     const std::vector<int>& columns) {
    // Tabs and line breaks inside a cell would split it: they become spaces.
    const auto clean = [](std::string text) {
        for (char& c : text)
            if (c == '\t' || c == '\n' || c == '\r')
                c = ' ';
        return text;
    };
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i)
        text += (i ? "\t" : "") + GridColumns()[static_cast<std::size_t>(columns[i])].header;
    text += "\n";
    for (const int row : rows) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            text += (i ? "\t" : "") + clean(table.Shown(row, columns[i]));
        text += "\n";
    }
    return text;
}

std::vector<std::vector<std::string>> SplitPastedText(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        std::vector<std::string> cells;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            cells.emplace_back(line.substr(start, tab - start));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::optional<std::vector<CellInput>> PlanPaste(std::string_view text,
                                                const std::vector<int>& shownRows, int top,
                                                const std::vector<int>& shownColumns, int left) {
    std::vector<std::vector<std::string>> block = SplitPastedText(text);
    if (block.empty() || top < 0 || left < 0)
        return std::vector<CellInput>{};
    const auto columnAt = [&](std::size_t c) -> std::optional<int> {
        const std::size_t at = static_cast<std::size_t>(left) + c;
        if (at >= shownColumns.size())
            return std::nullopt;
        return shownColumns[at];
    };
    // A header row copied with the cells is not pasted.
    bool header = true;
    for (std::size_t i = 0; i < block.front().size() && header; ++i) {
        const std::optional<int> column = columnAt(i);
        header =
            column && block.front()[i] == GridColumns()[static_cast<std::size_t>(*column)].header;
    }
    if (header)
        block.erase(block.begin());
    std::vector<CellInput> cells;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const std::size_t viewRow = static_cast<std::size_t>(top) + r;
        for (std::size_t c = 0; c < block[r].size(); ++c) {
            const std::optional<int> column = columnAt(c);
            if (viewRow >= shownRows.size() || !column)
                return std::nullopt;
            cells.push_back({shownRows[viewRow], *column, std::move(block[r][c])});
        }
    }
    return cells;
}

} // namespace tavrel::grid
