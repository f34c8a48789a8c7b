#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <string_view>

namespace tavrel {

void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Tavrel edits the players of a league: their names and ratings, whole "
                       "positions at once (Global Edit), roster files, and saves them back into "
                       "the league's player file."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("league"),
                                 QStringLiteral("League file (.lge) to open after start-up."),
                                 QStringLiteral("[league]"));
}

bool AsksForTextOnly(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            return false; // what follows are file names
        if (argument == "-h" || argument == "-?" || argument == "--help" ||
            argument == "--help-all" || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

QString LeagueFileArgument(const QCommandLineParser& parser) {
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

} // namespace tavrel
