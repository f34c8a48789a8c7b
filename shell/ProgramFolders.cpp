#include "shell/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tavrel {

QString ProgramDataDirectory(const QString& programDirectory) {
    const QString installed = QDir::cleanPath(programDirectory + QLatin1Char('/') +
                                              QLatin1String(TAVREL_DATA_FROM_PROGRAM));
    return QFileInfo(installed).isDir() ? installed : programDirectory;
}

QString ProgramDataDirectory() {
    return ProgramDataDirectory(QCoreApplication::applicationDirPath());
}

} // namespace tavrel
