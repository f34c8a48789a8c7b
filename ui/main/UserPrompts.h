#pragma once

#include <QString>

class QWidget;

// Every question and message the main window puts to the user goes through here, so that tests
// can answer them without modal dialogs.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // The chosen file, or empty when the user cancelled. `filter` in Qt's form.
    virtual QString ChooseFileToOpen(QWidget* parent, const QString& title,
                                     const QString& filter) = 0;
    // The file to write, or empty when the user cancelled (the default, for prompts that only
    // open). `filter` in Qt's form.
    virtual QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter) {
        (void)parent, (void)title, (void)filter;
        return {};
    }
    // True for Yes, false for No.
    virtual bool AskYesNo(QWidget* parent, const QString& question) = 0;
    // The entered text; empty when the user cancelled.
    virtual QString AskText(QWidget* parent, const QString& prompt, const QString& title) = 0;
    // A message with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
};

// The real dialogs: file dialog, message boxes and input box, titled with the program's name.
class QtUserPrompts : public UserPrompts {
public:
    QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter) override;
    QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter) override;
    bool AskYesNo(QWidget* parent, const QString& question) override;
    QString AskText(QWidget* parent, const QString& prompt, const QString& title) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
};
