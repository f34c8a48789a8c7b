#include "fileformat/CellValue.h"

#include "fileformat/Windows1252.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <charconv>

namespace tavrel {
namespace {

constexpr int kFirstRatingColumn = 11; // Pot_SP; the 24 potential then the 24 actual ratings
constexpr int kLastRatingColumn = kFirstRatingColumn + 2 * kRatingCount - 1;
constexpr std::int64_t kHighestRating = 255;

const int kFirstNameColumn = *PlayersColumnIndex("FirstName");
const int kLastNameColumn = *PlayersColumnIndex("LastName");

} // namespace

bool IsEditablePlayersColumn(int column) {
    return column == kFirstNameColumn || column == kLastNameColumn ||
           (column >= kFirstRatingColumn && column <= kLastRatingColumn);
}

ParsedCell ParseCellValue(int column, std::string_view utf8) {
    if (!IsEditablePlayersColumn(column))
        return CellRefusal{std::string(kPlayersColumns.at(column).name) + " cannot be changed"};
    if (column == kFirstNameColumn || column == kLastNameColumn) {
        const std::string label = ColumnCaption(column);
        const auto width = static_cast<std::size_t>(kPlayersColumns[column].declaredWidth);
        if (!FitsWindows1252(utf8))
            return CellRefusal{label + " holds a character the player file cannot store"};
        if (CharacterCount(utf8) > width)
            return CellRefusal{label + " holds at most " + std::to_string(width) + " characters"};
        return Value{std::string(utf8)};
    }
    const std::string_view digits = Trimmed(utf8);
    std::int64_t number = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        number < 0 || number > kHighestRating)
        return CellRefusal{ColumnCaption(column) + " must be a whole number from 0 to 255"};
    return Value{number};
}

} // namespace tavrel
