#pragma once

#include "store/CellChanges.h"

class QMenu;
class PlayerGrid;
class frmMain;

// The player grid beside the form: its View menu item, its changes going into the league as one
// step each, and the form, the lists and the grid showing the same player, the document's
// current one. A sort, a filter or a trade in the grid never moves the form to another player.
class GridSync {
public:
    explicit GridSync(frmMain& window);

    void BuildPlayerGrid(QMenu* viewMenu);
    PlayerGrid* Grid() const { return grid_; }
    // The league's working database was opened anew.
    void LeagueOpened();
    // Cells were written: the grid reads the players again; a team that changed fills the lists
    // again, keeping the player shown.
    void CellsChanged(const tavrel::CellChanges& changes);
    void PlayersReloaded();
    // The window changed its size (maximised, restored, dragged): the form above the grid keeps
    // its bands in view.
    void WindowResized();

private:
    // With the grid docked below the form, once the window has its size: the form gets the height
    // its bands need at its width (they stand side by side as far as it allows) and the grid the
    // rest, but never less than a third of the room the two share.
    void FitFormAboveGrid();

    frmMain& window_;
    PlayerGrid* grid_ = nullptr;
    bool syncing_ = false; // the grid and the form follow each other: no echo
    bool fitPending_ = false;
};
