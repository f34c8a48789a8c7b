#pragma once

#include <QStyledItemDelegate>

// Draws the player list's entries ("Smith, John - QB") so that the position always shows in full:
// when the list is narrower than an entry, the name is shortened with "…" and the whole entry
// shows as a tool tip. The entries take the list's width, so no sideways scrolling is needed.
class PlayerItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The entry as it fits `width` pixels of `metrics`.
    static QString FittedText(const QString& text, const QFontMetrics& metrics, int width);

private:
    QString Fitted(const QStyleOptionViewItem& option) const;
};
