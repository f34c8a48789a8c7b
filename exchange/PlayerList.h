#pragma once

#include "fileformat/PlayerFile.h"
#include "store/PlayersTable.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// The players of one league in player-file order, from either of the two places they live: the
// player file on disk (decoded one record at a time, as asked) or the working database of the
// league being edited (read whole, edits included). Record n (1-based) is the n-th player; its
// row id is the working database's rowid, or n for a player file.
class PlayerList {
public:
    // The player file as read. Keeps the bytes, so the records' raw bytes stay at hand.
    static PlayerList FromFile(PlayerFileImage image);
    // The same without a copy of the bytes: `image` must outlive the list.
    static PlayerList Of(const PlayerFileImage& image);
    // Every Players row of the working database in table order. Throws LeagueError naming it.
    static PlayerList FromWorkingDatabase(const std::filesystem::path& workingDb);

    std::size_t Count() const;
    std::int64_t RowId(std::size_t index) const;
    int Pid(std::size_t index) const;
    // Fills `row` with the player at `index` (0-based), reusing the room its texts have.
    void Read(std::size_t index, PlayerRow& row) const;
    // The record's bytes when the list comes from a player file.
    std::optional<RecordBytes> Raw(std::size_t index) const;
    const PlayerFileImage* File() const { return file_.get(); }

private:
    std::shared_ptr<const PlayerFileImage> file_;
    std::vector<std::int64_t> rowIds_; // of the working database; a file's are n + 1
    std::vector<PlayerRow> rows_;
};

// The player file a command names: LEAGUE.lge gives the player file beside it (any case of "lge"),
// anything else is taken as a player file itself (a .ply, a .sw$ backup, a dated copy).
std::filesystem::path PlayerFileOf(const std::filesystem::path& leagueOrPlayerFile);

// What a spreadsheet cell shows of a value: a number in decimal, text without its trailing padding
// (NULs and spaces), nothing for an empty value.
std::string CellText(const Value& value);

// "record 12, PID 564 (John Smith)": a player in messages and lists.
std::string DescribePlayer(std::size_t record, const PlayerRow& row);
// The same from the parts, the names as stored (padding is dropped).
std::string DescribePlayer(std::size_t record, const std::string& pid, const std::string& firstName,
                           const std::string& lastName);

} // namespace tavrel
