#include "ui/publish/PublishActions.h"

#include "publish/PublishSite.h"
#include "publish/RosterSheets.h"
#include "ui/publish/SheetPainter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

QString Text(const std::exception& e) {
    return QString::fromStdString(e.what());
}

// The items of the roster choice: all teams, the free agents, then each team; index - 1 is the
// choice PrintRostersOn takes.
QStringList RosterItems(const tavrel::LeagueData& league) {
    QStringList items{QStringLiteral("All teams"), QStringLiteral("Free Agents")};
    // Each item tells its team apart, even from a team of the same name.
    for (std::size_t i = 0; i < league.teams.size(); ++i)
        items << QStringLiteral("%1. %2").arg(i + 1).arg(
            QString::fromStdString(league.teams[i].name));
    return items;
}

} // namespace

PublishActions::PublishActions(Window window, QObject* parent)
    : QObject(parent), window_(std::move(window)) {
    setObjectName(QStringLiteral("PublishActions"));
}

std::optional<tavrel::LeagueData> PublishActions::ReadLeague() {
    if (!window_.prepare()) {
        window_.message(QStringLiteral("Open a league before publishing or printing it."));
        return std::nullopt;
    }
    try {
        return tavrel::ReadLeagueData(window_.workingDb(),
                                      QFileInfo(window_.leagueFile()).fileName().toStdString());
    } catch (const std::exception& e) {
        window_.failure(Text(e));
        return std::nullopt;
    }
}

void PublishActions::PublishSite() {
    const std::optional<tavrel::LeagueData> league = ReadLeague();
    if (!league)
        return;
    const QString folder =
        chooseFolder_ ? chooseFolder_()
                      : QFileDialog::getExistingDirectory(
                            window_.widget, QStringLiteral("Publish League Site: choose a new "
                                                           "or empty folder"));
    if (folder.isEmpty())
        return;
    try {
        const std::size_t pages =
            tavrel::PublishSite(*league, folder.toStdString(), window_.progress());
        QString text = QStringLiteral("The league site was published to %1 (%2 pages).")
                           .arg(QDir::toNativeSeparators(folder))
                           .arg(QLocale().toString(qulonglong(pages)));
        if (window_.unsaved())
            text += QStringLiteral("\n\nIt shows the players as they are in the window, with the "
                                   "changes not yet saved to the league's files.");
        window_.message(text);
    } catch (const std::exception& e) {
        window_.failure(Text(e));
    }
}

void PublishActions::Paint(QPrinter& printer, const tavrel::LeagueData& league, int choice) {
    std::vector<const tavrel::SiteTeam*> rosters;
    if (choice < 0)
        rosters = tavrel::AllRosters(league);
    else if (choice == 0)
        rosters = {&league.freeAgents};
    else if (std::size_t(choice) <= league.teams.size())
        rosters = {&league.teams[std::size_t(choice) - 1]};
    PaintPages(tavrel::LayOutRosterSheets(league, rosters, PrinterPageSize(printer)), printer);
}

void PublishActions::PrintRostersOn(QPrinter& printer, int choice) {
    if (const std::optional<tavrel::LeagueData> league = ReadLeague())
        Paint(printer, *league, choice);
}

void PublishActions::PrintRosters() {
    const std::optional<tavrel::LeagueData> league = ReadLeague();
    if (!league)
        return;
    std::optional<int> choice;
    if (chooseRosters_) {
        choice = chooseRosters_(*league);
    } else {
        bool ok = false;
        const QStringList items = RosterItems(*league);
        const QString item =
            QInputDialog::getItem(window_.widget, QStringLiteral("Print Rosters"),
                                  QStringLiteral("Rosters to print:"), items, 0, false, &ok);
        if (ok)
            choice = int(items.indexOf(item)) - 1;
    }
    if (!choice)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, window_.widget);
    preview.setWindowTitle(QStringLiteral("Print Rosters"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter* target) { Paint(*target, *league, *choice); });
    preview.exec();
}
