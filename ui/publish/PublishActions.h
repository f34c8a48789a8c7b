#pragma once

#include "publish/SiteData.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace tavrel {
class Progress;
}

// File > Publish League Site... and File > Print Rosters...: they ask what they need, call the
// publish library on the window's working database (unsaved edits included) and report.
class PublishActions : public QObject {
    Q_OBJECT
public:
    // What the main window lends the commands.
    struct Window {
        QWidget* widget;
        std::function<bool()> prepare; // commits a pending edit; false when no league is open
        std::function<std::filesystem::path()> workingDb;
        std::function<QString()> leagueFile;
        std::function<bool()> unsaved; // edits not yet saved to the league's files
        std::function<void(const QString&)> message;
        std::function<void(const QString&)> failure;
        std::function<tavrel::Progress*()> progress;
    };
    // The rosters to print, by what the user picked: -1 all, 0 the free agents, n the nth team.
    using RosterChooser = std::function<std::optional<int>(const tavrel::LeagueData&)>;

    PublishActions(Window window, QObject* parent);

    void PublishSite();
    void PrintRosters();
    // Lays out the chosen rosters for the printer's paper and draws them on it.
    void PrintRostersOn(QPrinter& printer, int choice);

    // For tests: where the folder and the rosters are chosen instead of the dialogs.
    void SetFolderChooser(std::function<QString()> chooser) { chooseFolder_ = std::move(chooser); }
    void SetRosterChooser(RosterChooser chooser) { chooseRosters_ = std::move(chooser); }

private:
    std::optional<tavrel::LeagueData> ReadLeague();
    void Paint(QPrinter& printer, const tavrel::LeagueData& league, int choice);

    Window window_;
    std::function<QString()> chooseFolder_;
    RosterChooser chooseRosters_;
};
