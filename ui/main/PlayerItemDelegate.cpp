#include "ui/main/PlayerItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace {
const QString kPositionSeparator = QStringLiteral(" - ");
const QString kTeamGap = QStringLiteral("  ");

QRect TextRect(const QStyleOptionViewItem& option, int* margin) {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    *margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget);
}
} // namespace

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

PlayerItemDelegate::EntryAndTeam PlayerItemDelegate::FittedEntryAndTeam(const QString& text,
                                                                        const QString& team,
                                                                        const QFontMetrics& metrics,
                                                                        int width) {
    if (team.isEmpty())
        return {FittedText(text, metrics, width), {}};
    const int gap = metrics.horizontalAdvance(kTeamGap);
    if (metrics.horizontalAdvance(text) + gap + metrics.horizontalAdvance(team) <= width)
        return {text, team};
    const int teamRoom =
        std::min(metrics.horizontalAdvance(team),
                 std::max(width / 2, width - gap - metrics.horizontalAdvance(text)));
    return {FittedText(text, metrics, width - gap - teamRoom),
            metrics.elidedText(team, Qt::ElideRight, teamRoom)};
}

PlayerItemDelegate::EntryAndTeam PlayerItemDelegate::Fitted(const QStyleOptionViewItem& option,
                                                            const QModelIndex& index) const {
    int margin = 0;
    const QRect textRect = TextRect(option, &margin);
    return FittedEntryAndTeam(option.text, index.data(kTeamRole).toString(), option.fontMetrics,
                              textRect.width() - 2 * margin);
}

void PlayerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const EntryAndTeam fitted = Fitted(item, index);
    item.text = fitted.entry;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (fitted.team.isEmpty())
        return;
    int margin = 0;
    const QRect textRect = TextRect(item, &margin).adjusted(margin, 0, -margin, 0);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(item.state & QStyle::State_Selected
                                           ? QPalette::HighlightedText
                                           : QPalette::PlaceholderText));
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, fitted.team);
    painter->restore();
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
        const QString team = index.data(kTeamRole).toString();
        const EntryAndTeam fitted = Fitted(item, index);
        if (fitted.entry != item.text || fitted.team != team) {
            QToolTip::showText(
                event->globalPos(),
                team.isEmpty() ? item.text : item.text + QStringLiteral(" (") + team + ')', view);
            return true;
        }
        QToolTip::hideText();
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
