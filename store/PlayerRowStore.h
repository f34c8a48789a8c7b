#pragma once

#include "store/CellChanges.h"
#include "store/PlayersTable.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace tavrel {

// Where a player's row is: its rowid, and its PID (nothing when the PID is not a number).
struct RowKey {
    std::int64_t rowId = 0;
    std::optional<int> pid;
};

// The Players table of the working database one row at a time, for the window's detail fields:
// reads a row by its rowid and writes one column of one row. It keeps the database open while a
// league is edited, but resets every statement after use, so the save and Global Edit, which
// open their own connections, are never blocked by it. Every failure throws LeagueError naming
// the working database.
class PlayerRowStore {
public:
    explicit PlayerRowStore(const std::filesystem::path& workingDb);
    ~PlayerRowStore();
    PlayerRowStore(const PlayerRowStore&) = delete;
    PlayerRowStore& operator=(const PlayerRowStore&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Every row of Players in table order, the order of the records in the player file.
    std::vector<RowKey> RowKeys();
    PlayerRow ReadRow(std::int64_t rowId);
    // Sets one column (a kPlayersColumns index) of one row; a row that is not there is a failure.
    void WriteValue(std::int64_t rowId, int column, const Value& value);
    // Writes one side of a list of changes as one transaction (WriteCellChanges).
    void WriteChanges(const CellChanges& changes, CellSide side);

private:
    struct Statements;
    std::filesystem::path path_;
    std::unique_ptr<Statements> statements_;
};

} // namespace tavrel
