#include "grid/GridTable.h"

#include "base/LeagueError.h"
#include "fileformat/Windows1252.h"
#include "store/Text.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <algorithm>
#include <sqlite3.h>

namespace tavrel::grid {
namespace {

constexpr const char* kFreeAgents = "Free Agents";

std::string Unpadded(std::string_view bytes) {
    return WithoutTrailingPadding(std::string(bytes));
}

// A prepared statement that finalises itself.
struct Query {
    Query(sqlite3* db, const std::string& sql) : db(db) {
        const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        if (rc != SQLITE_OK)
            throw SQLite::Exception(db, rc);
    }
    ~Query() { sqlite3_finalize(statement); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    bool Next() {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw SQLite::Exception(db, rc);
    }
    Value At(int column) const {
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return std::monostate{};
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
        default: {
            const auto* text = static_cast<const char*>(sqlite3_column_blob(statement, column));
            return std::string(text ? text : "",
                               static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        }
        }
    }
    std::string_view Bytes(int column) const {
        const auto* text = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return text ? std::string_view(
                          text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                    : std::string_view();
    }
    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
};

} // namespace

GridTable::GridTable() {
    teamNames_[0] = kFreeAgents;
}

GridTable GridTable::Load(const std::filesystem::path& workingDb) {
    GridTable table;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        {
            Query teams(db.getHandle(), "SELECT TeamID, TeamName FROM Team ORDER BY rowid");
            while (teams.Next()) {
                const Value id = teams.At(0);
                const auto* number = std::get_if<std::int64_t>(&id);
                if (!number || *number <= 0 || *number > 255 || !table.teamNames_[*number].empty())
                    continue;
                table.AddTeamForTest(static_cast<int>(*number), Unpadded(teams.Bytes(1)));
            }
        }
        std::string sql = "SELECT rowid";
        for (const GridColumn& c : GridColumns())
            sql += ", \"" + std::string(kPlayersColumns[c.playersColumn].name) + "\"";
        sql += " FROM Players ORDER BY rowid";
        Query players(db.getHandle(), sql);
        std::string encoded;
        while (players.Next()) {
            const int row = table.RowCount();
            table.AppendRow(sqlite3_column_int64(players.statement, 0));
            for (int c = 0; c < kGridColumnCount; ++c) {
                if (GridColumns()[static_cast<std::size_t>(c)].kind == GridColumnKind::Text &&
                    sqlite3_column_type(players.statement, c + 1) == SQLITE_TEXT) {
                    // The common case without a Value in between: decode, drop the padding.
                    encoded = EncodeWindows1252(players.Bytes(c + 1));
                    table.SetText(row, c,
                                  std::string_view(encoded).substr(
                                      0, WithoutTrailingPadding(encoded).size()));
                    continue;
                }
                table.SetValue(row, GridColumns()[static_cast<std::size_t>(c)].playersColumn,
                               players.At(c + 1));
            }
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the players of", workingDb, e.what());
    }
    return table;
}

void GridTable::AddTeamForTest(int id, const std::string& name) {
    teamNames_[static_cast<std::size_t>(id)] = EncodeWindows1252(name);
    teams_.push_back({id, name});
}

void GridTable::AddRowForTest(std::int64_t rowId, const PlayerRow& row) {
    AppendRow(rowId);
    for (const GridColumn& c : GridColumns())
        SetValue(RowCount() - 1, c.playersColumn, row[static_cast<std::size_t>(c.playersColumn)]);
}

void GridTable::AppendRow(std::int64_t rowId) {
    rowIds_.push_back(rowId);
    team_.push_back(-1);
    numbers_.insert(numbers_.end(), kNumberColumns, kNull);
    texts_.insert(texts_.end(), kTextColumns, TextRef{});
    ratings_.insert(ratings_.end(), kRatingColumns, 0);
}

std::optional<int> GridTable::RowOfRowId(std::int64_t rowId) const {
    const auto found = std::lower_bound(rowIds_.begin(), rowIds_.end(), rowId);
    if (found == rowIds_.end() || *found != rowId)
        return std::nullopt;
    return static_cast<int>(found - rowIds_.begin());
}

int GridTable::TextSlot(int column) {
    switch (column) {
    case kLastNameColumn:
        return 0;
    case kFirstNameColumn:
        return 1;
    case kPositionColumn:
        return 2;
    case kCollegeColumn:
        return 3;
    default:
        return -1;
    }
}

int GridTable::NumberSlot(int column) {
    switch (column) {
    case kPidColumn:
        return 0;
    case kYearsColumn:
        return 1;
    case kWeightColumn:
        return 2;
    default:
        return -1;
    }
}

std::optional<std::int64_t> GridTable::Number(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    if (column == kTeamColumn) {
        if (team_[r] < 0)
            return std::nullopt;
        return team_[r];
    }
    if (IsRatingColumn(column)) {
        const std::size_t slot =
            r * kRatingColumns + static_cast<std::size_t>(column - kFirstRatingColumn);
        if (!irregular_.empty()) {
            if (const auto odd = irregular_.find(slot); odd != irregular_.end()) {
                const auto* n = std::get_if<std::int64_t>(&odd->second);
                return n ? std::optional<std::int64_t>(*n) : std::nullopt;
            }
        }
        return ratings_[slot];
    }
    const int slot = NumberSlot(column);
    if (slot < 0)
        return std::nullopt;
    const std::int32_t n = numbers_[r * kNumberColumns + static_cast<std::size_t>(slot)];
    if (n == kNull)
        return std::nullopt;
    return n;
}

std::string_view GridTable::Text(int row, int column) const {
    if (column == kTeamColumn) {
        const int id = team_[static_cast<std::size_t>(row)];
        return id < 0 ? std::string_view()
                      : std::string_view(teamNames_[static_cast<std::size_t>(id)]);
    }
    const int slot = TextSlot(column);
    if (slot < 0)
        return {};
    const TextRef ref =
        texts_[static_cast<std::size_t>(row) * kTextColumns + static_cast<std::size_t>(slot)];
    return std::string_view(textPool_).substr(ref.offset, ref.length);
}

std::string GridTable::TeamName(int teamId) const {
    if (teamId >= 0 && teamId < 256 && !teamNames_[static_cast<std::size_t>(teamId)].empty())
        return DecodeWindows1252(teamNames_[static_cast<std::size_t>(teamId)]);
    return std::to_string(teamId);
}

std::string GridTable::Shown(int row, int column) const {
    const GridColumnKind kind = GridColumns()[static_cast<std::size_t>(column)].kind;
    if (kind == GridColumnKind::Text)
        return DecodeWindows1252(Text(row, column));
    if (IsRatingColumn(column) && !irregular_.empty()) {
        const auto slot = static_cast<std::uint64_t>(row) * kRatingColumns +
                          static_cast<std::uint64_t>(column - kFirstRatingColumn);
        if (const auto odd = irregular_.find(slot); odd != irregular_.end())
            if (const auto* s = std::get_if<std::string>(&odd->second))
                return *s;
    }
    const std::optional<std::int64_t> n = Number(row, column);
    if (!n)
        return {};
    return kind == GridColumnKind::Team ? TeamName(static_cast<int>(*n)) : std::to_string(*n);
}

void GridTable::SetText(int row, int column, std::string_view windows1252) {
    TextRef& ref = texts_[static_cast<std::size_t>(row) * kTextColumns +
                          static_cast<std::size_t>(TextSlot(column))];
    // Same length or shorter: in place. Longer: at the end of the buffer.
    if (windows1252.size() > ref.length) {
        ref.offset = static_cast<std::uint32_t>(textPool_.size());
        textPool_.append(windows1252);
    } else {
        textPool_.replace(ref.offset, windows1252.size(), windows1252);
    }
    ref.length = static_cast<std::uint32_t>(windows1252.size());
}

void GridTable::SetValue(int row, int playersColumn, const Value& value) {
    const std::optional<int> column = GridColumnOf(playersColumn);
    if (!column || row < 0 || row >= RowCount())
        return;
    const auto r = static_cast<std::size_t>(row);
    const auto* number = std::get_if<std::int64_t>(&value);
    switch (GridColumns()[static_cast<std::size_t>(*column)].kind) {
    case GridColumnKind::Team:
        team_[r] = number && *number >= 0 && *number <= 255 ? static_cast<std::int16_t>(*number)
                                                            : std::int16_t{-1};
        return;
    case GridColumnKind::Text: {
        const auto* text = std::get_if<std::string>(&value);
        const std::string bytes = text ? Unpadded(EncodeWindows1252(*text)) : std::string();
        SetText(row, *column, bytes);
        return;
    }
    case GridColumnKind::Number:
        break;
    }
    if (IsRatingColumn(*column)) {
        const std::uint64_t slot =
            r * kRatingColumns + static_cast<std::uint64_t>(*column - kFirstRatingColumn);
        if (number && *number >= 0 && *number <= 255) {
            ratings_[slot] = static_cast<std::uint8_t>(*number);
            irregular_.erase(slot);
        } else {
            ratings_[slot] = 0;
            irregular_[slot] = value;
        }
        return;
    }
    const bool fits = number && *number > INT32_MIN && *number <= INT32_MAX;
    numbers_[r * kNumberColumns + static_cast<std::size_t>(NumberSlot(*column))] =
        fits ? static_cast<std::int32_t>(*number) : kNull;
}

std::size_t GridTable::MemoryBytes() const {
    return rowIds_.capacity() * sizeof(std::int64_t) + team_.capacity() * sizeof(std::int16_t) +
           numbers_.capacity() * sizeof(std::int32_t) + texts_.capacity() * sizeof(TextRef) +
           ratings_.capacity() + textPool_.capacity() + irregular_.size() * 64 + sizeof(*this);
}

} // namespace tavrel::grid
