#include "ui/common/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

QString ExtensionOfFilter(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9_$]+))"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString WithFilterExtension(const QString& file, const QString& filter) {
    const QString extension = ExtensionOfFilter(filter);
    if (file.isEmpty() || extension.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    return file + QLatin1Char('.') + extension;
}

QString StartFolder(const QString& leagueFolder, const QString& lastFolder) {
    for (const QString& folder : {leagueFolder, lastFolder})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}

QString RunFileDialog(QWidget* parent, const QString& title, const QString& filter,
                      const QString& startFolder, bool save) {
    QFileDialog dialog(parent, title, startFolder, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The dialog adds the extension before it asks about replacing a file, so the question is
    // about the file that will really be written.
    if (save) {
        dialog.setDefaultSuffix(ExtensionOfFilter(filter));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) {
                             dialog.setDefaultSuffix(ExtensionOfFilter(chosen));
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().constFirst();
    return save ? WithFilterExtension(file, dialog.selectedNameFilter()) : file;
}
