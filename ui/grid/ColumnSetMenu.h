#pragma once

#include "grid/GridColumnSets.h"

#include <QMenu>
#include <vector>

class QActionGroup;
class FilterHeader;
class FrozenTableView;
class UserPrompts;

// The grid's Columns menu, on its button and on the captions' context menu: choose a column set
// (the built-in ones and those saved for the league), save the columns shown as a set, delete a
// saved set, and tick the columns to show. Captions dragged along the header reorder the columns;
// the name columns stay first, in the pane that keeps them in view. What the sets are is the
// core's; this applies them to the view's header.
class ColumnSetMenu : public QMenu {
    Q_OBJECT
public:
    ColumnSetMenu(FrozenTableView* view, FilterHeader* header, QWidget* parent = nullptr);

    // Where the name of a set to save is asked; without one, Save asks nothing and saves nothing.
    void SetPrompts(UserPrompts* prompts) { prompts_ = prompts; }

    // The grid columns shown, in view order.
    std::vector<int> ShownColumns() const;
    // Shows these columns in this order (arranged: name columns first) and hides the others; an
    // empty list, or one naming no grid column, changes nothing.
    void Apply(const std::vector<int>& columns);

    const std::vector<tavrel::grid::ColumnSet>& SavedSets() const { return saved_; }
    void SetSavedSets(std::vector<tavrel::grid::ColumnSet> sets) { saved_ = std::move(sets); }
    // Saves the columns shown under `name`, in place of a saved set of that name; false, with
    // message() saying why, for a name that cannot be used.
    bool SaveShownAs(const QString& name);
    // Shows a built-in or saved set; false when there is none of that name.
    bool Choose(const QString& name);
    bool Remove(const QString& name);

signals:
    // The columns shown or the saved sets changed, and are to be kept.
    void changed();
    void message(const QString& text);

private:
    void Fill();
    void AddSetChoice(QActionGroup* choices, const tavrel::grid::ColumnSet& set,
                      const std::vector<int>& shown);
    void AddColumnTick(QMenu* menu, int column, const std::vector<int>& shown);
    void AskAndSave();

    FrozenTableView* view_;
    FilterHeader* header_;
    UserPrompts* prompts_ = nullptr;
    std::vector<tavrel::grid::ColumnSet> saved_;
    bool arranging_ = false;
};
