#include "league/BackupChanges.h"

#include "store/PlayerRowStore.h"

#include <algorithm>
#include <array>

namespace tavrel {
namespace {

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

std::optional<CellChanges> ChangesToBackup(const LoadedLeague& league,
                                           const std::filesystem::path& workingDb,
                                           const PlayerFileImage& backup) {
    const PlayerFileImage& read = league.image;
    const std::size_t records = read.RecordCount();
    if (backup.RecordCount() != records || !SameBytes(backup.Header(), read.Header()) ||
        !SameBytes(backup.TrailingBytes(), read.TrailingBytes()))
        return std::nullopt;
    PlayerRowStore store(workingDb);
    const std::vector<RowKey> keys = store.RowKeys();
    // Row n + 1 is rebuilt on record n when saved.
    if (keys.size() != records)
        return std::nullopt;
    for (std::size_t n = 0; n < records; ++n)
        if (keys[n].rowId != static_cast<std::int64_t>(n + 1))
            return std::nullopt;

    CellChanges changes;
    PlayerRow wanted;
    std::array<std::uint8_t, kPlayerRecordSize> rebuilt;
    for (std::size_t n = 0; n < records; ++n) {
        const RecordBytes target = backup.Record(n);
        DecodePlayerRecord(target, wanted);
        const RecordBytes own = read.Record(n);
        std::copy(own.begin(), own.end(), rebuilt.begin());
        EncodePlayerRecord(wanted, rebuilt);
        if (!SameBytes(rebuilt, target))
            return std::nullopt; // bytes no column holds differ
        const auto rowId = static_cast<std::int64_t>(n + 1);
        const PlayerRow current = store.ReadRow(rowId);
        for (int c = 0; c < static_cast<int>(kPlayersColumnCount); ++c)
            if (current[static_cast<std::size_t>(c)] != wanted[static_cast<std::size_t>(c)])
                changes.push_back({rowId, c, current[static_cast<std::size_t>(c)],
                                   wanted[static_cast<std::size_t>(c)]});
    }
    return changes;
}

} // namespace tavrel
