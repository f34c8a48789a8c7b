#include "ui/common/UserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
const QString kProgramTitle = QStringLiteral("Tavrel");
}

QString QtUserPrompts::ChooseFileToOpen(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString UserPrompts::ChooseFileToSave(QWidget*, const QString&, const QString&) {
    return {};
}

QString QtUserPrompts::ChooseFileToSave(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
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
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, {}, &ok);
    return ok ? text : QString();
}

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kProgramTitle, text);
}

void QtUserPrompts::ShowFailure(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kProgramTitle, text);
}
