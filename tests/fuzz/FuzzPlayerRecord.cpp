// Player records from any bytes: every record decodes into a row that passes the export's checks,
// and encoding that row onto the record gives back the very same bytes.
#include "fileformat/PlayerFile.h"
#include "fileformat/PlayerRecord.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < tavrel::kPlayerFileHeaderSize)
        return 0;
    const tavrel::PlayerFileImage image(std::vector<std::uint8_t>(data, data + size), "fuzz");
    tavrel::PlayerRow row;
    std::array<std::uint8_t, tavrel::kPlayerRecordSize> encoded;
    for (std::size_t n = 0; n < image.RecordCount(); ++n) {
        const tavrel::RecordBytes record = image.Record(n);
        tavrel::DecodePlayerRecord(record, row);
        if (tavrel::CheckPlayerRow(row))
            std::abort();
        std::copy(record.begin(), record.end(), encoded.begin());
        tavrel::EncodePlayerRecord(row, encoded);
        if (!std::equal(encoded.begin(), encoded.end(), record.begin()))
            std::abort();
    }
    if (image.Header().size() + image.RecordCount() * tavrel::kPlayerRecordSize +
            image.TrailingBytes().size() !=
        size)
        std::abort();
    return 0;
}
