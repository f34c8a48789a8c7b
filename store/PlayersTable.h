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

struct PlayersColumn {
    std::string_view name;
    ColumnType type;
    int declaredWidth; // Text n: n; otherwise 0
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

// A value as text: a number in decimal, text as stored; nothing for an empty value.
std::optional<std::string> ValueText(const Value& value);

} // namespace tavrel
