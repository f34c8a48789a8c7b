#include "ui/grid/PlayerGridDelegate.h"

#include "grid/GridColumns.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool IsFillKey(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & Qt::ControlModifier);
}

} // namespace

QWidget* PlayerGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    if (index.column() != tavrel::grid::kTeamColumn)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* teams = new QComboBox(parent);
    teams->addItems(teamNames);
    return teams;
}

void PlayerGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* teams = qobject_cast<QComboBox*>(editor))
        teams->setCurrentText(index.data().toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void PlayerGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* teams = qobject_cast<QComboBox*>(editor))
        model->setData(index, teams->currentText());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

bool PlayerGridDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsFillKey(static_cast<QKeyEvent*>(event))) {
        auto* widget = static_cast<QWidget*>(editor);
        QString text;
        if (auto* teams = qobject_cast<QComboBox*>(widget))
            text = teams->currentText();
        else if (auto* line = qobject_cast<QLineEdit*>(widget))
            text = line->text();
        emit closeEditor(widget, NoHint); // the fill below writes, not this editor
        emit fillRequested(text);
        return true;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}
