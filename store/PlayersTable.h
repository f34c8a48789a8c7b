#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tavrel {

// How the working tables declare a column: Byte (0..255), Integer (signed 16-bit) or Text with a
// width (0 where none is given; such columns never hold more than 7 characters).
enum class ColumnType { Byte, Integer, Text };

// Where a Players column comes from in the 366-byte player record.
enum class FieldKind {
    Byte,         // one unsigned byte at offset
    Int16,        // signed 16-bit, low byte first, at offset
    Text,         // `bytes` characters at offset, Windows-1252
    PlayerId,     // derived: bytes 1 * 256 + 0 as a signed 16-bit number
    Weight,       // derived: bytes 87 * 256 + 86 as a signed 16-bit number
    PositionText, // derived: the abbreviation of byte 94
    None,         // never filled (JNum, injuries)
};

struct PlayersColumn {
    std::string_view name;
    ColumnType type;
    int declaredWidth; // Text n: n; otherwise 0
    FieldKind kind;
    int offset; // record offset of the field, for Byte, Int16 and Text
    int bytes;  // record width of a Text field
};

inline constexpr int kPlayersColumnCount = 90;

// The Players table in its binding order: the potential ratings stand at positions 11..34 and the
// actual ratings at 35..58, each in rating order.
extern const std::array<PlayersColumn, kPlayersColumnCount> kPlayersColumns;

struct TeamColumn {
    std::string_view name;
    ColumnType type;
    int declaredWidth;
};
extern const std::array<TeamColumn, 3> kTeamColumns; // TeamID, TeamName, Coach

// The position of a Players column, matching the name without regard to case ("ACT_SP" and
// "Act_SP", "Age" and "AGE" are the same column).
std::optional<int> PlayersColumnIndex(std::string_view name);

// Equality of column names without regard to ASCII case.
bool SameColumnName(std::string_view a, std::string_view b);

// One cell of a working table: empty (null), a whole number, or UTF-8 text.
using Value = std::variant<std::monostate, std::int64_t, std::string>;
using PlayerRow = std::array<Value, kPlayersColumnCount>;

} // namespace tavrel
