#include "ui/grid/PlayerGridModel.h"

#include "store/Vocabulary.h"

#include <QLocale>
#include <algorithm>
#include <set>
#include <unordered_map>

using namespace tavrel::grid;

PlayerGridModel::PlayerGridModel(QObject* parent) : QAbstractTableModel(parent) {
    filters_.resize(kGridColumnCount);
    for (int c = 0; c < kGridColumnCount; ++c)
        filters_[static_cast<std::size_t>(c)].column = c;
}

void PlayerGridModel::Load(const std::filesystem::path& workingDb) {
    GridTable loaded = GridTable::Load(workingDb);
    workingDb_ = workingDb;
    table_ = std::move(loaded);
    order_.ForgetAll();
    Rebuild();
}

void PlayerGridModel::Clear() {
    table_ = GridTable();
    order_.ForgetAll();
    Rebuild();
}

void PlayerGridModel::SetScope(int teamId, bool rebuild) {
    scope_ = teamId;
    if (rebuild)
        Rebuild();
}

std::optional<QString> PlayerGridModel::SetFilterText(int column, const QString& text,
                                                      bool rebuild) {
    auto parsed = ParseColumnFilter(column, text.toStdString());
    std::optional<QString> problem;
    if (auto* error = std::get_if<FilterError>(&parsed)) {
        problem = QString::fromStdString(error->reason);
        parsed = ColumnFilter{column, {}, {}};
    }
    filters_[static_cast<std::size_t>(column)] = std::get<ColumnFilter>(std::move(parsed));
    if (rebuild)
        Rebuild();
    return problem;
}

void PlayerGridModel::SortByColumn(int column, bool secondKey) {
    const auto at = std::find_if(keys_.begin(), keys_.end(),
                                 [&](const SortKey& k) { return k.column == column; });
    if (!secondKey) {
        const bool descending =
            !keys_.empty() && keys_.front().column == column ? !keys_.front().descending : false;
        keys_ = {{column, descending}};
    } else if (at != keys_.end() && at != keys_.begin()) {
        at->descending = !at->descending;
    } else if (at == keys_.end()) {
        keys_.resize(std::min<std::size_t>(keys_.size(), 1));
        keys_.push_back({column, false});
    } else {
        at->descending = !at->descending; // Shift-click on the first key turns it round
    }
    Rebuild();
}

void PlayerGridModel::Rebuild() {
    beginResetModel();
    std::vector<ColumnFilter> filters = filters_;
    if (scope_ != kWholeLeague)
        filters.push_back({kTeamColumn, {{NumberTest::Op::Equal, scope_, 0}}, {}});
    visible_ = FilterRows(table_, filters);
    SortRows(table_, visible_, keys_, order_);
    endResetModel();
    emit rowsRebuilt();
}

std::optional<int> PlayerGridModel::ViewRowOfTableRow(int tableRow) const {
    const auto found = std::find(visible_.begin(), visible_.end(), tableRow);
    if (found == visible_.end())
        return std::nullopt;
    return static_cast<int>(found - visible_.begin());
}

int PlayerGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

int PlayerGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumnCount;
}

QVariant PlayerGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const GridColumn& column = GridColumns()[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(table_.Shown(TableRow(index.row()), index.column()));
    case Qt::TextAlignmentRole:
        return column.kind == GridColumnKind::Number ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PlayerGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& column = GridColumns()[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        // The header's own arrow marks the first sort key only: the second is marked here.
        const QString caption = QString::fromStdString(column.header);
        if (keys_.size() > 1 && keys_[1].column == section)
            return caption +
                   (keys_[1].descending ? QStringLiteral(" \u25BC2") : QStringLiteral(" \u25B22"));
        return caption;
    }
    if (role == Qt::ToolTipRole && !column.toolTip.empty())
        return QString::fromStdString(column.toolTip);
    return {};
}

bool PlayerGridModel::IsEditable(const QModelIndex& index) const {
    return index.isValid() && GridColumns()[static_cast<std::size_t>(index.column())].editable &&
           (!gate_ || gate_());
}

