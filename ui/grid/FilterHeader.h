#pragma once

#include <QHeaderView>
#include <QVector>

class QLineEdit;
class QTableView;

// A table's column header with a filter box under each column's caption, kept in line with the
// columns as they are resized and scrolled.
class FilterHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FilterHeader(QTableView* view);

    void SetColumnCount(int columns);
    QLineEdit* Box(int column) const { return boxes_.value(column); }
    // Marks a box's text as not understood (red frame, the reason as tool tip), or clears that.
    void SetProblem(int column, const QString& problem);

    QSize sizeHint() const override;

signals:
    void filterEdited(int column, const QString& text);

protected:
    void updateGeometries() override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void PlaceBoxes();
    int BoxHeight() const;

    QVector<QLineEdit*> boxes_;
};
