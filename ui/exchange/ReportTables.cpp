#include "ui/exchange/ReportTables.h"

#include "store/Vocabulary.h"

#include <map>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString ColumnText(int column) {
    return Q(column == tavrel::kUnmodelledBytes ? tavrel::DifferenceColumnName(column)
                                                : tavrel::ColumnCaption(column));
}

// Both sides of a difference in the user's words where the values are numbers standing for a team
// or a position, as the comparison shows them otherwise.
std::pair<QString, QString> ShownSides(const tavrel::FieldDifference& difference,
                                       const tavrel::TeamNames& teams) {
    const auto [a, b] = tavrel::ShownDifference(difference);
    if (difference.column == tavrel::kUnmodelledBytes)
        return {Q(a), Q(b)};
    return {Q(tavrel::NamedValue(difference.column, difference.a, teams).value_or(a)),
            Q(tavrel::NamedValue(difference.column, difference.b, teams).value_or(b))};
}

} // namespace

ReportTable ImportChangesTable(const tavrel::ImportPlan& plan, const tavrel::PlayerList& players,
                               const tavrel::TeamNames& teams) {
    ReportTable table{{"Player", "Column", "Old", "New"}, {}, {}};
    tavrel::PlayerRow row;
    std::size_t shown = 0;
    table.rows.reserve(plan.changes.size());
    table.targets.reserve(plan.changes.size());
    for (const tavrel::PlayerCellChange& change : plan.changes) {
        QString player;
        if (change.record != shown) {
            shown = change.record;
            players.Read(change.record - 1, row);
            player = Q(tavrel::DescribePlayer(change.record, row));
        }
        const auto [before, after] =
            ShownSides({change.column, change.before, change.after}, teams);
        table.rows.push_back({{player}, {ColumnText(change.column)}, {before}, {after, true}});
        table.targets.push_back({change.rowId, std::nullopt, {}});
    }
    return table;
}

ReportTable ComparisonTable(const tavrel::LeagueDiff& diff, const tavrel::PlayerList& a,
                            const tavrel::TeamNames& teams, const QString& fileB) {
    std::map<int, int> columnAt; // Players column (or the unmodelled bytes) -> table column
    for (const tavrel::PlayerDifference& p : diff.changed)
        for (const tavrel::FieldDifference& f : p.fields)
            columnAt.emplace(f.column, 0);
    ReportTable table{{"Player", "Where"}, {}, {}};
    for (auto& [column, at] : columnAt) {
        at = int(table.headers.size());
        table.headers << ColumnText(column);
    }
    const auto blankRow = [&table] { return std::vector<ReportCell>(table.headers.size()); };
    const auto inA = [&a](std::size_t record) {
        return ReportTarget{a.RowId(record - 1), std::nullopt, {}};
    };
    for (const tavrel::PlayerDifference& p : diff.changed) {
        std::vector<ReportCell> row = blankRow();
        row[0].text = Q(p.player);
        row[1].text = p.recordA == p.recordB
                          ? QStringLiteral("both")
                          : QStringLiteral("record %1 in B").arg(qulonglong(p.recordB));
        for (const tavrel::FieldDifference& f : p.fields) {
            const auto [before, after] = ShownSides(f, teams);
            row[std::size_t(columnAt[f.column])] = {before + QStringLiteral(" → ") + after, true};
        }
        table.rows.push_back(std::move(row));
        table.targets.push_back(inA(p.recordA));
    }
    for (const auto& [players, where] :
         {std::pair{&diff.onlyInA, "only in A"}, std::pair{&diff.onlyInB, "only in B"}}) {
        for (const tavrel::UnmatchedPlayer& p : *players) {
            std::vector<ReportCell> row = blankRow();
            row[0].text = Q(p.player);
            row[1] = {QString::fromLatin1(where), true};
            table.rows.push_back(std::move(row));
            table.targets.push_back(
                players == &diff.onlyInA
                    ? inA(p.record)
                    : ReportTarget{std::nullopt, std::nullopt,
                                   QStringLiteral("%1 is only in \"%2\": the open league has no "
                                                  "such player.")
                                       .arg(Q(p.player), fileB)});
        }
    }
    return table;
}

ReportTable CheckTable(const std::vector<tavrel::LeagueProblem>& problems) {
    ReportTable table{{"Problem"}, {}, {}};
    for (const tavrel::LeagueProblem& p : problems) {
        table.rows.push_back({{Q(p.message)}});
        table.targets.push_back({std::nullopt, p.pid, {}});
    }
    return table;
}

QString RefusalsText(const tavrel::ImportPlan& plan) {
    QStringList lines;
    for (const std::string& line : tavrel::DescribeRefusals(plan))
        lines << Q(line);
    return lines.join('\n');
}
