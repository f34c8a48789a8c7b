#pragma once

#include "grid/GridEdits.h"
#include "grid/GridFilter.h"
#include "grid/GridSort.h"
#include "grid/GridTable.h"
#include "store/CellChanges.h"

#include <QAbstractTableModel>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

// The player grid's rows as a Qt model over the compact table: the rows of the chosen team (or
// all) that every filter box lets through, in the chosen order. data() reads the one cell asked
// for; nothing is copied per repaint.
//
// Edits are checked with the form's rules and handed, as one list of changed cells, to the
// window's change sink (its undo history); refused cells change nothing and are reported.
class PlayerGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWholeLeague = -1;
    // Writes the changes as one step the user can undo; false when they were not written.
    using ChangeSink = std::function<bool(const QString& text, tavrel::CellChanges changes)>;

    explicit PlayerGridModel(QObject* parent = nullptr);

    // Reads the players of the working database (throws LeagueError), keeping the scope, filters
    // and order.
    void Load(const std::filesystem::path& workingDb);
    void Clear();
    const tavrel::grid::GridTable& Table() const { return table_; }
    void SetChangeSink(ChangeSink sink) { sink_ = std::move(sink); }
    // Whether the players may be changed at all (the league is open for writing); flags() and
    // setData() both ask it. Without one they may be.
    using EditGate = std::function<bool()>;
    void SetEditGate(EditGate gate) { gate_ = std::move(gate); }
    bool IsEditable(const QModelIndex& index) const;

    // kWholeLeague, or a team number (0: the free agents).
    // Without `rebuild` the rows are worked out at the next change that rebuilds.
    void SetScope(int teamId, bool rebuild = true);
    int Scope() const { return scope_; }
    // Sets the text of a column's filter box; a text that does not parse filters nothing and the
    // reason comes back.
    std::optional<QString> SetFilterText(int column, const QString& text, bool rebuild = true);
    // A click on a column's header: sorts by it (again: the other way round); with `secondKey`
    // the column becomes (or turns round) the second key, the first staying.
    void SortByColumn(int column, bool secondKey);
    const std::vector<tavrel::grid::SortKey>& SortKeys() const { return keys_; }

    int TableRow(int viewRow) const { return visible_[static_cast<std::size_t>(viewRow)]; }
    // The table rows shown, in view order.
    const std::vector<int>& ShownRows() const { return visible_; }
    std::optional<int> ViewRowOfTableRow(int tableRow) const;
    int TotalPlayers() const { return table_.RowCount(); }

    // Applies the typed texts as one step, named by `text` from the number of cells they change
    // (a cell given the value it holds is no change; none changed makes no step). The number of
    // cells changed; nothing, with refused() telling why, when any cell is refused or the sink did
    // not write them.
    using StepText = std::function<QString(std::size_t changedCells)>;
    std::optional<std::size_t> ApplyInputs(std::vector<tavrel::grid::CellInput> cells,
                                           const StepText& text);
    // The text for copying these view cells, their columns in the order of `shownColumns`.
    QString CopyText(const QModelIndexList& cells, const std::vector<int>& shownColumns) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // An edit is about to be checked: whatever is still being typed elsewhere must land first.
    void editing();
    void refused(const QString& message);
    // The visible rows were worked out again (filter, scope, order or data changed).
    void rowsRebuilt();

private:
    void Rebuild();
    QString PlayerName(int tableRow) const;

    std::filesystem::path workingDb_;
    tavrel::grid::GridTable table_;
    tavrel::grid::TextOrder order_;
    std::vector<tavrel::grid::ColumnFilter> filters_;
    std::vector<tavrel::grid::SortKey> keys_;
    int scope_ = kWholeLeague;
    std::vector<int> visible_;
    ChangeSink sink_;
    EditGate gate_;
};
