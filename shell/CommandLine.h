#pragma once

#include <QString>

class QCommandLineParser;

namespace tavrel {

// The window program's command line: --help, --version and, optionally, a league file to open.
void DescribeCommandLine(QCommandLineParser& parser);

// Whether the arguments ask for --help or --version, which are answered on standard output
// before any window is made, so that they work without a display.
bool AsksForTextOnly(int argc, const char* const* argv);

// The league file named on the processed command line, made absolute; empty when none is named.
QString LeagueFileArgument(const QCommandLineParser& parser);

} // namespace tavrel
