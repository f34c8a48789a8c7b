#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

// The grid's cells: a drop-down of the league's teams for the Team column, a line for the rest.
// Ctrl+Enter in an editor asks to fill every selected cell with its text instead of this one.
class PlayerGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QStringList teamNames;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    void fillRequested(const QString& text);

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
};
