#include "league/PlayerFileBackup.h"

#include "league/LeagueError.h"
#include "league/LeaguePaths.h"
#include "league/SafeSave.h"

#include <fstream>
#include <iterator>
#include <string>

namespace tavrel {

void BackUpPlayerFile(const std::filesystem::path& leagueFile) {
    const std::filesystem::path playerFile = PlayerFilePath(leagueFile.string());
    const std::filesystem::path backup = BackupFilePath(leagueFile.string());
    constexpr const char* operation = "Backing up the player file";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(playerFile, ec))
        throw LeagueError(operation, playerFile,
                          ec ? ec.message() : std::string("there is no such file"));
    std::ifstream in(playerFile, std::ios::binary);
    if (!in.is_open())
        throw LeagueError(operation, playerFile, "it could not be opened for reading");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw LeagueError(operation, playerFile, "it could not be read");
    SaveFileAtomically(backup, bytes, operation);
}

} // namespace tavrel
