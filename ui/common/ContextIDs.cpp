#include "ui/common/ContextIDs.h"

#include "ui/common/HelpViewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>

namespace tavrel {
namespace {

// The help state of the program: the owner window and help file InitHelp set, and the viewer
// once it has been opened.
struct HelpState {
    QString dataDirectory; // empty: the program's own folder
    QPointer<QWidget> ownerWindow;
    QString helpFile;
    QPointer<HelpViewer> viewer;
};

HelpState& State() {
    static HelpState state;
    return state;
}

QString DataDirectory() {
    const QString& set = State().dataDirectory;
    return set.isEmpty() ? QCoreApplication::applicationDirPath() : set;
}

// The pages come from the help folder beside the help file when it is there, otherwise from the
// copies compiled into the program.
QUrl PagesRoot(const QString& helpFile) {
    const QString folder = HelpPagesFolder(helpFile);
    if (QFileInfo(folder).isDir())
        return QUrl::fromLocalFile(folder + QLatin1Char('/'));
    return QUrl(QStringLiteral("qrc:/help/"));
}

void ShowPage(const QString& page) {
    HelpState& state = State();
    if (state.helpFile.isEmpty())
        state.helpFile = HelpFilePath(DataDirectory());
    if (!state.viewer) {
        state.viewer = new HelpViewer(PagesRoot(state.helpFile));
        if (state.ownerWindow)
            state.viewer->move(state.ownerWindow->geometry().center() -
                               state.viewer->rect().center());
    }
    state.viewer->ShowPage(page);
    state.viewer->show();
    state.viewer->raise();
    state.viewer->activateWindow();
}

} // namespace

QString HelpFilePath(const QString& programDirectory) {
    const QString dir = programDirectory.trimmed();
    if (dir.isEmpty())
        return QString::fromLatin1(kHelpFileName);
    if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir + QLatin1String(kHelpFileName);
    // Join with the separator the directory already uses.
    const QChar separator = dir.contains(QLatin1Char('\\')) && !dir.contains(QLatin1Char('/'))
                                ? QLatin1Char('\\')
                                : QLatin1Char('/');
    return dir + separator + QLatin1String(kHelpFileName);
}

QString HelpPagesFolder(const QString& helpFilePath) {
    QString folder = helpFilePath;
    if (folder.endsWith(QLatin1String(".HLP"), Qt::CaseInsensitive))
        folder.chop(4);
    return folder + QLatin1String("-help");
}

QString HelpPageOfContext(int contextId) {
    switch (contextId) {
    case kHelpLeagueFiles:
        return QStringLiteral("league.html");
    case kHelpPlayers:
        return QStringLiteral("players.html");
    case kHelpGlobalEdit:
        return QStringLiteral("globaledit.html");
    case kHelpGrid:
        return QStringLiteral("grid.html");
    case kHelpRatingsChart:
        return QStringLiteral("chart.html");
    case kHelpExchange:
        return QStringLiteral("exchange.html");
    case kHelpCompare:
        return QStringLiteral("compare.html");
    case kHelpLeagueCheck:
        return QStringLiteral("leaguecheck.html");
    case kHelpBackups:
        return QStringLiteral("backups.html");
    case kHelpRosters:
        return QStringLiteral("rosters.html");
    case kHelpFilesWritten:
        return QStringLiteral("files.html");
    default:
        return QStringLiteral("topic-%1.html").arg(contextId);
    }
}

void SetHelpDataDirectory(const QString& dataDirectory) {
    State().dataDirectory = dataDirectory;
}

void InitHelp(QWidget* owner) {
    InitHelp(owner, DataDirectory());
}

void InitHelp(QWidget* owner, const QString& programDirectory) {
    HelpState& state = State();
    QuitHelp(); // a viewer opened on another help file would show the old pages
    state.ownerWindow = owner;
    state.helpFile = HelpFilePath(programDirectory);
}

void ShowHelpContents() {
    ShowPage(QStringLiteral("contents.html"));
}

void ShowHelpContext(int contextId) {
    ShowPage(HelpPageOfContext(contextId));
}

void InstallHelpKey(QWidget* window, int contextId) {
    auto* key = new QShortcut(QKeySequence::HelpContents, window);
    key->setObjectName(QStringLiteral("helpKey"));
    QObject::connect(key, &QShortcut::activated, window,
                     [contextId] { ShowHelpContext(contextId); });
}

void QuitHelp() {
    delete State().viewer.data();
}

QString CurrentHelpFilePath() {
    return State().helpFile;
}

HelpViewer* OpenHelpViewer() {
    return State().viewer.data();
}

} // namespace tavrel
