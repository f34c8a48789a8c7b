#include "safety/SignalCleanup.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace tavrel {
namespace {

constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathRoom = 4096;
constexpr std::size_t kNamesRoom = 1024;

enum State : int { Free, Filling, Ready };

// Plain arrays, so the handler reads them without allocating or locking.
struct Slot {
    std::atomic<int> state{Free};
    bool folder = false;
    char path[kPathRoom];
    char names[kNamesRoom]; // NUL-separated, ended by an empty name
};
Slot slots[kSlots];

int Register(const std::filesystem::path& path, bool folder,
             std::initializer_list<std::string_view> names) {
    const std::string& native = path.native();
    std::size_t namesSize = 1;
    for (const std::string_view name : names)
        namesSize += name.size() + 1;
    if (native.size() >= kPathRoom || namesSize > kNamesRoom)
        return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = Free;
        if (!slots[i].state.compare_exchange_strong(expected, Filling))
            continue;
        Slot& slot = slots[i];
        slot.folder = folder;
        std::memcpy(slot.path, native.c_str(), native.size() + 1);
        char* out = slot.names;
        for (const std::string_view name : names) {
            std::memcpy(out, name.data(), name.size());
            out += name.size();
            *out++ = '\0';
        }
        *out = '\0';
        slot.state.store(Ready);
        return static_cast<int>(i);
    }
    return -1;
}

} // namespace

int RegisterCleanupFile(const std::filesystem::path& file) {
    return Register(file, false, {});
}

int RegisterCleanupFolder(const std::filesystem::path& folder,
                          std::initializer_list<std::string_view> fileNames) {
    return Register(folder, true, fileNames);
}

void UnregisterCleanup(int slot) {
    if (slot >= 0 && static_cast<std::size_t>(slot) < kSlots)
        slots[slot].state.store(Free);
}

void RemoveRegisteredPaths() {
    // Files first: one of them may lie in a registered folder, which must be empty to go.
    for (Slot& slot : slots)
        if (slot.state.load() == Ready && !slot.folder)
            unlink(slot.path);
    for (Slot& slot : slots) {
        if (slot.state.load() != Ready || !slot.folder)
            continue;
        const std::size_t length = std::strlen(slot.path);
        for (const char* name = slot.names; *name; name += std::strlen(name) + 1) {
            char file[kPathRoom + kNamesRoom + 1];
            std::memcpy(file, slot.path, length);
            file[length] = '/';
            std::strcpy(file + length + 1, name);
            unlink(file);
        }
        rmdir(slot.path);
    }
}

} // namespace tavrel
