#pragma once

#include <QMap>
#include <QString>

class QAction;
class QMenu;
class frmMain;

// The main window's bars: the menus with their indexed items (File, Edit, the hidden Web
// Publisher, View, Help), the keyboard items after them, the undo history's items, the toolbar's
// keyed buttons and the status bar's two panels. Every item runs frmMain's dispatch for its menu
// and index, or its button key. EnableCommands offers the commands that need a league only with
// one, and those that change it only while it can be written.
class MainMenus {
public:
    explicit MainMenus(frmMain& window);

    void Build();
    // After the reopen item's place in File.
    void AddReopenItem();
    void EnableCommands(bool open, bool writable, bool readOnly);

    // Adds an item to one of the indexed menus, named "<arrayName>_<index>"; "-" adds a separator.
    static QAction* AddMenuItem(QMenu* menu, QMap<int, QAction*>& items, int index,
                                const QString& caption, const char* arrayName);

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void BuildHistory(QMenu* editMenu);
    void AddKeyboardItems(QMenu* editMenu, QMenu* viewMenu);

    frmMain& w_;
};
