#include "exchange/PlayerImport.h"

#include "exchange/Csv.h"
#include "exchange/PlayerExport.h"
#include "fileformat/PlayerRecord.h"
#include "fileformat/Windows1252.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

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

class Planner {
public:
    Planner(const PlayerList& players, ImportPlan& plan) : players_(players), plan_(plan) {}

    void Run(std::string_view csv) {
        const std::vector<CsvRecord> records = ParseCsv(csv);
        if (records.empty()) {
            Refuse(1, "", "", "the file holds no header row");
            return;
        }
        if (!ReadHeader(records.front()))
            return;
        seenAt_.assign(players_.Count(), 0);
        for (std::size_t r = 1; r < records.size(); ++r)
            ReadRow(records[r]);
        if (!plan_.refusals.empty()) {
            plan_.changes.clear();
            plan_.playersChanged = 0;
        }
    }

private:
    void Refuse(int row, std::string column, std::string value, std::string reason) {
        plan_.refusals.push_back({row, std::move(column), std::move(value), std::move(reason)});
    }

    // Takes the column names; false when the players cannot be found by them.
    bool ReadHeader(const CsvRecord& header) {
        names_ = header.fields;
        for (const std::string& field : header.fields) {
            const std::string_view name = Trimmed(field);
            int index = kNoName;
            if (SameColumnName(name, kRecordColumn)) {
                index = kRecordKey;
            } else if (const auto column = PlayersColumnIndex(name)) {
                index = *column;
            } else if (!name.empty()) {
                index = kUnknown;
                Refuse(header.line, field, field, "there is no such column");
            }
            for (const int earlier : columns_)
                if (index >= kRecordKey && earlier == index)
                    Refuse(header.line, field, field, "the column appears twice");
            columns_.push_back(index);
        }
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i] == kRecordKey)
                keyAt_ = i, byRecord_ = true;
            else if (columns_[i] == kPid && !byRecord_)
                keyAt_ = i;
        }
        if (!keyAt_) {
            Refuse(header.line, "", "",
                   "the file has neither a Record nor a PID column to find the players by");
            return false;
        }
        if (!byRecord_)
            for (std::size_t n = 0; n < players_.Count(); ++n)
                recordsOfPid_[players_.Pid(n)].push_back(n);
        return true;
    }

    // The player a row's key finds, or nothing (refused).
    std::optional<std::size_t> FindPlayer(const CsvRecord& record) {
        const std::string& column = names_[*keyAt_];
        const std::string cell =
            *keyAt_ < record.fields.size() ? record.fields[*keyAt_] : std::string();
        const auto key = WholeNumber(Trimmed(cell));
        if (!key) {
            Refuse(record.line, column, cell,
                   cell.empty() ? "the row has no key to find its player by"
                                : "is not a whole number");
            return std::nullopt;
        }
        std::size_t index = 0;
        if (byRecord_) {
            if (*key < 1 || std::uint64_t(*key) > players_.Count()) {
                Refuse(record.line, column, cell,
                       "the player file has no record " + std::to_string(*key) + " (it holds " +
                           std::to_string(players_.Count()) + ")");
                return std::nullopt;
            }
            index = std::size_t(*key - 1);
        } else {
            const auto found = recordsOfPid_.find(int(*key));
            if (found == recordsOfPid_.end() || *key < -32768 || *key > 32767) {
                Refuse(record.line, column, cell, "no player has this PID");
                return std::nullopt;
            }
            if (found->second.size() > 1) {
                Refuse(record.line, column, cell,
                       "this PID is held by " + std::to_string(found->second.size()) +
                           " records; add the Record column to tell them apart");
                return std::nullopt;
            }
            index = found->second.front();
        }
        if (seenAt_[index] != 0) {
            Refuse(record.line, column, cell,
                   "row " + std::to_string(seenAt_[index]) + " already changes this player");
            return std::nullopt;
        }
        seenAt_[index] = record.line;
        return index;
    }

    void ReadRow(const CsvRecord& record) {
        const std::optional<std::size_t> index = FindPlayer(record);
        for (std::size_t i = columns_.size(); i < record.fields.size(); ++i)
            if (!Trimmed(record.fields[i]).empty())
                Refuse(record.line, "", record.fields[i],
                       "lies beyond the last column of the header");
        if (!index)
            return;
        players_.Read(*index, before_);
        after_ = before_;
        std::vector<std::pair<int, std::string>> derived; // checked once the bytes are known
        for (std::size_t i = 0; i < columns_.size() && i < record.fields.size(); ++i) {
            const int column = columns_[i];
            const std::string& cell = record.fields[i];
            if (column == kRecordKey || column == kUnknown || (column == kPid && !byRecord_) ||
                Trimmed(cell).empty())
                continue;
            if (column == kNoName) {
                Refuse(record.line, "", cell, "the column has no name");
                continue;
            }
            const PlayersColumn& c = kPlayersColumns[column];
            const RecordField& field = kRecordFields[column];
            const auto refuse = [&](std::string why) {
                Refuse(record.line, std::string(c.name), cell, std::move(why));
            };
            switch (field.kind) {
            case FieldKind::Byte:
            case FieldKind::Int16: {
                const auto n = WholeNumber(Trimmed(cell));
                const std::int64_t low = field.kind == FieldKind::Byte ? 0 : -32768;
                const std::int64_t high = field.kind == FieldKind::Byte ? 255 : 32767;
                if (!n)
                    refuse("is not a whole number");
                else if (*n < low || *n > high)
                    refuse("is outside " + std::to_string(low) + ".." + std::to_string(high));
                else
                    after_[column] = *n;
                break;
            }
            case FieldKind::Text: {
                const std::string text = UnguardedText(WithoutTrailingPadding(cell));
                if (text == CellText(before_[column]))
                    break;
                if (!FitsWindows1252(text))
                    refuse("holds a character the player file's code page (Windows-1252) "
                           "cannot hold");
                else if (CharacterCount(text) > std::size_t(field.bytes))
                    refuse("is " + std::to_string(CharacterCount(text)) +
                           " characters long; the field holds " + std::to_string(field.bytes));
                else
                    after_[column] = text;
                break;
            }
            case FieldKind::PlayerId:
            case FieldKind::Weight:
            case FieldKind::PositionText:
                derived.emplace_back(column, cell);
                break;
            case FieldKind::None:
                refuse("the player file does not keep this column; leave it empty");
                break;
            }
        }
        // Derived columns follow their bytes, and only when those change: a stored value that
        // disagrees with its bytes is left as it is.
        const auto changed = [this](int column) { return after_[column] != before_[column]; };
        if (changed(kRPid0) || changed(kRPid1))
            after_[kPid] = Signed16(after_, kRPid0, kRPid1);
        if (changed(kRWeight0) || changed(kRWeight1))
            after_[kWeight] = Signed16(after_, kRWeight0, kRWeight1);
        if (changed(kPosition))
            after_[kPositionText] = PositionText(int(std::get<std::int64_t>(after_[kPosition])));
        for (const auto& [column, cell] : derived)
            if (Trimmed(cell) != CellText(after_[column]))
                Refuse(record.line, std::string(kPlayersColumns[column].name), cell,
                       DerivedFrom(column));

        bool any = false;
        for (int c = 0; c < kPlayersColumnCount; ++c) {
            if (!changed(c))
                continue;
            plan_.changes.push_back({players_.RowId(*index), *index + 1, c, before_[c], after_[c]});
            any = true;
        }
        plan_.playersChanged += any;
    }

    const PlayerList& players_;
    ImportPlan& plan_;
    std::vector<std::string> names_;
    std::vector<int> columns_; // per header cell: Players column, kRecordKey or kNoName
    std::optional<std::size_t> keyAt_;
    bool byRecord_ = false;
    std::unordered_map<int, std::vector<std::size_t>> recordsOfPid_;
    std::vector<int> seenAt_; // per player: the CSV row that changes him, or 0
    PlayerRow before_, after_;
};

} // namespace

ImportPlan PlanImport(std::string_view csv, const PlayerList& players) {
    ImportPlan plan;
    Planner(players, plan).Run(csv);
    return plan;
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
    if (!refusal.column.empty())
        text += ", " + refusal.column;
    if (!refusal.value.empty())
        text += " \"" + refusal.value + "\"";
    return text + ": " + refusal.reason;
}

} // namespace tavrel
