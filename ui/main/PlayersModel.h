#pragma once

#include "store/CellChanges.h"
#include "store/PlayerRowStore.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// The Players table of the working database as a Qt model: one model row per player in table
// order, one model column per Players column. It holds no rows itself; it reads the row asked for
// from the store (keeping the last one) and writes an edit to the store at once.
//
// Values are shown as the user sees them: numbers as numbers, text without its trailing NULs and
// spaces. An edit equal to what is shown is no edit, so a field the user did not touch is never
// rewritten and its padding survives. Only the two names and the 48 ratings can be edited; a
// name must fit its field and the code page, a rating must be a whole number 0..255.
class PlayersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlayersModel(QObject* parent = nullptr);
    ~PlayersModel() override;

    // Shows the rows of `store` (throws LeagueError when they cannot be read), or none.
    void Attach(std::unique_ptr<tavrel::PlayerRowStore> store);
    // The same with the rows already known (RowKeysOfImport), without reading the table.
    void Attach(std::unique_ptr<tavrel::PlayerRowStore> store, std::vector<tavrel::RowKey> keys);
    void Detach();
    bool IsAttached() const { return store_ != nullptr; }
    // Reads the rows again, after another connection changed them.
    void Reload();

    // The model row of the first player, in table order, with this PID. When that row no longer
    // holds the player (another connection changed the table), reads the rows again (a model
    // reset) and looks once more. Throws LeagueError when the rows cannot be read.
    std::optional<int> RowOfPid(int pid);

    static bool IsEditableColumn(int column);

    // Where an edit goes instead of straight into the store: the window's undo history, which
    // writes it (WriteChanges) and keeps it as one step named `text`. False when it was not
    // written.
    using EditSink = std::function<bool(const QString& text, tavrel::CellChanges changes)>;
    void SetEditSink(EditSink sink) { editSink_ = std::move(sink); }

    // Writes one side of `changes` through the store as one transaction, then shows them.
    // Throws LeagueError; nothing is written then.
    void WriteChanges(const tavrel::CellChanges& changes, tavrel::CellSide side);
    // Shows cells another connection has changed (Global Edit): reads their rows again.
    void CellsChanged(const tavrel::CellChanges& changes);
    // The model row of a rowid; nothing when the model does not show it.
    std::optional<int> RowOfRowId(std::int64_t rowId) const;
    // The rowid of a model row; nothing when there is no such row.
    std::optional<std::int64_t> RowIdOfRow(int row) const;

    // Whether edits may be written at all (the league is open for writing); flags() and
    // setData() both ask it. Without one, every editable column may be edited.
    using EditGate = std::function<bool()>;
    void SetEditGate(EditGate gate) { editGate_ = std::move(gate); }
    bool IsEditable(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A stored value changed through this model.
    void modified();
    // Writing an edit failed; the message names the operation, the file and the cause.
    void writeFailed(const QString& message);

private:
    const tavrel::PlayerRow* Row(int row) const;
    std::optional<tavrel::Value> Parse(int column, const QVariant& value) const;

    std::unique_ptr<tavrel::PlayerRowStore> store_;
    EditSink editSink_;
    EditGate editGate_;
    void TakeRows(const std::vector<tavrel::RowKey>& keys);

    std::vector<std::int64_t> rowIds_;
    std::unordered_map<int, int> firstRowOfPid_;
    mutable std::int64_t cachedRowId_ = -1;
    mutable tavrel::PlayerRow cachedRow_;
    mutable QString lastReadError_;
    mutable bool readFailureReported_ = false;
};
