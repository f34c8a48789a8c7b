#include "ui/grid/FilterHeader.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

FilterHeader::FilterHeader(QTableView* view) : QHeaderView(Qt::Horizontal, view) {
    setSectionsClickable(true);
    setHighlightSections(true);
    connect(this, &QHeaderView::sectionResized, this, &FilterHeader::PlaceBoxes);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &FilterHeader::PlaceBoxes);
}

void FilterHeader::SetColumnCount(int columns) {
    qDeleteAll(boxes_);
    boxes_.clear();
    for (int c = 0; c < columns; ++c) {
        auto* box = new QLineEdit(viewport());
        box->setObjectName(QStringLiteral("gridFilter%1").arg(c));
        box->setPlaceholderText(QStringLiteral("filter"));
        box->setClearButtonEnabled(false);
        connect(box, &QLineEdit::textChanged, this,
                [this, c](const QString& text) { emit filterEdited(c, text); });
        boxes_.push_back(box);
    }
    PlaceBoxes();
}

void FilterHeader::SetProblem(int column, const QString& problem) {
    QLineEdit* box = Box(column);
    if (!box)
        return;
    box->setProperty("invalid", !problem.isEmpty());
    box->setStyleSheet(problem.isEmpty() ? QString()
                                         : QStringLiteral("QLineEdit { border: 2px solid red; }"));
    box->setToolTip(problem);
}

int FilterHeader::BoxHeight() const {
    return boxes_.isEmpty() ? 0 : boxes_.front()->sizeHint().height();
}

QSize FilterHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(size.height() + BoxHeight());
    return size;
}

void FilterHeader::updateGeometries() {
    QHeaderView::updateGeometries();
    PlaceBoxes();
}

void FilterHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect.adjusted(0, 0, 0, -BoxHeight()), logicalIndex);
}

void FilterHeader::PlaceBoxes() {
    const int top = QHeaderView::sizeHint().height();
    for (int c = 0; c < boxes_.size(); ++c) {
        boxes_[c]->setGeometry(sectionViewportPosition(c), top, sectionSize(c), BoxHeight());
        boxes_[c]->setVisible(!isSectionHidden(c));
    }
}
