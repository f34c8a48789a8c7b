#include "ui/main/PlayersModel.h"

#include "base/LeagueError.h"
#include "fileformat/CellValue.h"
#include "fileformat/Windows1252.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <algorithm>

namespace {

using tavrel::kPlayersColumns;

const int kFirstNameColumn = *tavrel::PlayersColumnIndex("FirstName");
const int kLastNameColumn = *tavrel::PlayersColumnIndex("LastName");
const int kPidColumn = *tavrel::PlayersColumnIndex("PID");

QVariant Shown(const tavrel::Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return QVariant::fromValue<qlonglong>(*n);
    if (const auto* s = std::get_if<std::string>(&value))
        return QString::fromStdString(tavrel::WithoutTrailingPadding(*s));
    return {};
}

} // namespace

PlayersModel::PlayersModel(QObject* parent) : QAbstractTableModel(parent) {}

PlayersModel::~PlayersModel() = default;

void PlayersModel::Attach(std::unique_ptr<tavrel::PlayerRowStore> store) {
    std::vector<tavrel::RowKey> keys = store->RowKeys();
    Attach(std::move(store), std::move(keys));
}

void PlayersModel::Attach(std::unique_ptr<tavrel::PlayerRowStore> store,
                          std::vector<tavrel::RowKey> keys) {
    beginResetModel();
    store_ = std::move(store);
    TakeRows(keys);
    endResetModel();
}

void PlayersModel::Detach() {
    beginResetModel();
    store_.reset();
    TakeRows({});
    endResetModel();
}

void PlayersModel::Reload() {
    if (!store_)
        return;
    const std::vector<tavrel::RowKey> keys = store_->RowKeys();
    beginResetModel();
    TakeRows(keys);
    endResetModel();
}

void PlayersModel::TakeRows(const std::vector<tavrel::RowKey>& keys) {
    rowIds_.clear();
    firstRowOfPid_.clear();
    rowIds_.reserve(keys.size());
    for (const tavrel::RowKey& key : keys) {
        if (key.pid)
            firstRowOfPid_.try_emplace(*key.pid, static_cast<int>(rowIds_.size()));
        rowIds_.push_back(key.rowId);
    }
    cachedRowId_ = -1;
}

std::optional<int> PlayersModel::RowOfPid(int pid) {
    const auto lookUp = [this](int wanted) -> std::optional<int> {
        const auto found = firstRowOfPid_.find(wanted);
        if (found == firstRowOfPid_.end())
            return std::nullopt;
        return found->second;
    };
    const auto holds = [this](int row, int wanted) {
        const tavrel::PlayerRow* values = Row(row);
        const auto* pid = values ? std::get_if<std::int64_t>(&(*values)[kPidColumn]) : nullptr;
        return pid && *pid == wanted;
    };
    const std::optional<int> row = lookUp(pid);
    if (!row || holds(*row, pid))
        return row;
    Reload();
    return lookUp(pid);
}

bool PlayersModel::IsEditableColumn(int column) {
    return tavrel::IsEditablePlayersColumn(column);
}

int PlayersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rowIds_.size());
}

int PlayersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : tavrel::kPlayersColumnCount;
}

const tavrel::PlayerRow* PlayersModel::Row(int row) const {
    if (!store_ || row < 0 || row >= rowCount())
        return nullptr;
    const std::int64_t rowId = rowIds_[static_cast<std::size_t>(row)];
    if (rowId != cachedRowId_) {
        try {
            cachedRow_ = store_->ReadRow(rowId);
        } catch (const tavrel::LeagueError& e) {
            cachedRowId_ = -1;
            lastReadError_ = QString::fromStdString(e.what());
            return nullptr; // a row another connection removed shows as empty
        }
        cachedRowId_ = rowId;
        readFailureReported_ = false;
    }
    return &cachedRow_;
}

QVariant PlayersModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const tavrel::PlayerRow* row = Row(index.row());
    return row ? Shown((*row)[static_cast<std::size_t>(index.column())]) : QVariant();
}

QVariant PlayersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= tavrel::kPlayersColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kPlayersColumns[static_cast<std::size_t>(section)].name.data(),
                               static_cast<qsizetype>(kPlayersColumns[section].name.size()));
}

