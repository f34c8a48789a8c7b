#include "ui/grid/FilterHeader.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

FilterHeader::FilterHeader(QTableView* view) : QHeaderView(Qt::Horizontal, view) {
    setSectionsClickable(true);
    setHighlightSections(true);
    connect(this, &QHeaderView::sectionResized, this, &FilterHeader::PlaceBoxes);
    connect(this, &QHeaderView::sectionMoved, this, &FilterHeader::PlaceBoxes);
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

void FilterHeader::SetBoxText(int column, const QString& text) {
    if (QLineEdit* box = Box(column); box && box->text() != text) {
        const QSignalBlocker quiet(box);
        box->setText(text);
    }
    for (FilterHeader* follower : followers_)
        follower->SetBoxText(column, text);
}

void FilterHeader::SetProblem(int column, const QString& problem) {
    for (FilterHeader* follower : followers_)
        follower->SetProblem(column, problem);
    QLineEdit* box = Box(column);
    if (!box)
        return;
    box->setProperty("invalid", !problem.isEmpty());
    box->setStyleSheet(problem.isEmpty() ? QString()
                                         : QStringLiteral("QLineEdit { border: 2px solid red; }"));
    box->setToolTip(problem);
}

void FilterHeader::FollowBoxesOf(FilterHeader* leader) {
    leader->followers_ << this;
    for (int c = 0; c < boxes_.size() && c < leader->boxes_.size(); ++c) {
        QLineEdit* mine = boxes_[c];
        QLineEdit* theirs = leader->boxes_[c];
        mine->setObjectName(QStringLiteral("gridFrozenFilter%1").arg(c));
        mine->setText(theirs->text());
        // Only a text that differs is set: setting a box moves its cursor to the end.
        connect(mine, &QLineEdit::textChanged, theirs, [theirs](const QString& text) {
            if (theirs->text() != text)
                theirs->setText(text);
        });
        connect(theirs, &QLineEdit::textChanged, mine, [mine](const QString& text) {
            if (mine->text() != text) {
                const QSignalBlocker quiet(mine);
                mine->setText(text);
            }
        });
    }
}

void FilterHeader::SetCoveredColumns(const QList<int>& columns) {
    covered_ = columns;
    PlaceBoxes();
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
        boxes_[c]->setVisible(!isSectionHidden(c) && !covered_.contains(c));
    }
}
