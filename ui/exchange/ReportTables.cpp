#include "ui/exchange/ReportTables.h"

#include <map>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ReportTable ImportChangesTable(const tavrel::ImportPlan& plan, const tavrel::PlayerList& players) {
    ReportTable table{{"Player", "Column", "Old", "New"}, {}};
    tavrel::PlayerRow row;
    std::size_t shown = 0;
    table.rows.reserve(plan.changes.size());
    for (const tavrel::PlayerCellChange& change : plan.changes) {
        QString player;
        if (change.record != shown) {
            shown = change.record;
            players.Read(change.record - 1, row);
            player = Q(tavrel::DescribePlayer(change.record, row));
        }
        const auto [before, after] =
            tavrel::ShownDifference({change.column, change.before, change.after});
        table.rows.push_back({{player},
                              {Q(std::string(tavrel::kPlayersColumns[change.column].name))},
                              {Q(before)},
                              {Q(after), true}});
    }
    return table;
}

ReportTable ComparisonTable(const tavrel::LeagueDiff& diff) {
    std::map<int, int> columnAt; // Players column (or the unmodelled bytes) -> table column
    for (const tavrel::PlayerDifference& p : diff.changed)
        for (const tavrel::FieldDifference& f : p.fields)
            columnAt.emplace(f.column, 0);
    ReportTable table{{"Player", "Where"}, {}};
    for (auto& [column, at] : columnAt) {
        at = int(table.headers.size());
        table.headers << Q(tavrel::DifferenceColumnName(column));
    }
    const auto blankRow = [&table] { return std::vector<ReportCell>(table.headers.size()); };
    for (const tavrel::PlayerDifference& p : diff.changed) {
        std::vector<ReportCell> row = blankRow();
        row[0].text = Q(p.player);
        row[1].text = p.recordA == p.recordB
                          ? QStringLiteral("both")
                          : QStringLiteral("record %1 in B").arg(qulonglong(p.recordB));
        for (const tavrel::FieldDifference& f : p.fields) {
            const auto [a, b] = tavrel::ShownDifference(f);
            row[std::size_t(columnAt[f.column])] = {Q(a) + QStringLiteral(" → ") + Q(b), true};
        }
        table.rows.push_back(std::move(row));
    }
    for (const auto& [players, where] :
         {std::pair{&diff.onlyInA, "only in A"}, std::pair{&diff.onlyInB, "only in B"}}) {
        for (const tavrel::UnmatchedPlayer& p : *players) {
            std::vector<ReportCell> row = blankRow();
            row[0].text = Q(p.player);
            row[1] = {QString::fromLatin1(where), true};
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

ReportTable CheckTable(const std::vector<tavrel::LeagueProblem>& problems) {
    ReportTable table{{"Problem"}, {}};
    for (const tavrel::LeagueProblem& p : problems)
        table.rows.push_back({{Q(p.message)}});
    return table;
}

QString RefusalsText(const tavrel::ImportPlan& plan) {
    QStringList lines;
    for (const std::string& line : tavrel::DescribeRefusals(plan))
        lines << Q(line);
    return lines.join('\n');
}