bool PlayersModel::IsEditable(const QModelIndex& index) const {
    return index.isValid() && IsEditableColumn(index.column()) && (!editGate_ || editGate_());
}

Qt::ItemFlags PlayersModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (IsEditable(index))
        flags |= Qt::ItemIsEditable;
    return flags;
}

std::optional<tavrel::Value> PlayersModel::Parse(int column, const QVariant& value) const {
    tavrel::ParsedCell parsed = tavrel::ParseCellValue(column, value.toString().toStdString());
    if (auto* stored = std::get_if<tavrel::Value>(&parsed))
        return std::move(*stored);
    return std::nullopt;
}

bool PlayersModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const tavrel::PlayerRow* row = Row(index.row());
    if (!row) {
        // A submit offers every field of the row: tell of an unreadable row once, not per field.
        if (!readFailureReported_)
            emit writeFailed(lastReadError_);
        readFailureReported_ = true;
        return false;
    }
    const auto column = static_cast<std::size_t>(index.column());
    const QVariant shown = Shown((*row)[column]);
    // What the widget shows for the stored value comes back on every submit: not an edit.
    if (value.toString() == shown.toString())
        return true;
    if (!IsEditable(index))
        return false;
    const auto parsed = Parse(index.column(), value);
    if (!parsed)
        return false;
    if (*parsed == (*row)[column])
        return true;
    const std::int64_t rowId = rowIds_[static_cast<std::size_t>(index.row())];
    tavrel::CellChanges changes{{rowId, index.column(), (*row)[column], *parsed}};
    if (editSink_) {
        const QString who = QStringLiteral("%1 %2").arg(Shown((*row)[kFirstNameColumn]).toString(),
                                                        Shown((*row)[kLastNameColumn]).toString());
        return editSink_(QString::fromStdString(
                             tavrel::CellEditText(index.column(), who.trimmed().toStdString())),
                         std::move(changes));
    }
    try {
        WriteChanges(changes, tavrel::CellSide::After);
    } catch (const tavrel::LeagueError& e) {
        emit writeFailed(QString::fromStdString(e.what()));
        return false;
    }
    emit modified();
    return true;
}

void PlayersModel::WriteChanges(const tavrel::CellChanges& changes, tavrel::CellSide side) {
    if (!store_)
        throw tavrel::LeagueError("Writing the changed players to", {}, "no league is open");
    try {
        store_->WriteChanges(changes, side);
    } catch (const tavrel::LeagueError&) {
        cachedRowId_ = -1;
        throw;
    }
    CellsChanged(changes);
}

void PlayersModel::CellsChanged(const tavrel::CellChanges& changes) {
    cachedRowId_ = -1;
    // Cell by cell for an edit, so that views and the detail fields refresh only those cells
    // (a value typed into another field stays); one range for a bulk change.
    constexpr std::size_t kCellByCell = 64;
    if (changes.size() <= kCellByCell) {
        for (const tavrel::CellChange& change : changes)
            if (const std::optional<int> row = RowOfRowId(change.rowId)) {
                const QModelIndex cell = index(*row, change.column);
                emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
            }
        return;
    }
    std::optional<int> first, last;
    for (const tavrel::CellChange& change : changes) {
        if (const std::optional<int> row = RowOfRowId(change.rowId)) {
            first = std::min(first.value_or(*row), *row);
            last = std::max(last.value_or(*row), *row);
        }
    }
    if (first)
        emit dataChanged(index(*first, 0), index(*last, columnCount() - 1),
                         {Qt::DisplayRole, Qt::EditRole});
}

std::optional<int> PlayersModel::RowOfRowId(std::int64_t rowId) const {
    // Rows stand in rowid order, as the store and the import give them.
    const auto found = std::lower_bound(rowIds_.begin(), rowIds_.end(), rowId);
    if (found == rowIds_.end() || *found != rowId)
        return std::nullopt;
    return static_cast<int>(found - rowIds_.begin());
}

std::optional<std::int64_t> PlayersModel::RowIdOfRow(int row) const {
    if (row < 0 || row >= rowCount())
        return std::nullopt;
    return rowIds_[static_cast<std::size_t>(row)];
}
