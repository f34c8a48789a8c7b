// mMain: shows the splash, which brings up the main window after about a second; the window then
// offers to recover the unsaved changes a crash left.
#include "league/LeagueError.h"
#include "shell/frmSplash2.h"
#include "store/WorkingDatabase.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>

namespace {

// The working database and roster files go beside the program when it may write there, else to
// the per-user application data directory.
std::filesystem::path WorkingDirectory() {
    const std::filesystem::path programDirectory =
        QCoreApplication::applicationDirPath().toStdString();
    try {
        return tavrel::ChooseWorkingDirectory(programDirectory);
    } catch (const tavrel::LeagueError& e) {
        QMessageBox::warning(nullptr, QStringLiteral("Tavrel"), QString::fromStdString(e.what()));
        return programDirectory;
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::filesystem::path workingDirectory = WorkingDirectory();

    std::unique_ptr<frmMain> mainWindow;
    frmSplash2 splash([&] {
        if (!mainWindow) {
            mainWindow = std::make_unique<frmMain>(workingDirectory);
            QObject::connect(mainWindow.get(), &frmMain::Ended, &app, &QApplication::quit,
                             Qt::QueuedConnection);
            // Once the window shows, and outside the splash's timer.
            QTimer::singleShot(0, mainWindow.get(),
                               [window = mainWindow.get()] { window->OfferCrashRecovery(); });
        }
        mainWindow->show();
    });
    splash.show();
    return app.exec();
}
