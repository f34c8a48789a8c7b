// frmMain's undo history: every change to the players is one step of one QUndoStack, whose clean
// state is the league as last opened or saved.
#include "ui/main/ChangeCellsCommand.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>

void frmMain::BuildHistory(QMenu* editMenu) {
    history_ = new QUndoStack(this);
    connect(history_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
    // A value still being typed is kept before the menu can undo anything: opening a menu does
    // not take the focus from its box.
    connect(editMenu, &QMenu::aboutToShow, this, &frmMain::CommitPendingEdit);
    // After the Edit menu's own items, whose indexes stay as they are.
    editMenu->addSeparator();
    QAction* undo = history_->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName("actUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = history_->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName("actRedo");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu->addAction(undo);
    editMenu->addAction(redo);
}

bool frmMain::HasUnsavedChanges() const {
    return !history_->isClean();
}

bool frmMain::ApplyChanges(const QString& text, tavrel::CellChanges changes) {
    if (!league_)
        return false;
    CommitPendingEdit(); // a value still being typed is a step of its own, before this one
    return PushChanges(text, std::move(changes));
}

bool frmMain::PushChanges(const QString& text, tavrel::CellChanges changes) {
    if (changes.empty())
        return true;
    if (!WriteChangesSide(changes, tavrel::CellSide::After))
        return false;
    history_->push(new ChangeCellsCommand(text, std::move(changes), StepWriter(), true));
    return true;
}

void frmMain::RecordChanges(const QString& text, tavrel::CellChanges changes) {
    if (changes.empty())
        return;
    Data1->CellsChanged(changes);
    ShowChangedPlayers(changes);
    history_->push(new ChangeCellsCommand(text, std::move(changes), StepWriter(), true));
}

std::function<bool(const tavrel::CellChanges&, tavrel::CellSide)> frmMain::StepWriter() {
    return [this](const tavrel::CellChanges& changes, tavrel::CellSide side) {
        if (WriteChangesSide(changes, side))
            return true;
        // The failed undo or redo has still moved the history: move it back, once the stack is
        // done, to the step the players are at (the command then writes nothing).
        QTimer::singleShot(0, this, [this, side] {
            if (side == tavrel::CellSide::Before)
                history_->redo();
            else
                history_->undo();
        });
        return false;
    };
}

bool frmMain::WriteChangesSide(const tavrel::CellChanges& changes, tavrel::CellSide side) {
    try {
        Data1->WriteChanges(changes, side);
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return false;
    }
    ShowChangedPlayers(changes);
    return true;
}

void frmMain::ShowChangedPlayers(const tavrel::CellChanges& changes) {
    RefreshPlayerEntries(changes);
    static const int team = *tavrel::PlayersColumnIndex("Team");
    teamsChanged_ = std::any_of(changes.begin(), changes.end(),
                                [](const tavrel::CellChange& c) { return c.column == team; });
    emit PlayersChanged();
}
