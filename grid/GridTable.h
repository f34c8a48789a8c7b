#pragma once

#include "grid/GridColumns.h"
#include "store/PlayersTable.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavrel::grid {

// The players as the grid shows them, read from the working database in one pass and kept
// compact: ratings as bytes, names as Windows-1252 bytes without their padding in one shared
// buffer. Rows stand in table order (rowid order). A value the compact form cannot hold (a null or
// out-of-range rating written by another program) is kept aside as it is, so nothing shows wrong.
class GridTable {
public:
    GridTable();

    // Reads Players and Team. Throws LeagueError naming the database.
    static GridTable Load(const std::filesystem::path& workingDb);

    int RowCount() const { return static_cast<int>(rowIds_.size()); }
    std::int64_t RowId(int row) const { return rowIds_[static_cast<std::size_t>(row)]; }
    std::optional<int> RowOfRowId(std::int64_t rowId) const;

    // A number cell (Number columns; the team number for the Team column); nothing when null or
    // not a number.
    std::optional<std::int64_t> Number(int row, int column) const;
    // A text cell in Windows-1252 bytes, without padding; for the Team column the team's name.
    std::string_view Text(int row, int column) const;
    // What the grid shows, in UTF-8.
    std::string Shown(int row, int column) const;

    // The team number's name: "Free Agents" for 0, the name of its first Team row, else the
    // number itself.
    std::string TeamName(int teamId) const;
    struct Team {
        int id;
        std::string name; // UTF-8
    };
    // The league's teams, each distinct id once, in table order (without the free agents).
    const std::vector<Team>& Teams() const { return teams_; }

    // Takes a stored value of a Players column of a row (after an edit, an undo, or a pass that
    // wrote elsewhere). Columns the grid does not show are ignored.
    void SetValue(int row, int playersColumn, const Value& value);

    // Bytes the table holds, for the memory figure.
    std::size_t MemoryBytes() const;

    void AddRowForTest(std::int64_t rowId, const PlayerRow& row);
    void AddTeamForTest(int id, const std::string& name);

private:
    struct TextRef {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    static constexpr int kTextColumns = 4;   // last name, first name, position, college
    static constexpr int kNumberColumns = 3; // PID, years, weight
    static constexpr std::int32_t kNull = INT32_MIN;
    static constexpr int kRatingColumns = 48;

    void AppendRow(std::int64_t rowId);
    static int TextSlot(int column);
    static int NumberSlot(int column);
    void SetText(int row, int column, std::string_view windows1252);

    std::vector<std::int64_t> rowIds_;
    std::vector<std::int16_t> team_;    // -1: null or not a team number
    std::vector<std::int32_t> numbers_; // kNumberColumns per row
    std::vector<TextRef> texts_;        // kTextColumns per row
    std::vector<std::uint8_t> ratings_; // 48 per row, in grid column order
    std::string textPool_;
    // Ratings that are not a byte, by row * 48 + rating slot.
    std::unordered_map<std::uint64_t, Value> irregular_;
    std::vector<Team> teams_;
    std::array<std::string, 256> teamNames_; // Windows-1252
};

} // namespace tavrel::grid
