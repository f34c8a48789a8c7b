#pragma once

#include "ui/grid/FrozenTableView.h"
#include "ui/grid/PlayerGridModel.h"

#include <QDockWidget>
#include <QTableView>

class QComboBox;
class QLabel;
class QToolButton;
class ColumnSetMenu;
class FilterHeader;
class UserPrompts;

// The dock of the player grid: a choice of players above (whole league, free agents, one team)
// and of the columns, the filter boxes under the column captions, the table with the columns that
// name a player kept in view on its left, and how many players it shows. Copy (Ctrl+C), paste
// (Ctrl+V) and fill (Ctrl+Enter in an editor) work on the selected cells of the columns shown, in
// the order shown; every change goes through the model's change sink as one step. The filters,
// the choice of players, the columns shown and the saved column sets are kept per league.
class PlayerGrid : public QDockWidget {
    Q_OBJECT
public:
    explicit PlayerGrid(QWidget* parent = nullptr);

    PlayerGridModel* Model() const { return model_; }
    FrozenTableView* View() const { return view_; }
    FilterHeader* Filters() const { return header_; }
    FilterHeader* FrozenFilters() const { return frozenHeader_; }
    ColumnSetMenu* Columns() const { return columns_; }
    // Where the name of a column set to save is asked.
    void SetPrompts(UserPrompts* prompts);
    QComboBox* ScopeChoice() const { return scope_; }
    QLabel* CountLabel() const { return count_; }

    // The league whose filters are kept; its players are read when the grid is next shown.
    void SetLeague(const QString& leagueFile, const std::filesystem::path& workingDb);
    // The stored players changed elsewhere (the form, Global Edit, undo): read them again once
    // the grid is shown and the events of now are handled.
    void PlayersChanged();
    // Reads the players now (when a league is set).
    void Reload();
    // Makes this player's row (by rowid) the current one, without telling playerChosen; when the
    // rows shown do not hold him (a filter hides him), none is current. The grid keeps him as
    // its current player through sorting, filtering and reloading.
    void SetCurrentPlayer(std::optional<std::int64_t> rowId);

    void CopySelection();
    void PasteIntoSelection(const QString& text);
    void FillSelection(const QString& text);

signals:
    void playerChosen(int teamId, int pid);
    void message(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillScopeChoice();
    void ShowCount();
    void SaveSettings() const;
    void RestoreSettings();
    void SortClicked(int column);
    // The grid columns shown, in view order.
    std::vector<int> ShownColumns() const;
    void CurrentRowChanged(const QModelIndex& current);
    // The current player's row again, after the rows were worked out anew.
    void ShowCurrentPlayer();
    // The selected cells of the columns shown.
    QModelIndexList SelectedShownCells() const;
    // Selected cells as rowid * 1000 + column, which survive a new order or a reload.
    std::vector<std::int64_t> SelectedCells() const;
    void SelectCells(const std::vector<std::int64_t>& rowIds, std::int64_t currentRowId,
                     int currentColumn);

    PlayerGridModel* model_;
    FrozenTableView* view_;
    FilterHeader* header_;
    FilterHeader* frozenHeader_;
    ColumnSetMenu* columns_;
    QToolButton* columnsButton_;
    QComboBox* scope_;
    QLabel* count_;
    QString leagueFile_;
    std::filesystem::path workingDb_;
    bool stale_ = false;
    bool reloadQueued_ = false;
    bool quiet_ = false;                        // selecting rows ourselves: not the user's choice
    std::optional<std::int64_t> currentPlayer_; // by rowid
};
