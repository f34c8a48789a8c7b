#include "league/PlayerFileCount.h"

#include "base/LeagueError.h"
#include "league/PlayerRecord.h"

namespace tavrel {

std::size_t PlayerRecordsWritten(const LoadedLeague& league) {
    std::error_code error;
    const auto length = std::filesystem::file_size(league.playerFile, error);
    if (error)
        throw LeagueError("Reading the length of", league.playerFile, error.message());
    const std::size_t framing = league.image.Header().size() + league.image.TrailingBytes().size();
    return length < framing ? 0 : (length - framing) / kPlayerRecordSize;
}

} // namespace tavrel
