#include "safety/LeagueBackups.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "fileformat/PlayerFile.h"
#include "safety/ContentHash.h"
#include "safety/SafeSave.h"

#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

constexpr std::size_t kStampLength = 19; // "20261206-162518-123"
constexpr const char* kExtension = ".ply";
constexpr std::size_t kSequenceDigits = 6;

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

// The time a name "20261206-162518-123.ply" tells, or nothing for a name of another shape.
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

// The sequence number and time a backup's name tells: "000042-<time>.ply", or "<time>.ply" as
// older versions named them (sequence 0). Nothing for a file that is not a backup.
std::optional<std::pair<std::uint64_t, Clock::time_point>>
ParseBackupName(const std::string& name) {
    if (const auto taken = TimeOfName(name))
        return std::pair{std::uint64_t(0), *taken};
    const std::size_t dash = name.find('-');
    if (dash == std::string::npos || dash < kSequenceDigits || dash > 18 ||
        name.find_first_not_of("0123456789") != dash)
        return std::nullopt;
    const auto taken = TimeOfName(name.substr(dash + 1));
    const std::uint64_t sequence = std::stoull(name.substr(0, dash));
    if (!taken || sequence == 0)
        return std::nullopt;
    return std::pair{sequence, *taken};
}

bool Exists(const fs::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

void RemoveOldBackups(const fs::path& leagueFile, const std::vector<fs::path>& keep) {
    const std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile);
    const auto kept = [&keep](const fs::path& file) {
        return std::any_of(keep.begin(), keep.end(), [&file](const fs::path& k) {
            std::error_code ec;
            return k == file || fs::equivalent(k, file, ec);
        });
    };
    for (std::size_t i = kBackupsKept; i < backups.size(); ++i) {
        if (kept(backups[i].file))
            continue;
        std::error_code ignored; // one left over is tried again at the next save
        fs::remove(backups[i].file, ignored);
    }
}

// Whether two files hold the same bytes, compared byte for byte; a file that cannot be read holds
// none.
bool SameContent(const fs::path& a, const fs::path& b, const char* operation) {
    std::error_code ea, eb;
    if (fs::file_size(a, ea) != fs::file_size(b, eb) || ea || eb)
        return false;
    std::ifstream other(b, std::ios::binary);
    std::string theirs;
    bool same = other.good();
    try {
        ForEachFileChunk(a, operation, [&](std::string_view ours) {
            theirs.resize(ours.size());
            same = same && other.read(theirs.data(), static_cast<std::streamsize>(ours.size())) &&
                   ours == theirs;
        });
    } catch (const LeagueError&) {
        return false;
    }
    return same;
}

// The folder for the league's backups, made when missing. A link that leads nowhere is named as
// such rather than with the system's "File exists".
fs::path MakeBackupsFolder(const fs::path& leagueFile, const char* operation) {
    const fs::path folder = LeagueBackupsFolder(leagueFile);
    for (fs::path part = folder; !part.empty() && part != part.parent_path();
         part = part.parent_path()) {
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(part, ec)) && !fs::exists(part, ec))
            throw LeagueError(operation, part,
                              "this is a link to a folder that does not exist; make that folder "
                              "or set TAVREL_BACKUP_DIR to another one");
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw LeagueError(operation, folder, ec.message());
    return folder;
}

} // namespace

fs::path BackupsFolder() {
    if (const char* folder = std::getenv("TAVREL_BACKUP_DIR"); folder && *folder)
        return folder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return fs::path(QFile::encodeName(data).toStdString()) / "tavrel" / "backups";
}

std::string LeagueKey(const fs::path& leagueFile) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(leagueFile, ec);
    if (ec)
        full = fs::absolute(leagueFile).lexically_normal();
    ContentHash where;
    where.Add(full.native());
    return leagueFile.stem().native() + "-" + where.Hex().substr(0, 8);
}

fs::path LeagueBackupsFolder(const fs::path& leagueFile) {
    return BackupsFolder() / LeagueKey(leagueFile);
}

std::vector<LeagueBackup> ListLeagueBackups(const fs::path& leagueFile) {
    std::vector<LeagueBackup> backups;
    std::error_code ec;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(LeagueBackupsFolder(leagueFile), ec)) {
        const auto name = ParseBackupName(entry.path().filename());
        std::error_code sizeError;
        const std::uintmax_t size = entry.is_regular_file(sizeError) && !sizeError
                                        ? entry.file_size(sizeError)
                                        : std::uintmax_t(-1);
        if (name && size != std::uintmax_t(-1) && !sizeError)
            backups.push_back({entry.path(), size, name->second, name->first});
    }
    std::sort(backups.begin(), backups.end(), [](const LeagueBackup& a, const LeagueBackup& b) {
        return a.sequence != b.sequence ? a.sequence > b.sequence : a.taken > b.taken;
    });
    return backups;
}

