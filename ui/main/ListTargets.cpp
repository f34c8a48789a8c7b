#include "ui/main/ListTargets.h"

#include <QComboBox>
#include <QListWidget>

namespace {
QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

void ListWidgetTarget::SetListEntry(int index, const std::string& text) {
    if (index == list_->count()) {
        list_->addItem(FromUtf8(text));
        newIndex_ = index;
    } else if (QListWidgetItem* item = list_->item(index)) {
        item->setText(FromUtf8(text));
    }
}

void ListWidgetTarget::SetItemData(int index, int data) {
    if (QListWidgetItem* item = list_->item(index))
        item->setData(Qt::UserRole, data);
}

std::string ListWidgetTarget::Text() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->text().toStdString() : std::string();
}

void ListWidgetTarget::SetText(const std::string& text) {
    const auto found = list_->findItems(FromUtf8(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    list_->setCurrentItem(found.isEmpty() ? nullptr : found.first());
}

void ListWidgetTarget::Clear() {
    list_->clear();
    newIndex_ = -1;
}

void ComboBoxTarget::SetListEntry(int index, const std::string& text) {
    if (index == combo_->count()) {
        combo_->addItem(FromUtf8(text));
        newIndex_ = index;
    } else if (index >= 0 && index < combo_->count()) {
        combo_->setItemText(index, FromUtf8(text));
    }
}

void ComboBoxTarget::SetItemData(int index, int data) {
    combo_->setItemData(index, data, Qt::UserRole);
}

std::string ComboBoxTarget::Text() const {
    return combo_->currentText().toStdString();
}

void ComboBoxTarget::SetText(const std::string& text) {
    if (combo_->isEditable())
        combo_->setEditText(FromUtf8(text));
    else
        combo_->setCurrentIndex(combo_->findText(FromUtf8(text), Qt::MatchExactly));
}

int ComboBoxTarget::Style() const {
    return combo_->isEditable() ? 0 : tavrel::kDropDownListStyle;
}

void ComboBoxTarget::Clear() {
    combo_->clear();
    newIndex_ = -1;
}
