#pragma once

#include "exchange/SheetReader.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel {

// Text as a workbook stores it: a character XML cannot carry (a control character other than tab
// and line feed, NUL included) as _xHHHH_, and an underscore that would start such an escape as
// _x005F_, so "_x0041_" comes back as itself and not as "A".
std::string EscapedXlsxText(std::string_view text);
// The way back: every _xHHHH_ to its character.
std::string UnescapedXlsxText(std::string_view text);

// Reads the first sheet of a workbook (.xlsx) row by row: shared strings, inline strings, numbers
// (a whole number stored as a double comes back as "55"), booleans as 0 and 1; other sheets are
// not read. Throws LeagueError(operation, file, cause) when the file is no workbook or is damaged.
class XlsxReader : public SheetReader {
public:
    explicit XlsxReader(const std::filesystem::path& file);
    // A workbook held in memory (the bytes must outlive the reader); `file` names it in messages.
    XlsxReader(std::string_view bytes, const std::filesystem::path& file);
    ~XlsxReader() override;
    bool Next(SheetRow& row) override;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace tavrel
