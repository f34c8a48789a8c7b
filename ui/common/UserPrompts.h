#pragma once

#include <QString>
#include <optional>

class QWidget;

// Every question and message the main window puts to the user goes through here, so that tests
// can answer them without modal dialogs.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // The chosen file, or empty when the user cancelled. `filter` in Qt's form.
    virtual QString ChooseFileToOpen(QWidget* parent, const QString& title,
                                     const QString& filter) = 0;
    // The file to write, or empty when the user cancelled; the dialog has asked before replacing
    // an existing file. Prompts that offer no file dialog cancel.
    virtual QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter);
    // True for Yes, false for No.
    virtual bool AskYesNo(QWidget* parent, const QString& question) = 0;
    // The same question where Esc or the close box must not count as No: nothing then, and the
    // command that asked stops. Prompts that cannot be dismissed answer as AskYesNo.
    virtual std::optional<bool> AskYesNoOrCancel(QWidget* parent, const QString& question) {
        return AskYesNo(parent, question);
    }
    // The entered text; empty when the user cancelled.
    virtual QString AskText(QWidget* parent, const QString& prompt, const QString& title) = 0;
    // A message with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A message that something failed, with an OK button; shown as a warning where it can be.
    virtual void ShowFailure(QWidget* parent, const QString& text) { ShowMessage(parent, text); }

    // The open league's folder, where file dialogs start; empty when no league is open.
    void SetLeagueFolder(const QString& folder) { leagueFolder_ = folder; }
    const QString& LeagueFolder() const { return leagueFolder_; }

private:
    QString leagueFolder_;
};

// The real dialogs: file dialog, message boxes and input box, titled with the program's name.
class QtUserPrompts : public UserPrompts {
public:
    QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter) override;
    QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter) override;
    bool AskYesNo(QWidget* parent, const QString& question) override;
    std::optional<bool> AskYesNoOrCancel(QWidget* parent, const QString& question) override;
    QString AskText(QWidget* parent, const QString& prompt, const QString& title) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowFailure(QWidget* parent, const QString& text) override;

private:
    QString ChooseFile(QWidget* parent, const QString& title, const QString& filter, bool save);
};