Qt::ItemFlags PlayerGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (IsEditable(index))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QString PlayerGridModel::PlayerName(int tableRow) const {
    return QStringLiteral("%1 %2")
        .arg(QString::fromStdString(table_.Shown(tableRow, kFirstNameColumn)),
             QString::fromStdString(table_.Shown(tableRow, kLastNameColumn)))
        .trimmed();
}

bool PlayerGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        !IsEditable(index))
        return false;
    const int row = TableRow(index.row());
    const GridColumn& column = GridColumns()[static_cast<std::size_t>(index.column())];
    const QString text =
        column.kind == GridColumnKind::Team
            ? QStringLiteral("Move %1 to %2").arg(PlayerName(row), value.toString())
            : QString::fromStdString(
                  tavrel::CellEditText(column.playersColumn, PlayerName(row).toStdString()));
    return ApplyInputs({{row, index.column(), value.toString().toStdString()}},
                       [&text](std::size_t) { return text; })
        .has_value();
}

std::optional<std::size_t> PlayerGridModel::ApplyInputs(std::vector<CellInput> cells,
                                                        const StepText& text) {
    if (gate_ && !gate_()) {
        emit refused(QStringLiteral("Nothing was changed: the league is open read only"));
        return std::nullopt;
    }
    emit editing();
    const EditPlan plan = PlanEdits(table_, cells);
    if (!plan.refusals.empty()) {
        emit refused(QStringLiteral("Nothing was changed: %1")
                         .arg(QString::fromStdString(DescribeRefusals(plan.refusals))));
        return std::nullopt;
    }
    if (plan.edits.empty())
        return std::size_t{0};
    if (!sink_)
        return std::nullopt;
    // The values stored before, as they are (padding included), so that an undo restores them.
    std::set<std::int64_t> rowIds;
    std::set<int> columns;
    for (const PlannedEdit& edit : plan.edits) {
        rowIds.insert(edit.rowId);
        columns.insert(edit.playersColumn);
    }
    tavrel::ColumnSnapshot before;
    try {
        before = tavrel::TakeColumnSnapshot(workingDb_, {rowIds.begin(), rowIds.end()},
                                            {columns.begin(), columns.end()});
    } catch (const std::exception& e) {
        emit refused(QString::fromStdString(e.what()));
        return std::nullopt;
    }
    std::unordered_map<std::int64_t, std::size_t> rowAt;
    for (std::size_t r = 0; r < before.rowIds.size(); ++r)
        rowAt.emplace(before.rowIds[r], r);
    tavrel::CellChanges changes;
    changes.reserve(plan.edits.size());
    for (const PlannedEdit& edit : plan.edits) {
        const std::size_t r = rowAt.at(edit.rowId);
        const auto c = static_cast<std::size_t>(std::distance(
            before.columns.begin(),
            std::find(before.columns.begin(), before.columns.end(), edit.playersColumn)));
        changes.push_back({edit.rowId, edit.playersColumn,
                           before.values[r * before.columns.size() + c], edit.after});
    }
    const QString stepText = text(changes.size());
    if (!sink_(stepText, std::move(changes)))
        return std::nullopt;
    for (const PlannedEdit& edit : plan.edits) {
        if (const auto row = table_.RowOfRowId(edit.rowId))
            table_.SetValue(*row, edit.playersColumn, edit.after);
        if (const auto column = GridColumnOf(edit.playersColumn))
            order_.Forget(*column);
    }
    Rebuild();
    return plan.edits.size();
}

QString PlayerGridModel::CopyText(const QModelIndexList& cells,
                                  const std::vector<int>& shownColumns) const {
    std::set<int> viewRows;
    std::set<int> selected;
    for (const QModelIndex& cell : cells) {
        viewRows.insert(cell.row());
        selected.insert(cell.column());
    }
    std::vector<int> rows;
    for (const int viewRow : viewRows)
        rows.push_back(TableRow(viewRow));
    std::vector<int> columns;
    for (const int column : shownColumns)
        if (selected.contains(column))
            columns.push_back(column);
    return QString::fromStdString(tavrel::grid::CopyText(table_, rows, columns));
}
