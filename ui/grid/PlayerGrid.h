#pragma once

#include "ui/grid/PlayerGridModel.h"

#include <QDockWidget>
#include <QStyledItemDelegate>
#include <QTableView>

class QComboBox;
class QLabel;
class FilterHeader;

// The grid's cells: a drop-down of the league's teams for the Team column, a line for the rest.
// Ctrl+Enter in an editor asks to fill every selected cell with its text instead of this one.
class PlayerGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QStringList teamNames;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    void fillRequested(const QString& text);

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
};

// The dock of the player grid: a choice of players above (whole league, free agents, one team),
// the filter boxes under the column captions, the table, and how many players it shows. Copy
// (Ctrl+C), paste (Ctrl+V) and fill (Ctrl+Enter in an editor) work on the selected cells; every
// change goes through the model's change sink as one step.
class PlayerGrid : public QDockWidget {
    Q_OBJECT
public:
    explicit PlayerGrid(QWidget* parent = nullptr);

    PlayerGridModel* Model() const { return model_; }
    QTableView* View() const { return view_; }
    FilterHeader* Filters() const { return header_; }
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
    void CurrentRowChanged(const QModelIndex& current);
    // The current player's row again, after the rows were worked out anew.
    void ShowCurrentPlayer();
    // Selected cells as rowid * 1000 + column, which survive a new order or a reload.
    std::vector<std::int64_t> SelectedCells() const;
    void SelectCells(const std::vector<std::int64_t>& rowIds, std::int64_t currentRowId,
                     int currentColumn);

    PlayerGridModel* model_;
    QTableView* view_;
    FilterHeader* header_;
    PlayerGridDelegate* delegate_;
    QComboBox* scope_;
    QLabel* count_;
    QString leagueFile_;
    std::filesystem::path workingDb_;
    bool stale_ = false;
    bool reloadQueued_ = false;
    bool quiet_ = false;                        // selecting rows ourselves: not the user's choice
    std::optional<std::int64_t> currentPlayer_; // by rowid
};
