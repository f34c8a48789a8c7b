#include "fileformat/PlayerFile.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"

namespace tavrel {

PlayerFileImage::PlayerFileImage(std::vector<std::uint8_t> bytes, const std::filesystem::path& file)
    : bytes_(std::move(bytes)) {
    if (bytes_.size() < kPlayerFileHeaderSize)
        throw LeagueError("Reading the player file", file,
                          "the file holds " + std::to_string(bytes_.size()) +
                              (bytes_.size() == 1 ? " byte" : " bytes") +
                              ", fewer than the 12-byte header of a player file");
}

std::size_t PlayerFileImage::RecordCount() const {
    return bytes_.size() < kPlayerFileHeaderSize
               ? 0
               : (bytes_.size() - kPlayerFileHeaderSize) / kPlayerRecordSize;
}

std::span<const std::uint8_t> PlayerFileImage::Header() const {
    return std::span(bytes_).first(std::min(bytes_.size(), kPlayerFileHeaderSize));
}

RecordBytes PlayerFileImage::Record(std::size_t n) const {
    if (n >= RecordCount())
        throw std::out_of_range("player record " + std::to_string(n) + " is not in the file");
    return RecordBytes(bytes_.data() + kPlayerFileHeaderSize + n * kPlayerRecordSize,
                       kPlayerRecordSize);
}

std::span<const std::uint8_t> PlayerFileImage::TrailingBytes() const {
    const std::size_t whole = kPlayerFileHeaderSize + RecordCount() * kPlayerRecordSize;
    return bytes_.size() < whole ? std::span<const std::uint8_t>()
                                 : std::span(bytes_).subspan(whole);
}

PlayerFileImage ReadPlayerFile(const std::filesystem::path& file) {
    return PlayerFileImage(ReadFileBytes(file, "Reading the player file"), file);
}

} // namespace tavrel
