#pragma once

#include <QString>

class QWidget;

// The extension of a file filter's first pattern ("CSV Files (*.csv)" gives "csv"); empty when
// it has none ("All Files (*)").
QString ExtensionOfFilter(const QString& filter);

// The chosen name with the chosen filter's extension added when the name has no extension of
// its own, so that "roster" saved as a CSV file is written as "roster.csv".
QString WithFilterExtension(const QString& file, const QString& filter);

// Where a file dialog starts: the open league's folder, else the last folder a file was chosen
// in, else the user's home folder; never the working directory. Folders not there are skipped.
QString StartFolder(const QString& leagueFolder, const QString& lastFolder);

// The file dialog every command uses. `save` asks before replacing a file, the name including
// the extension the chosen filter adds. Empty when the user cancelled.
QString RunFileDialog(QWidget* parent, const QString& title, const QString& filter,
                      const QString& startFolder, bool save);
