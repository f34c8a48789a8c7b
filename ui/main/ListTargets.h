#pragma once

#include "store/CcboList.h"

class QComboBox;
class QListWidget;

// The window's list and combo boxes as targets of CcboList. Item data lives in Qt::UserRole.

class ListWidgetTarget : public tavrel::ListTarget {
public:
    explicit ListWidgetTarget(QListWidget* list) : list_(list) {}
    void SetListEntry(int index, const std::string& text) override;
    int NewIndex() const override { return newIndex_; }
    void SetItemData(int index, int data) override;
    std::string Text() const override;
    // Selects the first entry with exactly this text; no entry is selected when none has it.
    void SetText(const std::string& text) override;
    int Style() const override { return 0; }
    void Clear() override;

private:
    QListWidget* list_;
    int newIndex_ = -1;
};

class ComboBoxTarget : public tavrel::ListTarget {
public:
    explicit ComboBoxTarget(QComboBox* combo) : combo_(combo) {}
    void SetListEntry(int index, const std::string& text) override;
    int NewIndex() const override { return newIndex_; }
    void SetItemData(int index, int data) override;
    std::string Text() const override;
    // An editable combo takes the text as typed; a drop-down list selects the matching entry.
    void SetText(const std::string& text) override;
    int Style() const override;
    void Clear() override;

private:
    QComboBox* combo_;
    int newIndex_ = -1;
};
