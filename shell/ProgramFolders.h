#pragma once

#include <QString>

namespace tavrel {

// The folder the window program reads its help pages and other data from: the installation's
// data folder, found from the program's folder ("bin" gives "../share/tavrel"), when it is
// there; otherwise the program's folder itself, where the build copies the data beside the
// program.
QString ProgramDataDirectory(const QString& programDirectory);
// The same for the running program.
QString ProgramDataDirectory();

} // namespace tavrel
