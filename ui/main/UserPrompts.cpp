#include "ui/main/UserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
const QString kProgramTitle = QStringLiteral("Tavrel");
}

QString QtUserPrompts::ChooseFileToOpen(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtUserPrompts::ChooseFileToSave(QWidget* parent, const QString& title,
                                        const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

bool QtUserPrompts::AskYesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, kProgramTitle, question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString QtUserPrompts::AskText(QWidget* parent, const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, {}, &ok);
    return ok ? text : QString();
}

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kProgramTitle, text);
}
