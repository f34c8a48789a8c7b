#include "ui/main/PlayerItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>

namespace {
const QString kPositionSeparator = QStringLiteral(" - ");
}

QString PlayerItemDelegate::FittedText(const QString& text, const QFontMetrics& metrics,
                                       int width) {
    const qsizetype cut = text.lastIndexOf(kPositionSeparator);
    if (cut < 0 || metrics.horizontalAdvance(text) <= width)
        return metrics.elidedText(text, Qt::ElideRight, width);
    const QString position = text.mid(cut);
    return metrics.elidedText(text.left(cut), Qt::ElideRight,
                              std::max(0, width - metrics.horizontalAdvance(position))) +
           position;
}

QString PlayerItemDelegate::Fitted(const QStyleOptionViewItem& option) const {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget);
    return FittedText(option.text, option.fontMetrics, textRect.width() - 2 * margin);
}

void PlayerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    item.text = Fitted(item);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
}

QSize PlayerItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    // As narrow as the position, so that the entries take the list's width and no more.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(option.fontMetrics.horizontalAdvance(kPositionSeparator + "WWW"));
    return size;
}

bool PlayerItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip) {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        if (Fitted(item) != item.text) {
            QToolTip::showText(event->globalPos(), item.text, view);
            return true;
        }
        QToolTip::hideText();
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
