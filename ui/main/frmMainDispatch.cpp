// frmMain's dispatch of the menus and the toolbar, by item index and button key, each command
// run through RunCommand; and the end of the program.
#include "ui/main/ExchangeActions.h"
#include "ui/main/LeagueCommands.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QStatusBar>
#include <QToolBar>

void frmMain::mnuFileItem_Click(int index) {
    RunCommand([this, index] {
        switch (index) {
        case 0:
            commands_->OpenLeague();
            break;
        case 1:
            commands_->PrintLeague();
            break;
        case 2:
            commands_->SaveCurrentLeague();
            break;
        case 4:
            if (commands_->ConfirmEnd()) {
                ending_ = true;
                close();
            }
            break;
        case 6:
            commands_->ReopenLeague();
            break;
        case 10:
            exchange_->ExportPlayers();
            break;
        case 11:
            exchange_->ImportPlayers();
            break;
        case 12:
            exchange_->CompareWith();
            break;
        default:
            break;
        }
    });
}

void frmMain::mnuComItem_Click(int index) {
    if (index == 6)
        RunCommand([this] { ShowGlobalEdit(); });
}

void frmMain::mnuViewItem_Click(int index) {
    RunCommand([this, index] {
        // The item is checkable: its mark has already been inverted by the click.
        const QAction* item = mnuViewItem.value(index);
        if (index == 0)
            Toolbar1->setVisible(item->isChecked());
        else if (index == 1)
            statusBar()->setVisible(item->isChecked());
        else if (index == 2)
            ShowRatingsChart();
        else if (index == 3)
            exchange_->ShowLeagueCheck();
    });
}

void frmMain::mnuHelpItem_Click(int index) {
    RunCommand([this, index] {
        if (index == 0)
            ShowHelpContents();
        else if (index == 2)
            ShowAbout();
    });
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Open")) {
        mnuFileItem_Click(0);
    } else if (key == QLatin1String("Save")) {
        mnuFileItem_Click(2);
    } else if (key == QLatin1String("Print")) {
        mnuFileItem_Click(1);
    } else if (key == QLatin1String("Find")) {
        RunCommand([this] {
            browser_->FindPlayersByLastName(prompts_->AskText(
                this, QStringLiteral("Enter Players Last Name"), QStringLiteral("Find Player")));
        });
    } else if (key == QLatin1String("SortAc")) {
        RunCommand([this] { browser_->SetSortDescending(false); });
    } else if (key == QLatin1String("SortDec")) {
        RunCommand([this] { browser_->SetSortDescending(true); });
    } else if (key == QLatin1String("GlobalEdit")) {
        mnuComItem_Click(6);
    } else if (key == QLatin1String("Help")) {
        mnuHelpItem_Click(0);
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    bool ends = ending_;
    if (!ends)
        RunCommand([&] { ends = commands_->ConfirmEnd(); });
    if (!ends) {
        event->ignore();
        return;
    }
    ending_ = true;
    SaveLayout();
    QuitHelp();
    event->accept();
    emit Ended();
}
