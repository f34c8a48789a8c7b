#include "exchange/PlayerImport.h"

#include "exchange/Csv.h"
#include "exchange/PlayerExport.h"
#include "fileformat/PlayerRecord.h"
#include "fileformat/Windows1252.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

namespace tavrel {
namespace {

constexpr int kRecordKey = -1; // the header position of Record, among Players column indexes
constexpr int kNoName = -2;    // a header cell left empty
constexpr int kUnknown = -3;   // a name no column has: refused once, in the header

const int kPid = *PlayersColumnIndex("PID");
const int kWeight = *PlayersColumnIndex("Weight");
const int kPositionText = *PlayersColumnIndex("PositionTXT");
const int kPosition = *PlayersColumnIndex("Position");
const int kRPid0 = *PlayersColumnIndex("rPID_0");
const int kRPid1 = *PlayersColumnIndex("rPID_1");
const int kRWeight0 = *PlayersColumnIndex("rWeight_0");
const int kRWeight1 = *PlayersColumnIndex("rWeight_1");

std::string_view Trimmed(std::string_view text) {
    if (!text.empty() && text.front() != ' ' && text.back() != ' ')
        return text; // the common case, told at a glance
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

// The whole number in a cell, spaces around it allowed. A few digits alone, most cells of a
// sheet, are read in line.
inline std::optional<std::int64_t> CellNumber(std::string_view cell) {
    if (cell.empty() || cell.size() > 9)
        return WholeNumber(Trimmed(cell));
    std::int64_t n = 0;
    for (const char c : cell) {
        const unsigned digit = unsigned(c - '0');
        if (digit > 9)
            return WholeNumber(Trimmed(cell));
        n = n * 10 + digit;
    }
    return n;
}

// A signed 16-bit number from two byte columns the import has just set.
Value Signed16(const PlayerRow& row, int low, int high) {
    const auto byte = [&row](int column) {
        const auto* n = std::get_if<std::int64_t>(&row[column]);
        return n ? std::uint16_t(*n & 0xFF) : std::uint16_t(0);
    };
    return std::int64_t(std::int16_t(std::uint16_t(byte(low) | (byte(high) << 8))));
}

// Why a derived column cannot be set, naming what it comes from.
const char* DerivedFrom(int column) {
    if (column == kPid)
        return "PID is worked out from rPID_0 and rPID_1; change those instead";
    if (column == kWeight)
        return "Weight is worked out from rWeight_0 and rWeight_1; change those instead";
    return "PositionTXT is worked out from Position; change that instead";
}

bool IsPadding(char c) {
    return c == ' ' || c == '\0';
}

std::string_view WithoutPadding(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsPadding(text[end - 1]))
        --end;
    return text.substr(0, end);
}

// Whether a text cell, unguarded and without its padding, equals the stored text without its
// padding.
bool SameText(std::string_view cell, const Value& stored) {
    const auto* text = std::get_if<std::string>(&stored);
    if (!text)
        return false;
    std::string_view shown = WithoutPadding(cell);
    const std::string_view kept = WithoutPadding(*text);
    if (shown.size() == kept.size() + 1 && shown.starts_with('\'') &&
        UnguardedText(std::string(shown)).size() == kept.size())
        shown.remove_prefix(1);
    return shown == kept;
}

// Whether a cell says nothing: empty, or only spaces and NULs (what padding is made of).
bool IsBlank(std::string_view cell) {
    for (const char c : cell)
        if (!IsPadding(c))
            return false;
    return true;
}

class Planner {
public:
    Planner(const PlayerList& players, ImportPlan& plan) : players_(players), plan_(plan) {}

    void Run(SheetReader& sheet) {
        SheetRow row;
        if (!sheet.Next(row)) {
            Refuse(1, 0, "the file holds no header row");
            return;
        }
        if (!ReadHeader(row))
            return;
        seenAt_.assign(players_.Count(), 0);
        while (sheet.Next(row))
            ReadRow(row);
        if (plan_.refusalCount > 0) {
            plan_.changes.clear();
            plan_.playersChanged = 0;
        }
    }

private:
    // A refusal of the cell in `column` (1-based; 0: of no one cell) of `row`.
    void Refuse(int row, int column, std::string reason, std::string_view value = {}) {
        if (plan_.refusalCount++ >= kShownRefusals)
            return;
        std::string name;
        if (column >= 1 && std::size_t(column) <= names_.size())
            name = CellExcerpt(names_[std::size_t(column) - 1]);
        plan_.refusals.push_back({row, column, std::move(name), CellExcerpt(std::string(value)),
                                  std::move(reason), player_});
    }

