#pragma once

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace tavrel {

// Files a command makes for its own use (a working database, a file being saved) must not stay
// behind when a signal ends the program. Whoever makes such a file registers it here while it
// exists; a signal handler calls RemoveRegisteredPaths, which only uses async-signal-safe calls.

// Registers a file. Returns the slot to unregister, or -1 when no slot is free (the file is then
// merely not removed on a signal).
int RegisterCleanupFile(const std::filesystem::path& file);
// Registers a folder that holds at most the files named: they are unlinked, then the folder.
int RegisterCleanupFolder(const std::filesystem::path& folder,
                          std::initializer_list<std::string_view> fileNames);
void UnregisterCleanup(int slot);

// Removes every registered file and folder. Async-signal-safe.
void RemoveRegisteredPaths();

} // namespace tavrel
