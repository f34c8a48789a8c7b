#pragma once

#include <QList>
#include <QTableView>

// A table view whose leading columns stay in view when it scrolls sideways, as a spreadsheet's
// frozen panes: a second view over the same model and selection, the pane, lies over the left
// edge and shows only those columns. Both share the current cell, the selection, the rows' order
// and height and the vertical scrolling; the arrow keys and Tab move across both, and the view
// that shows the current cell has the focus, so a cell is edited where it is seen.
class FrozenTableView : public QTableView {
    Q_OBJECT
public:
    explicit FrozenTableView(QWidget* parent = nullptr);

    QTableView* Pane() const { return pane_; }
    // The columns the pane shows, in order: they must stand first in the header's visual order
    // and be shown there. Call again whenever columns are hidden, shown or moved.
    void SetFrozenColumns(const QList<int>& columns);
    const QList<int>& FrozenColumns() const { return frozen_; }
    bool IsFrozen(int column) const { return frozen_.contains(column); }
    // How much of the viewport's left side the pane covers.
    int FrozenWidth() const;

    // Give the view and the pane their horizontal headers before the model.
    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;
    // A frozen column's cell is scrolled to vertically only; any other cell also clear of the
    // pane.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // The pane moves its cursor through here, so keys cross between the two views.
    QModelIndex MoveCursorFromPane(CursorAction action, Qt::KeyboardModifiers modifiers);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void PlacePane();
    void PaneSectionMoved();

    QTableView* pane_;
    QList<int> frozen_;
    bool arranging_ = false;
};
