#include "ui/main/WindowSettings.h"

#include "ui/main/LastFileSetting.h"

namespace {
const QString kGeometry = QStringLiteral("Window/Geometry");
const QString kSplitter = QStringLiteral("Window/Splitter");
const QString kTeam = QStringLiteral("Window/LastTeam");
} // namespace

WindowSettings ReadWindowSettings() {
    const QSettings settings = ProgramSettings();
    return {settings.value(kGeometry).toByteArray(), settings.value(kSplitter).toByteArray(),
            settings.value(kTeam).toString()};
}

void WriteWindowLayout(const QByteArray& geometry, const QByteArray& splitter) {
    QSettings settings = ProgramSettings();
    settings.setValue(kGeometry, geometry);
    settings.setValue(kSplitter, splitter);
}

void WriteLastTeam(const QString& team) {
    ProgramSettings().setValue(kTeam, team);
}
