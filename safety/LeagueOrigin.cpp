#include "safety/LeagueOrigin.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/PlayerFile.h"
#include "safety/ContentHash.h"
#include "safety/SafeSave.h"

#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <span>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFormat = "tavrel-league-origin 1";

// Paths are bytes and may hold anything, line ends included: they are written in hex.
std::string Hex(const std::string& bytes) {
    return QByteArray::fromStdString(bytes).toHex().toStdString();
}
std::string Unhex(const std::string& hex) {
    return QByteArray::fromHex(QByteArray::fromStdString(hex)).toStdString();
}

PlayerFileStamp StatOnly(const fs::path& playerFile) {
    struct stat info {};
    if (stat(playerFile.c_str(), &info) != 0)
        throw LeagueError("Reading the player file", playerFile, std::strerror(errno));
    PlayerFileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace

fs::path LeagueOriginFile(const fs::path& workingDb) {
    return fs::path(workingDb) += ".origin";
}

PlayerFileStamp StampPlayerFile(const fs::path& playerFile) {
    PlayerFileStamp stamp = StatOnly(playerFile);
    ContentHash hash;
    ForEachFileChunk(playerFile, "Reading the player file",
                     [&hash](std::string_view bytes) { hash.Add(bytes); });
    stamp.hash = hash.Hex();
    return stamp;
}

PlayerFileStamp StampPlayerFile(const fs::path& playerFile, const PlayerFileImage& image) {
    PlayerFileStamp stamp = StatOnly(playerFile);
    ContentHash hash;
    hash.Add(image.Header());
    for (std::size_t n = 0; n < image.RecordCount(); ++n)
        hash.Add(image.Record(n));
    hash.Add(image.TrailingBytes());
    stamp.hash = hash.Hex();
    return stamp;
}

void WriteLeagueOrigin(const fs::path& workingDb, const LeagueOrigin& origin) {
    std::ostringstream out;
    out << kFormat << '\n'
        << "league " << Hex(origin.leagueFile.native()) << '\n'
        << "player " << Hex(origin.playerFile.native()) << '\n'
        << "size " << origin.stamp.size << '\n'
        << "modified " << origin.stamp.modifiedNs << '\n'
        << "hash " << origin.stamp.hash << '\n'
        << "unsaved " << (origin.unsavedChanges ? 1 : 0) << '\n';
    if (!origin.recordsFile.empty())
        out << "records " << Hex(origin.recordsFile.native()) << '\n';
    SaveFileAtomically(LeagueOriginFile(workingDb), out.str(),
                       "Noting which league the working database holds");
}

std::optional<LeagueOrigin> ReadLeagueOrigin(const fs::path& workingDb) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(LeagueOriginFile(workingDb), "Reading");
    } catch (const LeagueError&) {
        return std::nullopt;
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string format, key, league, player;
    LeagueOrigin origin;
    int unsaved = 0;
    std::getline(in, format);
    if (format != kFormat || !(in >> key >> league) || key != "league" || !(in >> key >> player) ||
        key != "player" || !(in >> key >> origin.stamp.size) || key != "size" ||
        !(in >> key >> origin.stamp.modifiedNs) || key != "modified" ||
        !(in >> key >> origin.stamp.hash) || key != "hash" || !(in >> key >> unsaved) ||
        key != "unsaved")
        return std::nullopt;
    origin.leagueFile = Unhex(league);
    origin.playerFile = Unhex(player);
    origin.unsavedChanges = unsaved != 0;
    std::string records;
    if (in >> key >> records && key == "records")
        origin.recordsFile = Unhex(records);
    return origin;
}

void MarkUnsavedChanges(const fs::path& workingDb, bool unsaved) {
    std::optional<LeagueOrigin> origin = ReadLeagueOrigin(workingDb);
    if (!origin || origin->unsavedChanges == unsaved)
        return;
    origin->unsavedChanges = unsaved;
    WriteLeagueOrigin(workingDb, *origin);
}

void RecordSavedPlayerFile(const fs::path& workingDb) {
    std::optional<LeagueOrigin> origin = ReadLeagueOrigin(workingDb);
    if (!origin)
        return;
    origin->stamp = StampPlayerFile(origin->playerFile);
    origin->unsavedChanges = false;
    WriteLeagueOrigin(workingDb, *origin);
}

std::optional<RecoveryCheck> CheckForUnsavedChanges(const fs::path& workingDb) {
    std::optional<LeagueOrigin> origin = ReadLeagueOrigin(workingDb);
    struct stat info {};
    if (!origin || !origin->unsavedChanges || stat(workingDb.c_str(), &info) != 0)
        return std::nullopt;
    RecoveryCheck check{*origin, true};
    try {
        const PlayerFileStamp now = StampPlayerFile(origin->playerFile);
        check.playerFileChanged = now.size != origin->stamp.size || now.hash != origin->stamp.hash;
    } catch (const LeagueError&) {
        check.playerFileChanged = true; // gone or unreadable: nothing to recover onto
    }
    return check;
}

} // namespace tavrel
