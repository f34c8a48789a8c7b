#pragma once

#include <QStyledItemDelegate>

// The item role of a found player's team name; the entries of a team's own list have none.
inline constexpr int kTeamRole = Qt::UserRole + 1;

// Draws the player list's entries ("Smith, John - QB") so that the position always shows in full:
// when the list is narrower than an entry, the name is shortened with "…" and the whole entry
// shows as a tool tip. The entries take the list's width, so no sideways scrolling is needed.
// An entry with a team (kTeamRole) has the team's name at the right, in the placeholder colour.
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
    // The entry and the team beside it as they fit `width`: the team takes what the whole entry
    // leaves, but never more than half the width (shortened with "…" beyond it).
    struct EntryAndTeam {
        QString entry;
        QString team;
    };
    static EntryAndTeam FittedEntryAndTeam(const QString& text, const QString& team,
                                           const QFontMetrics& metrics, int width);

private:
    EntryAndTeam Fitted(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
