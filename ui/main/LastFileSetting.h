#pragma once

#include <QSettings>
#include <QString>

// The league opened last, kept between runs in the per-user settings of the program (application
// name = the executable's name), section "Startup", key "LastFile". Empty when none was kept.
QString ReadLastFile();
void WriteLastFile(const QString& leagueFile);

// The per-user settings of the program, under its application name.
QSettings ProgramSettings();