    // Takes the column names; false when the players cannot be found by them.
    bool ReadHeader(const SheetRow& header) {
        names_.assign(header.cells.begin(), header.cells.end());
        player_.clear();
        for (const CellFlaw& flaw : header.flaws)
            Refuse(header.row, flaw.column, flaw.reason);
        const std::size_t named =
            std::size_t(std::count_if(names_.begin(), names_.end(),
                                      [](const std::string& n) { return !Trimmed(n).empty(); }));
        if (named > ExportColumns().size()) {
            Refuse(header.row, 0,
                   "the header names " + std::to_string(named) + " columns; a player sheet has " +
                       std::to_string(ExportColumns().size()) + " at most");
            return false;
        }
        // Where each column first appears, Record last: a repeat is found in one step.
        std::vector<int> firstAt(kPlayersColumnCount + 1, 0);
        for (std::size_t i = 0; i < names_.size(); ++i) {
            const int at = int(i) + 1;
            const std::string_view name = Trimmed(names_[i]);
            int index = kNoName;
            if (SameColumnName(name, kRecordColumn)) {
                index = kRecordKey;
            } else if (const auto column = PlayersColumnIndex(name)) {
                index = *column;
            } else if (!name.empty()) {
                index = kUnknown;
                Refuse(header.row, at, "there is no such column", names_[i]);
            }
            if (index >= kRecordKey) {
                int& first = firstAt[index == kRecordKey ? kPlayersColumnCount : index];
                if (first != 0)
                    Refuse(header.row, at,
                           "the column appears twice (first as " + DescribeColumn(first) + ")",
                           names_[i]);
                else
                    first = at;
            }
            columns_.push_back(index);
        }
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i] == kRecordKey)
                keyAt_ = i, byRecord_ = true;
            else if (columns_[i] == kPid && !byRecord_)
                keyAt_ = i;
        }
        if (!keyAt_) {
            Refuse(header.row, 0,
                   "the file has neither a Record nor a PID column to find the players by");
            return false;
        }
        if (!byRecord_)
            for (std::size_t n = 0; n < players_.Count(); ++n)
                recordsOfPid_[players_.Pid(n)].push_back(n);
        return true;
    }

    // The player a row's key finds, or nothing (refused).
    std::optional<std::size_t> FindPlayer(const SheetRow& row) {
        const int at = int(*keyAt_) + 1;
        const std::string_view cell = *keyAt_ < row.cells.size() ? row.cells[*keyAt_] : "";
        const auto key = CellNumber(cell);
        if (!key) {
            Refuse(row.row, at,
                   IsBlank(cell) ? "the row has no key to find its player by"
                                 : "is not a whole number",
                   cell);
            return std::nullopt;
        }
        std::size_t index = 0;
        if (byRecord_) {
            if (*key < 1 || std::uint64_t(*key) > players_.Count()) {
                Refuse(row.row, at,
                       "the player file has no record " + std::to_string(*key) + " (it holds " +
                           std::to_string(players_.Count()) + ")",
                       cell);
                return std::nullopt;
            }
            index = std::size_t(*key - 1);
        } else {
            const auto found = recordsOfPid_.find(int(*key));
            if (found == recordsOfPid_.end() || *key < -32768 || *key > 32767) {
                Refuse(row.row, at, "no player has this PID", cell);
                return std::nullopt;
            }
            if (found->second.size() > 1) {
                Refuse(row.row, at,
                       "this PID is held by " + std::to_string(found->second.size()) +
                           " records; add the Record column to tell them apart",
                       cell);
                return std::nullopt;
            }
            index = found->second.front();
        }
        if (seenAt_[index] != 0) {
            Refuse(row.row, at,
                   "row " + std::to_string(seenAt_[index]) + " already changes this player", cell);
            return std::nullopt;
        }
        seenAt_[index] = row.row;
        return index;
    }

    void ReadRow(const SheetRow& row) {
        player_.clear();
        const std::optional<std::size_t> index = FindPlayer(row);
        if (index)
            player_ = byRecord_ ? "record " + std::to_string(*index + 1)
                                : "PID " + std::to_string(players_.Pid(*index));
        flawed_.clear();
        if (!row.flaws.empty())
            flawed_.assign(row.cells.size(), false);
        for (const CellFlaw& flaw : row.flaws) {
            const bool inRow = std::size_t(flaw.column) <= row.cells.size();
            Refuse(row.row, flaw.column, flaw.reason,
                   inRow ? row.cells[std::size_t(flaw.column) - 1] : "");
            if (inRow)
                flawed_[std::size_t(flaw.column) - 1] = true; // refused once is enough
        }
        for (std::size_t i = columns_.size(); i < row.cells.size(); ++i)
            if (!IsBlank(row.cells[i]))
                Refuse(row.row, int(i) + 1, "lies beyond the last column of the header",
                       row.cells[i]);
        if (!index)
            return;
        index_ = *index;
        record_ = players_.Raw(index_);
        decoded_ = false;
        if (!record_)
            Decode();
        dirty_ = false;   // after_ is a copy of before_ only once a cell changes something
        derived_.clear(); // checked once the bytes are known
        const bool anyFlawed = !row.flaws.empty();
        const std::size_t read = std::min(columns_.size(), row.cells.size());
        for (std::size_t i = 0; i < read; ++i) {
            const int column = columns_[i];
            const std::string_view cell = row.cells[i];
            if (!anyFlawed && SameByte(column, cell))
                continue; // the bulk of a sheet, told at a glance
            if (column == kRecordKey || column == kUnknown || (column == kPid && !byRecord_) ||
                IsBlank(cell) || (anyFlawed && flawed_[i]))
                continue;
            const int at = int(i) + 1;
            if (column == kNoName) {
                Refuse(row.row, at, "the column has no name", cell);
                continue;
            }
            const RecordField& field = kRecordFields[column];
            const auto refuse = [&](std::string why) { Refuse(row.row, at, std::move(why), cell); };
            switch (field.kind) {
            case FieldKind::Byte:
            case FieldKind::Int16: {
                const auto n = CellNumber(cell);
                const std::int64_t low = field.kind == FieldKind::Byte ? 0 : -32768;
                const std::int64_t high = field.kind == FieldKind::Byte ? 255 : 32767;
                if (!n)
                    refuse("is not a whole number");
                else if (*n < low || *n > high)
                    refuse("is outside " + std::to_string(low) + ".." + std::to_string(high));
                else if (!SameNumber(column, *n))
                    Set(column, *n);
                break;
            }
            case FieldKind::Text: {
                if (SameStoredText(cell, column))
                    break; // the common case, found without a copy
                const std::string text = UnguardedText(WithoutTrailingPadding(std::string(cell)));
                if (!FitsWindows1252(text))
                    refuse("holds a character the player file's code page (Windows-1252) "
                           "cannot hold");
                else if (CharacterCount(text) > std::size_t(field.bytes))
                    refuse("is " + std::to_string(CharacterCount(text)) +
                           " characters long; the field holds " + std::to_string(field.bytes));
                else
                    Set(column, text);
                break;
            }
            case FieldKind::PlayerId:
            case FieldKind::Weight:
            case FieldKind::PositionText:
                derived_.emplace_back(column, i);
                break;
            case FieldKind::None:
                refuse("the player file does not keep this column; leave it empty");
                break;
            }
        }
        // Derived columns follow their bytes, and only when those change: a stored value that
        // disagrees with its bytes is left as it is.
        const auto changed = [this](int column) {
            return dirty_ && after_[column] != before_[column];
        };
        if (changed(kRPid0) || changed(kRPid1)) {
            after_[kPid] = Signed16(after_, kRPid0, kRPid1);
            const Value zero = std::int64_t{0};
            if (after_[kRPid0] == zero && after_[kRPid1] == zero)
                Refuse(row.row, HeaderPosition(changed(kRPid0) ? kRPid0 : kRPid1),
                       "identifier bytes 0 and 0 would drop this player from the player file; an "
                       "import never deletes a player",
                       "0");
        }
        if (changed(kRWeight0) || changed(kRWeight1))
            after_[kWeight] = Signed16(after_, kRWeight0, kRWeight1);
        if (changed(kPosition))
            after_[kPositionText] = PositionText(int(std::get<std::int64_t>(after_[kPosition])));
        for (const auto& [column, i] : derived_)
            if (Trimmed(row.cells[i]) != ShownText(column))
                Refuse(row.row, int(i) + 1, DerivedFrom(column), row.cells[i]);

        if (plan_.refusalCount > 0 || !dirty_)
            return; // nothing will change: keep no changes
        bool any = false;
        for (int c = 0; c < kPlayersColumnCount; ++c) {
            if (!changed(c))
                continue;
            plan_.changes.push_back({players_.RowId(*index), *index + 1, c, before_[c], after_[c]});
            any = true;
        }
        plan_.playersChanged += any;
    }

    // The player as stored, decoded whole: from a player file, only once a cell may change him.
    void Decode() {
        if (!decoded_)
            players_.Read(index_, before_);
        decoded_ = true;
    }

    // Whether a text cell equals the player's text (SameText): told from the record's bytes
    // while the player is not decoded.
    bool SameStoredText(std::string_view cell, int column) {
        if (!decoded_) {
            const RecordField& field = kRecordFields[column];
            const std::string_view bytes(reinterpret_cast<const char*>(record_->data()) +
                                             field.offset,
                                         std::size_t(field.bytes));
            if (SameAsWindows1252(WithoutPadding(cell), WithoutPadding(bytes)))
                return true;
            DecodePlayerField(*record_, column, field_);
            return SameText(cell, field_);
        }
        return SameText(cell, before_[column]);
    }

    // Whether a cell of a byte column holds what the player's record does, as a few digits alone:
    // a cell that changes nothing and needs no other look. False says nothing.
    bool SameByte(int column, std::string_view cell) const {
        if (column < 0 || decoded_ || kRecordFields[column].kind != FieldKind::Byte ||
            cell.empty() || cell.size() > 3)
            return false;
        unsigned n = 0;
        for (const char c : cell) {
            const unsigned digit = unsigned(c - '0');
            if (digit > 9)
                return false;
            n = n * 10 + digit;
        }
        return n == (*record_)[kRecordFields[column].offset];
    }

    // Whether the player holds `n` in a number column: told from the record's bytes while he is
    // not decoded.
    bool SameNumber(int column, std::int64_t n) const {
        if (!decoded_)
            return RecordNumber(*record_, kRecordFields[column]) == n;
        const auto* stored = std::get_if<std::int64_t>(&before_[column]);
        return stored && *stored == n;
    }

    // What a derived column shows of the player: after the row's changes, or as stored.
    std::string ShownText(int column) {
        if (dirty_)
            return CellText(after_[column]);
        if (decoded_)
            return CellText(before_[column]);
        DecodePlayerField(*record_, column, field_);
        return CellText(field_);
    }

    // Sets a value of the player after the import, copying the player first when it is the row's
    // first change.
    void Set(int column, Value value) {
        Decode();
        if (value == before_[column])
            return;
        if (!dirty_) {
            after_ = before_;
            dirty_ = true;
        }
        after_[column] = std::move(value);
    }

    // The 1-based header position of a Players column the sheet has.
    int HeaderPosition(int column) const {
        const auto found = std::find(columns_.begin(), columns_.end(), column);
        return found == columns_.end() ? 0 : int(found - columns_.begin()) + 1;
    }

    const PlayerList& players_;
    ImportPlan& plan_;
    std::vector<std::string> names_;
    std::vector<int> columns_; // per header cell: Players column, kRecordKey, kNoName or kUnknown
    std::optional<std::size_t> keyAt_;
    bool byRecord_ = false;
    std::unordered_map<int, std::vector<std::size_t>> recordsOfPid_;
    std::vector<int> seenAt_;  // per player: the sheet row that changes him, or 0
    std::string player_;       // the player the current row's key found, for refusals
    std::vector<bool> flawed_; // per cell of the current row: refused for a flaw of the file
    std::size_t index_ = 0;    // the player of the current row
    std::optional<RecordBytes> record_; // his record, when the players come from a player file
    bool decoded_ = false;              // before_ holds him
    Value field_;                       // one column of his record
    PlayerRow before_, after_;
    bool dirty_ = false;                               // after_ holds the row's changes
    std::vector<std::pair<int, std::size_t>> derived_; // derived columns of the row, cell index
};

} // namespace

