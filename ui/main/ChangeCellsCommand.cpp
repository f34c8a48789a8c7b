#include "ui/main/ChangeCellsCommand.h"

ChangeCellsCommand::ChangeCellsCommand(const QString& text, tavrel::CellChanges changes,
                                       Writer write, bool applied)
    : QUndoCommand(text), changes_(std::move(changes)), write_(std::move(write)),
      applied_(applied) {}

void ChangeCellsCommand::undo() {
    if (applied_)
        Write(tavrel::CellSide::Before);
}

void ChangeCellsCommand::redo() {
    if (!applied_)
        Write(tavrel::CellSide::After);
}

void ChangeCellsCommand::Write(tavrel::CellSide side) {
    if (write_(changes_, side))
        applied_ = side == tavrel::CellSide::After;
}
