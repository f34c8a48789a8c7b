// mMain: answers --help and --version, or shows the splash, which brings up the main window after
// about a second, offers to recover the unsaved changes a crash left, and then opens the league
// named on the command line, if any.
#include "base/LeagueError.h"
#include "shell/CommandLine.h"
#include "shell/ProgramFolders.h"
#include "shell/frmSplash2.h"
#include "store/WorkingDatabase.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/ProgramIcon.h"
#include "ui/common/ProgramVersion.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <memory>

namespace {

// The working database and roster files stay in the build folder when the program runs from
// there, and go to the per-user application data folder otherwise. Should that folder be
// impossible to make, the temporary folder serves, still never the program's own.
std::filesystem::path WorkingDirectory() {
    const std::filesystem::path programDirectory =
        QCoreApplication::applicationDirPath().toStdString();
    try {
        return tavrel::ChooseWorkingDirectory(programDirectory, TAVREL_BUILD_PROGRAM_DIR);
    } catch (const tavrel::LeagueError& e) {
        QMessageBox::warning(nullptr, QStringLiteral("Tavrel"), QString::fromStdString(e.what()));
        return QDir::tempPath().toStdString();
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationVersion(tavrel::VersionText());
    QCommandLineParser parser;
    tavrel::DescribeCommandLine(parser);
    if (tavrel::AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        parser.process(app); // prints the help or the version and ends the program
        return 0;
    }

    // The window manager's class of every window (WM_CLASS), which the desktop entry's
    // StartupWMClass names: the same however the program file is named.
    QCoreApplication::setApplicationName(QStringLiteral("tavrel"));
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(TAVREL_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    parser.process(app);
    const QString leagueFile = tavrel::LeagueFileArgument(parser);
    const std::filesystem::path workingDirectory = WorkingDirectory();
    tavrel::SetHelpDataDirectory(tavrel::ProgramDataDirectory());

    std::unique_ptr<frmMain> mainWindow;
    frmSplash2 splash([&] {
        if (!mainWindow) {
            mainWindow = std::make_unique<frmMain>(workingDirectory);
            QObject::connect(mainWindow.get(), &frmMain::Ended, &app, &QApplication::quit,
                             Qt::QueuedConnection);
            // Once the window shows, and outside the splash's timer. Recovered changes come
            // first: the league on the command line then opens as File > Open would, asking to
            // save them.
            QTimer::singleShot(0, mainWindow.get(), [window = mainWindow.get(), leagueFile] {
                window->OfferCrashRecovery();
                if (!leagueFile.isEmpty())
                    window->OpenLeagueFromCommandLine(leagueFile);
            });
        }
        mainWindow->show();
    });
    splash.show();
    return app.exec();
}