ImportPlan PlanImport(SheetReader& sheet, const PlayerList& players) {
    ImportPlan plan;
    Planner(players, plan).Run(sheet);
    return plan;
}

ImportPlan PlanImport(std::string_view csv, const PlayerList& players) {
    MemoryStream in(csv);
    CsvReader reader(in);
    return PlanImport(reader, players);
}

ImportPlan PlanSheetImport(const std::filesystem::path& sheet, const PlayerList& players) {
    const std::unique_ptr<SheetReader> reader = OpenSheet(sheet);
    return PlanImport(*reader, players);
}

CellChanges ToCellChanges(std::span<const PlayerCellChange> changes) {
    CellChanges cells;
    cells.reserve(changes.size());
    for (const PlayerCellChange& c : changes)
        cells.push_back({c.rowId, c.column, c.before, c.after});
    return cells;
}

std::string DescribeRefusal(const ImportRefusal& refusal) {
    std::string text = "row " + std::to_string(refusal.row);
    if (!refusal.player.empty())
        text += " (" + refusal.player + ")";
    if (refusal.columnNumber > 0)
        text += ", " + DescribeColumn(refusal.columnNumber);
    if (!refusal.column.empty())
        text += " " + refusal.column;
    if (!refusal.value.empty())
        text += " \"" + refusal.value + "\"";
    return text + ": " + refusal.reason;
}

std::vector<std::string> DescribeRefusals(const ImportPlan& plan) {
    std::vector<std::string> lines;
    for (const ImportRefusal& refusal : plan.refusals)
        lines.push_back(DescribeRefusal(refusal));
    if (plan.refusalCount > plan.refusals.size())
        lines.push_back("... and " + std::to_string(plan.refusalCount - plan.refusals.size()) +
                        " more.");
    return lines;
}

} // namespace tavrel
