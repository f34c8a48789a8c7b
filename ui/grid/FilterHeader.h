#pragma once

#include <QHeaderView>
#include <QVector>

class QLineEdit;
class QTableView;

// A table's column header with a filter box under each column's caption, kept in line with the
// columns as they are resized, moved and scrolled. A second header can show the same boxes
// (FollowBoxesOf), for a pane that keeps some columns in view.
class FilterHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FilterHeader(QTableView* view);

    void SetColumnCount(int columns);
    QLineEdit* Box(int column) const { return boxes_.value(column); }
    // Puts a text into a box without telling filterEdited (restoring saved filters).
    void SetBoxText(int column, const QString& text);
    // Marks a box's text as not understood (red frame, the reason as tool tip), or clears that.
    void SetProblem(int column, const QString& problem);
    // This header's boxes show and change `leader`'s filters: what is typed in one shows in the
    // other, the leader's marks show here too, and the leader alone tells filterEdited. Both have
    // their boxes already.
    void FollowBoxesOf(FilterHeader* leader);
    // Columns whose boxes another pane covers: they are not shown here.
    void SetCoveredColumns(const QList<int>& columns);

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
    QList<FilterHeader*> followers_;
    QList<int> covered_;
};
