#include "ui/main/LastFileSetting.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("Startup/LastFile");

} // namespace

QSettings ProgramSettings() {
    return QSettings(QSettings::UserScope, QCoreApplication::applicationName());
}

QString ReadLastFile() {
    return ProgramSettings().value(kKey).toString();
}

void WriteLastFile(const QString& leagueFile) {
    ProgramSettings().setValue(kKey, leagueFile);
}
