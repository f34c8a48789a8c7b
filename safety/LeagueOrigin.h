#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tavrel {

class PlayerFileImage;

// What a working database remembers of the league it holds, so that after a crash the window can
// tell whether it holds edits worth recovering and whether recovering them is still safe. It is
// kept in "<working database>.origin" beside the database, not in it, so the database holds only
// the league's tables; LoadLeague writes it with the database, saves and the window's edits
// update it.

// The player file as it was when imported or last saved.
struct PlayerFileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // modification time, nanoseconds since the epoch
    std::string hash;            // of the content, hex
    bool operator==(const PlayerFileStamp&) const = default;
};

struct LeagueOrigin {
    std::filesystem::path leagueFile;
    std::filesystem::path playerFile;
    PlayerFileStamp stamp;
    bool unsavedChanges = false;
    // The file the rows were imported from when it is not the player file (a restored backup):
    // a save builds each record on the record its row came from, so recovery must read that one.
    std::filesystem::path recordsFile;
};

std::filesystem::path LeagueOriginFile(const std::filesystem::path& workingDb);

// The stamp of a player file on disk. Throws LeagueError when it cannot be read.
PlayerFileStamp StampPlayerFile(const std::filesystem::path& playerFile);
// The stamp of the bytes import read, with the file's size and time as they are on disk now.
PlayerFileStamp StampPlayerFile(const std::filesystem::path& playerFile,
                                const PlayerFileImage& image);

// Writes the origin of `workingDb` (through SafeSaveFile). Throws LeagueError.
void WriteLeagueOrigin(const std::filesystem::path& workingDb, const LeagueOrigin& origin);
// The origin of `workingDb`; nothing when there is none or it cannot be read.
std::optional<LeagueOrigin> ReadLeagueOrigin(const std::filesystem::path& workingDb);

// The window calls this when the league gets its first unsaved edit (true) and when the edits
// are saved or dropped (false). Does nothing without an origin. Throws LeagueError.
void MarkUnsavedChanges(const std::filesystem::path& workingDb, bool unsaved);

// After the league's player file was saved: the new file's stamp, and no unsaved changes.
void RecordSavedPlayerFile(const std::filesystem::path& workingDb);

// What the window asks at start: does the working database hold unsaved changes, and may they be
// recovered (the player file is still the one they were made on)?
struct RecoveryCheck {
    LeagueOrigin origin;
    bool playerFileChanged = false; // changed, gone or unreadable since import or the last save
};
// Nothing when the working database holds no unsaved changes (or no league, or no origin).
std::optional<RecoveryCheck> CheckForUnsavedChanges(const std::filesystem::path& workingDb);

} // namespace tavrel
