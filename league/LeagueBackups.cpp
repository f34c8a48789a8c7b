#include "league/LeagueBackups.h"

#include "base/LeagueError.h"
#include "league/ContentHash.h"
#include "league/FileBytes.h"
#include "league/League.h"
#include "league/LeaguePaths.h"
#include "league/SafeSave.h"

#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

constexpr std::size_t kStampLength = 19; // "20261206-162518-123"
constexpr const char* kExtension = ".ply";

std::string StampOf(Clock::time_point when) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    const std::time_t seconds = static_cast<std::time_t>(ms.count() / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    std::snprintf(text + n, sizeof text - n, "-%03d", static_cast<int>(ms.count() % 1000));
    return text;
}

// The time a backup's name tells, or nothing for a file that is not a backup.
std::optional<Clock::time_point> TimeOfName(const std::string& name) {
    if (name.size() != kStampLength + std::strlen(kExtension) ||
        name.compare(kStampLength, std::string::npos, kExtension) != 0)
        return std::nullopt;
    std::tm utc{};
    int ms = 0;
    char dash1 = 0, dash2 = 0;
    if (std::sscanf(name.c_str(), "%4d%2d%2d%c%2d%2d%2d%c%3d", &utc.tm_year, &utc.tm_mon,
                    &utc.tm_mday, &dash1, &utc.tm_hour, &utc.tm_min, &utc.tm_sec, &dash2,
                    &ms) != 9 ||
        dash1 != '-' || dash2 != '-')
        return std::nullopt;
    utc.tm_year -= 1900;
    utc.tm_mon -= 1;
    return Clock::from_time_t(timegm(&utc)) + std::chrono::milliseconds(ms);
}

bool Exists(const fs::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

void RemoveOldBackups(const fs::path& leagueFile) {
    const std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile);
    for (std::size_t i = kBackupsKept; i < backups.size(); ++i) {
        std::error_code ignored; // one left over is tried again at the next save
        fs::remove(backups[i].file, ignored);
    }
}

} // namespace

fs::path BackupsFolder() {
    if (const char* folder = std::getenv("TAVREL_BACKUP_DIR"); folder && *folder)
        return folder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return fs::path(QFile::encodeName(data).toStdString()) / "tavrel" / "backups";
}

fs::path LeagueBackupsFolder(const fs::path& leagueFile) {
    // Leagues of one name in different folders (a league kept per season) must never see, restore
    // or prune each other's backups: the folder also carries a hash of the league's whole path.
    std::error_code ec;
    fs::path full = fs::weakly_canonical(leagueFile, ec);
    if (ec)
        full = fs::absolute(leagueFile).lexically_normal();
    ContentHash where;
    where.Add(full.native());
    return BackupsFolder() / (leagueFile.stem().native() + "-" + where.Hex().substr(0, 8));
}

std::vector<LeagueBackup> ListLeagueBackups(const fs::path& leagueFile) {
    std::vector<LeagueBackup> backups;
    std::error_code ec;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(LeagueBackupsFolder(leagueFile), ec)) {
        const std::optional<Clock::time_point> taken = TimeOfName(entry.path().filename());
        std::error_code sizeError;
        const std::uintmax_t size = entry.is_regular_file(sizeError) && !sizeError
                                        ? entry.file_size(sizeError)
                                        : std::uintmax_t(-1);
        if (taken && size != std::uintmax_t(-1) && !sizeError)
            backups.push_back({entry.path(), size, *taken});
    }
    std::sort(backups.begin(), backups.end(),
              [](const LeagueBackup& a, const LeagueBackup& b) { return a.taken > b.taken; });
    return backups;
}

std::optional<fs::path> KeepLeagueBackup(const fs::path& leagueFile) {
    constexpr const char* operation = "Keeping a dated backup of the player file";
    const fs::path playerFile = PlayerFilePath(leagueFile.native());
    if (!Exists(playerFile))
        return std::nullopt;
    const fs::path folder = LeagueBackupsFolder(leagueFile);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw LeagueError(operation, folder, ec.message());
    Clock::time_point when = Clock::now();
    fs::path backup = folder / (StampOf(when) + kExtension);
    while (Exists(backup)) {
        when += std::chrono::milliseconds(1);
        backup = folder / (StampOf(when) + kExtension);
    }
    CopyFileSafely(playerFile, backup, operation);
    RemoveOldBackups(leagueFile);
    return backup;
}

std::vector<BackupComparison> CompareLeagueBackups(const fs::path& leagueFile,
                                                   const PlayerFileImage* current) {
    std::vector<BackupComparison> rows;
    for (LeagueBackup& backup : ListLeagueBackups(leagueFile)) {
        std::optional<std::size_t> differing;
        try {
            if (current)
                differing = CountDifferingPlayers(*current, ReadPlayerFile(backup.file));
        } catch (const LeagueError&) {
        }
        rows.push_back({std::move(backup), differing});
    }
    return rows;
}

std::size_t CountDifferingPlayers(const PlayerFileImage& a, const PlayerFileImage& b) {
    const std::size_t common = std::min(a.RecordCount(), b.RecordCount());
    std::size_t differing = std::max(a.RecordCount(), b.RecordCount()) - common;
    for (std::size_t n = 0; n < common; ++n) {
        const RecordBytes x = a.Record(n);
        const RecordBytes y = b.Record(n);
        if (!std::equal(x.begin(), x.end(), y.begin()))
            ++differing;
    }
    return differing;
}

std::optional<fs::path> RestoreLeagueBackup(const fs::path& leagueFile,
                                            const fs::path& backupFile) {
    constexpr const char* operation = "Restoring the player file from a backup";
    std::vector<std::uint8_t> bytes = ReadFileBytes(backupFile, operation);
    if (bytes.size() < kPlayerFileHeaderSize)
        throw LeagueError(operation, backupFile,
                          "the file is shorter than the 12-byte header of a player file");
    std::optional<fs::path> kept = KeepLeagueBackup(leagueFile);
    SaveFileAtomically(PlayerFilePath(leagueFile.native()),
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       operation);
    return kept;
}

} // namespace tavrel
