#pragma once

#include "store/CellChanges.h"

#include <QUndoCommand>
#include <functional>

// One step of the undo history: a list of changed cells of Players and the text that names it
// ("Global Edit of QB, WR"). Undo writes the `before` values, redo the `after` values, each
// through `write`, which reports a failure itself and returns false; the cells then stay as they
// were and the command knows which side the table holds, so the next undo or redo writes only
// what is not there yet.
class ChangeCellsCommand : public QUndoCommand {
public:
    using Writer = std::function<bool(const tavrel::CellChanges&, tavrel::CellSide)>;

    // `applied`: the table already holds the `after` values (the change was written before it
    // was pushed), so the first redo writes nothing.
    ChangeCellsCommand(const QString& text, tavrel::CellChanges changes, Writer write,
                       bool applied);

    void undo() override;
    void redo() override;

    // Whether the table holds the `after` values of this step.
    bool IsApplied() const { return applied_; }
    const tavrel::CellChanges& Changes() const { return changes_; }

private:
    void Write(tavrel::CellSide side);

    tavrel::CellChanges changes_;
    Writer write_;
    bool applied_;
};
