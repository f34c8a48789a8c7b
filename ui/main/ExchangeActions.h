#pragma once

#include <functional>

class QLabel;
class ReportDialog;
struct ReportTarget;
class frmMain;

// The main window's spreadsheet export and import, comparing with another league and the league
// check. Each handler asks for what it needs, calls the exchange library and shows the outcome;
// an import's changes go into the league as one step, as every change does.
class ExchangeActions {
public:
    explicit ExchangeActions(frmMain& window);

    // The File items after Restore Backup and View > League Check, each run by its menu's
    // dispatch (`fileItem`, `viewItem`) with its index.
    void AddExchangeItems(const std::function<void(int)>& fileItem,
                          const std::function<void(int)>& viewItem);
    void ExportPlayers();
    void ImportPlayers();
    void CompareWith();
    void ShowLeagueCheck();
    // The status bar's word on the league just opened, once its first player is shown.
    void CheckOpenedLeague();

    // Takes the window to the player a report's row is about, or says in the status bar why not.
    void ShowReportPlayer(const ReportTarget& target);

private:
    // A double-click on a row of `report` shows its player.
    void LeadToPlayers(ReportDialog& report);
    void CheckLeagueNow();

    frmMain& window_;
    QLabel* leagueCheckPanel_ = nullptr;
};
