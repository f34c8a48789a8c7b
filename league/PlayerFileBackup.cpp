#include "league/PlayerFileBackup.h"

#include <string_view>

#include "league/FileBytes.h"
#include "league/LeaguePaths.h"
#include "league/SafeSave.h"

namespace tavrel {

void BackUpPlayerFile(const std::filesystem::path& leagueFile) {
    constexpr const char* operation = "Backing up the player file";
    const std::vector<std::uint8_t> bytes =
        ReadFileBytes(PlayerFilePath(leagueFile.string()), operation);
    SaveFileAtomically(BackupFilePath(leagueFile.string()),
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       operation);
}

} // namespace tavrel