std::optional<fs::path> KeepLeagueBackup(const fs::path& leagueFile,
                                         const std::vector<fs::path>& keep) {
    constexpr const char* operation = "Keeping a dated backup of the player file";
    const fs::path playerFile = PlayerFilePath(leagueFile.native());
    if (!Exists(playerFile))
        return std::nullopt;
    const fs::path folder = MakeBackupsFolder(leagueFile, operation);
    RemoveOrphanedNewFiles(folder);
    const std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile);
    // A save of nothing changed keeps no second copy of the newest backup: the slots hold history.
    if (!backups.empty() && SameContent(backups.front().file, playerFile, operation))
        return backups.front().file;
    std::uint64_t sequence = backups.empty() ? 1 : backups.front().sequence + 1;
    char number[32];
    fs::path backup;
    do {
        std::snprintf(number, sizeof number, "%0*llu-", static_cast<int>(kSequenceDigits),
                      static_cast<unsigned long long>(sequence++));
        backup = folder / (number + StampOf(Clock::now()) + kExtension);
    } while (Exists(backup));
    CopyFileSafely(playerFile, backup, operation);
    std::vector<fs::path> kept = keep;
    kept.push_back(backup);
    RemoveOldBackups(leagueFile, kept);
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

PlayerFileImage ReadBackupToRestore(const fs::path& backupFile) {
    constexpr const char* operation = "Restoring the player file from a backup";
    std::vector<std::uint8_t> bytes = ReadFileBytes(backupFile, operation);
    if (bytes.size() < kPlayerFileHeaderSize)
        throw LeagueError(operation, backupFile,
                          "the file is shorter than the 12-byte header of a player file");
    const std::size_t stray = (bytes.size() - kPlayerFileHeaderSize) % kPlayerRecordSize;
    if (stray != 0)
        throw LeagueError(
            operation, backupFile,
            "this is not a whole player file: after its 12-byte header and " +
                std::to_string((bytes.size() - kPlayerFileHeaderSize) / kPlayerRecordSize) +
                " records of 366 bytes come " + std::to_string(stray) +
                " bytes more (a file cut short, or not a player file)");
    return PlayerFileImage(std::move(bytes), backupFile);
}

std::vector<std::string> DoubtsAboutBackup(const PlayerFileImage& backup,
                                           const PlayerFileImage* current,
                                           const std::vector<int>* leagueTeamIds) {
    std::vector<std::string> doubts;
    const std::size_t records = backup.RecordCount();
    if (current) {
        const std::size_t now = current->RecordCount();
        if (records * 2 < now || records > now * 2)
            doubts.push_back("it holds " + std::to_string(records) +
                             " players, the league's player file " + std::to_string(now));
    }
    static const int teamOffset = [] {
        for (const RecordField& field : kRecordFields)
            if (field.column == "Team")
                return field.offset;
        return 0;
    }();
    if (!leagueTeamIds)
        return doubts;
    std::size_t strangers = 0;
    for (std::size_t n = 0; n < records; ++n) {
        const int team = backup.Record(n)[static_cast<std::size_t>(teamOffset)];
        if (team != 0 &&
            std::find(leagueTeamIds->begin(), leagueTeamIds->end(), team) == leagueTeamIds->end())
            ++strangers;
    }
    if (strangers * 10 > records)
        doubts.push_back(std::to_string(strangers) + " of its " + std::to_string(records) +
                         " players are on team numbers the league has no team for");
    return doubts;
}

std::optional<fs::path> RestoreLeagueBackup(const fs::path& leagueFile, const fs::path& backupFile,
                                            const PlayerFileImage& backup) {
    constexpr const char* operation = "Restoring the player file from a backup";
    std::optional<fs::path> kept = KeepLeagueBackup(leagueFile, {backupFile});
    SafeSaveFile out(PlayerFilePath(leagueFile.native()), operation);
    const auto write = [&out](std::span<const std::uint8_t> bytes) {
        out.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    };
    write(backup.Header());
    for (std::size_t n = 0; n < backup.RecordCount(); ++n)
        write(backup.Record(n));
    out.Commit();
    return kept;
}

} // namespace tavrel
