#pragma once

#include "store/CcboList.h"
#include "store/CellChanges.h"
#include "store/TeamChoices.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QWidget;
class ComboBoxTarget;
class ListWidgetTarget;
class frmMain;

// The team and player lists on the left of the main window: filling them, and moving the detail
// fields to the chosen player. The player shown is the document's current player; a list filled
// again for him (his team changed, the order changed) keeps him rather than choosing the first.
class PlayerBrowser : public QObject {
    Q_OBJECT
public:
    explicit PlayerBrowser(frmMain& window);
    ~PlayerBrowser() override;

    // The caption, the team combo and the player list, in `parent`.
    QWidget* BuildLists(QWidget* parent);
    QComboBox* TeamCombo() const { return cboTeam; }
    QListWidget* PlayerList() const { return lstPlayers; }
    void SetTeamPanel(QLabel* panel) { statusPanel2 = panel; }

    // Fills the team combo from the working database and lists the chosen team's players.
    void LoadTeamList();
    // The team combo's choice: lists that team's players, the first of them shown.
    void cboTeam_Click();
    void ReFreshList();
    void SetSortDescending(bool descending);
    // Lists the players of this last name, each with his team's name beside him (kTeamRole).
    void FindPlayersByLastName(const QString& lastName);
    // Shows the player in the form and selects him in the list, choosing his team first when
    // the list does not hold him (or always, with `refill`: his team may have changed).
    void ShowPlayer(int teamId, int pid, bool refill);
    // Takes the form, the lists and the grid to a player, on whatever team he is: the one in this
    // row of the working database, or the first with this PID. False when no player is there.
    bool ShowPlayerOfRowId(std::int64_t rowId);
    bool ShowPlayerOfPid(int pid);
    // The document's current player again, his lists filled anew.
    void FollowCurrentPlayer();
    // Shows new names and positions in the list's entries of the rows `changes` touches.
    void RefreshPlayerEntries(const tavrel::CellChanges& changes);

private:
    void ShowTeamPlayers(const QString& teamId, std::optional<int> keepPid);
    void FillPlayerList(tavrel::CcboList& lister, tavrel::PlayerListOrder order,
                        const QString& filter, std::optional<int> keepPid);
    void ShowPlayerOfRow(int row);
    void lstPlayers_Click();
    void SelectPlayerById(qint16 id);
    int ListedRow(int pid) const;
    // The team name of the player in model row `row`: "Free Agents", the name the team list shows,
    // or "team 40" for a number the league has no team for.
    QString TeamOfRow(int row) const;
    // Puts each found player's team beside him.
    void ShowFoundPlayersTeams();
    void ShowPanel(const QString& text);

    frmMain& window_;
    QComboBox* cboTeam = nullptr;
    QListWidget* lstPlayers = nullptr;
    QLabel* statusPanel2 = nullptr;
    std::unique_ptr<ComboBoxTarget> teamTarget_;
    std::unique_ptr<ListWidgetTarget> playerTarget_;
    bool SortDescending = false;
    std::unique_ptr<tavrel::CcboList> PlayerLister;
    tavrel::TeamNames teamNames_;
    bool listIsFind_ = false; // the list holds a Find's players, from any team
};
