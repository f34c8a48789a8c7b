#pragma once

#include <QString>

class frmMain;

// The main window's File commands on the league itself: open, reopen, save, print and the
// question that settles unsaved changes before the league or the program is left.
class LeagueCommands {
public:
    explicit LeagueCommands(frmMain& window);

    // The league remembered from the last run, offered as the reopen item.
    const QString& LastFile() const { return LastFile_; }

    void OpenLeague();
    void ReopenLeague();
    bool OpenLeagueFromCommandLine(const QString& leagueFile);
    bool SaveCurrentLeague();
    void PrintLeague();
    // Asked whenever the program ends: false when it must go on (Esc, or a failed save).
    bool ConfirmEnd();

private:
    // Saves, lets go of or keeps (false: the command stops) the unsaved changes.
    bool SettleUnsavedChanges();
    bool OpenLeagueFile(const QString& leagueFile, bool remember);

    frmMain& window_;
    QString LastFile_;
};
