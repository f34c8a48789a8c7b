#pragma once

#include "store/PlayerRowStore.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <optional>
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
    void Detach();
    bool IsAttached() const { return store_ != nullptr; }
    // Reads the rows again, after another connection changed them.
    void Reload();

    // The model row of the first player with this PID. Throws LeagueError.
    std::optional<int> RowOfPid(int pid);

    static bool IsEditableColumn(int column);

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
    std::vector<std::int64_t> rowIds_;
    mutable std::int64_t cachedRowId_ = -1;
    mutable tavrel::PlayerRow cachedRow_;
    mutable QString lastReadError_;
    mutable bool readFailureReported_ = false;
};
