#include "ui/common/UserPrompts.h"

#include "ui/common/ContextIDs.h"
#include "ui/common/FileDialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace {
const QString kProgramTitle = QStringLiteral("Tavrel");
const QString kLastFolderKey = QStringLiteral("FileDialogs/LastFolder");
} // namespace

QString QtUserPrompts::ChooseFile(QWidget* parent, const QString& title, const QString& filter,
                                  bool save) {
    QSettings settings(QSettings::UserScope, QCoreApplication::applicationName());
    const QString start = StartFolder(LeagueFolder(), settings.value(kLastFolderKey).toString());
    const QString file = RunFileDialog(parent, title, filter, start, save);
    if (!file.isEmpty())
        settings.setValue(kLastFolderKey, QFileInfo(file).absolutePath());
    return file;
}

QString QtUserPrompts::ChooseFileToOpen(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return ChooseFile(parent, title, filter, false);
}

QString UserPrompts::ChooseFileToSave(QWidget*, const QString&, const QString&) {
    return {};
}

QString QtUserPrompts::ChooseFileToSave(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return ChooseFile(parent, title, filter, true);
}

bool QtUserPrompts::AskYesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, kProgramTitle, question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<bool> QtUserPrompts::AskYesNoOrCancel(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, kProgramTitle, question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    // A message box takes No for Esc and the close box unless another button does: an unseen
    // Cancel answers them instead.
    QAbstractButton* dismissed = box.addButton(QMessageBox::Cancel);
    dismissed->hide();
    box.setEscapeButton(dismissed);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return true;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return false;
    return std::nullopt;
}

QString QtUserPrompts::AskText(QWidget* parent, const QString& prompt, const QString& title) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    // Finding players is what the window asks text for.
    tavrel::InstallHelpKey(&dialog, tavrel::kHelpPlayers);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kProgramTitle, text);
}

void QtUserPrompts::ShowFailure(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kProgramTitle, text);
}
