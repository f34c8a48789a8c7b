#include "base/LeagueError.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "fileformat/LeaguePaths.h"
#include "fileformat/PlayerFile.h"
#include "safety/LeagueBackups.h"

#include <CLI/CLI.hpp>
#include <ctime>
#include <iostream>
#include <memory>

namespace tavrel::cli {
namespace {

namespace fs = std::filesystem;

std::string LocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&seconds, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// One line per backup, newest first, numbered for restore: how many players differ from the
// player file as it is now ("-" when the player file or the backup cannot be read).
void ListBackups(const std::string& leaguePath) {
    std::optional<PlayerFileImage> current;
    try {
        current = ReadPlayerFile(PlayerFilePath(leaguePath));
    } catch (const LeagueError&) {
    }
    std::cout << "No.\tTaken\tBytes\tPlayers differing\tFile\n";
    std::size_t number = 0;
    for (const BackupComparison& row :
         CompareLeagueBackups(leaguePath, current ? &*current : nullptr))
        std::cout << ++number << '\t' << LocalTime(row.backup.taken) << '\t' << row.backup.size
                  << '\t' << (row.differingPlayers ? std::to_string(*row.differingPlayers) : "-")
                  << '\t' << row.backup.file.native() << '\n';
}

// BACKUP is a backup file, or its number in the list `backups` shows, looked up under the lock.
// The player file is not read first: a restore must work when it is broken or gone.
void Restore(const std::string& leaguePath, const std::string& backup, bool force) {
    CliSession session(leaguePath, LeagueAccess::Write, {.importPlayers = false});
    const RestoreOutcome outcome = session->RestorePlayerFile(session->ChooseBackup(backup), force);
    std::cout << "Restored " << PlayerFilePath(leaguePath) << " from "
              << outcome.restoredFrom.native() << '\n';
    if (outcome.keptAs)
        std::cout << "The file it replaced is kept as " << outcome.keptAs->native() << '\n';
}

} // namespace

void AddBackupsCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "backups", "Lists the dated backups of the league's player file, newest first: when each "
                   "was taken, its size, how many players differ from the player file now, and "
                   "where it is. A backup is kept before every save of the player file.");
    auto league = std::make_shared<std::string>();
    AddLeagueArgument(*command, *league);
    command->callback([league] { ListBackups(*league); });
}

void AddRestoreCommand(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "restore", "Puts a backup in place of the league's player file, after keeping a backup "
                   "of the file it replaces. The backup must be a whole player file.");
    auto league = std::make_shared<std::string>();
    auto backup = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    AddLeagueArgument(*command, *league);
    command->add_option("BACKUP", *backup, "A backup file, or its number in the backups list")
        ->required();
    command->add_flag("--force", *force,
                      "Restore a backup even when it does not look like this league's (far more "
                      "or fewer players, or players of teams the league does not have)");
    command->callback([league, backup, force] { Restore(*league, *backup, *force); });
}

} // namespace tavrel::cli
