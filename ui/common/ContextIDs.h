#pragma once

#include <QString>

class QWidget;

namespace tavrel {

class HelpViewer;

// Topic numbers of the help pages. The Global Edit dialog's Help button opens 320.
inline constexpr int kHelpLeagueFiles = 110;
inline constexpr int kHelpPlayers = 120;
inline constexpr int kHelpGrid = 130;
inline constexpr int kHelpRatingsChart = 140;
inline constexpr int kHelpGlobalEdit = 320;
inline constexpr int kHelpExchange = 410;
inline constexpr int kHelpCompare = 420;
inline constexpr int kHelpLeagueCheck = 430;
inline constexpr int kHelpRosters = 510;
inline constexpr int kHelpFilesWritten = 610;
inline constexpr int kHelpBackups = 620;

inline constexpr const char* kHelpFileName = "Tavrel99.HLP";

// The help file path: the program directory, blanks around it removed, joined to "Tavrel99.HLP"
// with exactly one separator ("C:\" gives "C:\Tavrel99.HLP", "/opt/tavrel" gives
// "/opt/tavrel/Tavrel99.HLP").
QString HelpFilePath(const QString& programDirectory);

// The folder of HTML pages that stands for the help file: beside it, named after it
// ("Tavrel99-help"). CMake copies the pages there beside the program, and installs them into the
// program's data folder.
QString HelpPagesFolder(const QString& helpFilePath);

// The page of a topic number ("globaledit.html" for 320); "topic-<number>.html" for any other
// number, which shows as not found unless such a page has been added to the help folder.
QString HelpPageOfContext(int contextId);

// Where the help file is looked for: the program's data folder, which start-up finds (see
// ProgramDataDirectory); the program's own folder until it is set.
void SetHelpDataDirectory(const QString& dataDirectory);

// Remembers the owner window and the help file path (from the data folder, or the directory
// given). The pages are read from the help folder when it
// exists, otherwise from the copies compiled into the program, so help always opens.
void InitHelp(QWidget* owner);
void InitHelp(QWidget* owner, const QString& programDirectory);

// Open the help viewer at the contents page or at one topic. A page that cannot be found shows
// the viewer's own "not found" text; nothing is reported to the caller.
void ShowHelpContents();
void ShowHelpContext(int contextId);

// F1 anywhere in `window` opens the help at one topic.
void InstallHelpKey(QWidget* window, int contextId);

// Closes the help viewer, if it is open.
void QuitHelp();

// The help file path InitHelp set, and the open viewer (null when none is open).
QString CurrentHelpFilePath();
HelpViewer* OpenHelpViewer();

} // namespace tavrel
