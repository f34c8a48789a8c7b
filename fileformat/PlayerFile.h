#pragma once

#include "fileformat/PlayerRecord.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tavrel {

// The player file exactly as import read it. Export builds each record on a copy of its own
// record from here, so the sixty bytes no column carries go back with the record they came from,
// and writes the header and any trailing bytes (a partial record at the end) back unchanged.
class PlayerFileImage {
public:
    PlayerFileImage() = default;
    // Takes the bytes of a player file. Throws LeagueError naming `file` when there are fewer
    // than the 12 header bytes.
    PlayerFileImage(std::vector<std::uint8_t> bytes, const std::filesystem::path& file);

    std::size_t RecordCount() const; // whole records after the header
    std::span<const std::uint8_t> Header() const;
    RecordBytes Record(std::size_t n) const;
    std::span<const std::uint8_t> TrailingBytes() const; // what follows the last whole record

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a whole player file. Throws LeagueError naming the file and the cause (missing, a
// directory, unreadable, shorter than its header).
PlayerFileImage ReadPlayerFile(const std::filesystem::path& file);

} // namespace tavrel
