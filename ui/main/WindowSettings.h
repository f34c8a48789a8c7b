#pragma once

#include <QByteArray>
#include <QString>

// How the main window looked when it was last closed, kept between runs in the program's
// settings (section "Window"): its geometry, the splitter between the lists and the player, and
// the team last chosen. Empty values when none was kept.
struct WindowSettings {
    QByteArray geometry;
    QByteArray splitter;
    QString team;
};

WindowSettings ReadWindowSettings();
void WriteWindowLayout(const QByteArray& geometry, const QByteArray& splitter);
void WriteLastTeam(const QString& team);
