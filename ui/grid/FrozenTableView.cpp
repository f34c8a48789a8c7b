#include "ui/grid/FrozenTableView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>

namespace {

// The pane: its keys move the cursor through the view it lies over.
class PaneView : public QTableView {
public:
    explicit PaneView(FrozenTableView* owner) : QTableView(owner), owner_(owner) {}

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        return owner_->MoveCursorFromPane(action, modifiers);
    }
    // A key the pane leaves (a view leaves the key that opened an editor) would go on to the view
    // under it, which would act on the same current cell a second time.
    void keyPressEvent(QKeyEvent* event) override {
        QTableView::keyPressEvent(event);
        event->accept();
    }

private:
    FrozenTableView* owner_;
};

} // namespace

FrozenTableView::FrozenTableView(QWidget* parent) : QTableView(parent), pane_(new PaneView(this)) {
    pane_->setObjectName(QStringLiteral("frozenPane"));
    pane_->verticalHeader()->hide();
    pane_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    pane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane_->setFrameShape(QFrame::NoFrame);
    pane_->hide();
    // By the pixel, so a column half under the pane can be brought clear of it.
    setHorizontalScrollMode(ScrollPerPixel);
    connect(pane_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, pane_->verticalScrollBar(),
            &QScrollBar::setValue);
}

void FrozenTableView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    pane_->setModel(model);
    pane_->setSelectionModel(selectionModel());
    // The pane's own header and sizes follow the view's.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (IsFrozen(column) && pane_->columnWidth(column) != size)
                    pane_->setColumnWidth(column, size);
                PlacePane();
            });
    connect(pane_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                // The pane's sections take their default size when shown: the view's is kept.
                if (!arranging_ && IsFrozen(column) && columnWidth(column) != size)
                    setColumnWidth(column, size);
            });
    connect(pane_->horizontalHeader(), &QHeaderView::sectionMoved, this,
            &FrozenTableView::PaneSectionMoved);
    SetFrozenColumns(frozen_);
}

void FrozenTableView::setSelectionModel(QItemSelectionModel* selectionModel) {
    QTableView::setSelectionModel(selectionModel);
    if (pane_->model() == model())
        pane_->setSelectionModel(selectionModel);
}

void FrozenTableView::SetFrozenColumns(const QList<int>& columns) {
    frozen_ = columns;
    if (!model())
        return;
    const QScopedValueRollback arranging(arranging_, true);
    QHeaderView* header = pane_->horizontalHeader();
    for (int c = 0; c < model()->columnCount(); ++c)
        header->setSectionHidden(c, !IsFrozen(c));
    for (int at = 0; at < frozen_.size(); ++at) {
        header->moveSection(header->visualIndex(frozen_[at]), at);
        pane_->setColumnWidth(frozen_[at], columnWidth(frozen_[at]));
    }
    pane_->setVisible(!frozen_.isEmpty());
    PlacePane();
}

int FrozenTableView::FrozenWidth() const {
    int width = 0;
    for (const int c : frozen_)
        width += columnWidth(c);
    return width;
}

void FrozenTableView::PaneSectionMoved() {
    if (arranging_)
        return;
    // A caption dragged within the pane: the view takes the pane's order, and tells it through
    // its own header's sectionMoved.
    QList<int> order;
    QHeaderView* header = pane_->horizontalHeader();
    for (int v = 0; v < header->count(); ++v)
        if (IsFrozen(header->logicalIndex(v)))
            order << header->logicalIndex(v);
    frozen_ = order;
    const QScopedValueRollback arranging(arranging_, true);
    for (int at = 0; at < order.size(); ++at)
        horizontalHeader()->moveSection(horizontalHeader()->visualIndex(order[at]), at);
}

void FrozenTableView::PlacePane() {
    if (frozen_.isEmpty())
        return;
    if (pane_->verticalHeader()->defaultSectionSize() != verticalHeader()->defaultSectionSize())
        pane_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    pane_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    const int frame = frameWidth();
    pane_->setGeometry(verticalHeader()->width() + frame, frame,
                       std::min(FrozenWidth(), viewport()->width()),
                       viewport()->height() + horizontalHeader()->height());
    pane_->raise(); // over the view's header too
}

void FrozenTableView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlacePane();
}

void FrozenTableView::updateGeometries() {
    QTableView::updateGeometries();
    PlacePane();
}

void FrozenTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    if (IsFrozen(index.column())) {
        const int across = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
        return;
    }
    QTableView::scrollTo(index, hint);
    const int covered = FrozenWidth() - visualRect(index).left();
    if (covered > 0 && !isColumnHidden(index.column()))
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - covered);
}

QModelIndex FrozenTableView::MoveCursorFromPane(CursorAction action,
                                                Qt::KeyboardModifiers modifiers) {
    return moveCursor(action, modifiers);
}

void FrozenTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    // The focus goes with the cursor to the view that shows its cell.
    QWidget* focus = QApplication::focusWidget();
    if (IsFrozen(current.column()) && focus == this)
        pane_->setFocus(Qt::OtherFocusReason);
    else if (!IsFrozen(current.column()) && focus == pane_)
        setFocus(Qt::OtherFocusReason);
}
