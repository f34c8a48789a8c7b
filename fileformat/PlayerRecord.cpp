#include "fileformat/PlayerRecord.h"

#include "fileformat/Windows1252.h"
#include "store/Vocabulary.h"

#include <cstring>

namespace tavrel {
namespace {

using K = FieldKind;

constexpr int kActualBlock = 175;
constexpr int kPotentialBlock = 243;

constexpr RecordField Pot(std::string_view name, int index) {
    return {name, K::Byte, kPotentialBlock + index, 1};
}
constexpr RecordField Act(std::string_view name, int index) {
    return {name, K::Byte, kActualBlock + index, 1};
}
constexpr RecordField Text(std::string_view name, int width, int offset) {
    return {name, K::Text, offset, width};
}
constexpr RecordField Int(std::string_view name, int offset) {
    return {name, K::Byte, offset, 1};
}
constexpr RecordField Unfilled(std::string_view name) {
    return {name, K::None, 0, 0};
}

} // namespace

const std::array<RecordField, kPlayersColumnCount> kRecordFields = {{
    Int("Team", 4),
    {"PID", K::PlayerId, 0, 0},
    Unfilled("JNum"),
    Text("FirstName", 15, 8),
    Text("LastName", 25, 23),
    Act("Years", 50),
    Int("Position", 94),
    Unfilled("INJ_Sev"),
    Unfilled("INJ_Type"),
    Unfilled("INJ_Week"),
    Unfilled("INJStatus"),
    Pot("Pot_SP", 0),
    Pot("Pot_AG", 2),
    Pot("Pot_VT", 4),
    Pot("Pot_AS", 6),
    Pot("Pot_TA", 8),
    Pot("Pot_KD", 10),
    Pot("Pot_KA", 12),
    Pot("Pot_SC", 14),
    Pot("Pot_PB", 16),
    Pot("Pot_RB", 18),
    Pot("Pot_RD", 20),
    Pot("Pot_PR", 22),
    Pot("Pot_TK", 24),
    Pot("Pot_BT", 26),
    Pot("Pot_CA", 28),
    Pot("Pot_PD", 30),
    Pot("Pot_BC", 32),
    Pot("Pot_VI", 34),
    Pot("Pot_AW", 36),
    Pot("Pot_RE", 38),
    Pot("Pot_DI", 40),
    Pot("Pot_PM", 42),
    Pot("Pot_DU", 44),
    Pot("Pot_FA", 46),
    Act("Act_SP", 0),
    Act("Act_AG", 2),
    Act("Act_VT", 4),
    Act("Act_AS", 6),
    Act("Act_TA", 8),
    Act("Act_KD", 10),
    Act("Act_KA", 12),
    Act("Act_SC", 14),
    Act("Act_PB", 16),
    Act("Act_RB", 18),
    Act("Act_RD", 20),
    Act("Act_PR", 22),
    Act("Act_TK", 24),
    Act("Act_BT", 26),
    Act("Act_CA", 28),
    Act("Act_PD", 30),
    Act("Act_BC", 32),
    Act("Act_VI", 34),
    Act("Act_AW", 36),
    Act("Act_RE", 38),
    Act("Act_DI", 40),
    Act("Act_PM", 42),
    Act("Act_DU", 44),
    Act("Act_FA", 46),
    Act("AGE", 48),
    Int("Height", 82),
    {"Weight", K::Weight, 0, 0},
    Int("PosNatural", 98),
    Text("Head", 5, 127),
    Text("Mug", 7, 140),
    Text("College", 31, 48),
    {"PositionTXT", K::PositionText, 0, 0},
    Int("rPID_0", 0),
    Int("rPID_1", 1),
    Int("rWeight_0", 86),
    Int("rWeight_1", 87),
    {"Unknown0", K::Int16, 2, 2},
    Text("Unknown1", 3, 5),
    Text("Unknown2", 3, 79),
    Text("Unknown3", 3, 83),
    Text("Unknown4", 6, 88),
    Text("Unknown5", 3, 95),
    Text("Unknown6", 28, 99),
    Text("Unknown6a", 8, 132),
    Text("Unknown7", 28, 147),
    Text("Unknown8", 9, 234),
    Text("Unknown9", 64, 302),
    Pot("Pot_52", 52),
    Pot("Pot_54", 54),
    Pot("Pot_56", 56),
    Pot("Pot_58", 58),
    Act("Act_52", 52),
    Act("Act_54", 54),
    Act("Act_56", 56),
    Act("Act_58", 58),
}};

namespace {

const int kRPid0 = *PlayersColumnIndex("rPID_0");
const int kRPid1 = *PlayersColumnIndex("rPID_1");

// Whether export writes this column into the record.
bool IsWritten(FieldKind kind) {
    return kind == FieldKind::Byte || kind == FieldKind::Int16 || kind == FieldKind::Text;
}

} // namespace

namespace {

// The one decoding of a column, in line in the loop over a whole record (importing a league
// decodes every record: a call per column would cost it a twentieth), each kind its own case so
// that RecordNumber's choice of kind folds away.
[[gnu::always_inline]] inline void DecodeField(RecordBytes r, const RecordField& c, Value& value) {
    switch (c.kind) {
    case FieldKind::Byte:
        value = RecordNumber(r, c);
        break;
    case FieldKind::Int16:
        value = RecordNumber(r, c);
        break;
    case FieldKind::PlayerId:
        value = RecordNumber(r, c);
        break;
    case FieldKind::Weight:
        value = RecordNumber(r, c);
        break;
    case FieldKind::Text: {
        const std::string_view bytes(reinterpret_cast<const char*>(r.data() + c.offset), c.bytes);
        if (auto* text = std::get_if<std::string>(&value))
            DecodeWindows1252(bytes, *text); // reuses the room of the previous record's text
        else
            value = DecodeWindows1252(bytes);
        break;
    }
    case FieldKind::PositionText:
        value = PositionText(r[94]);
        break;
    case FieldKind::None:
        value = std::monostate{};
        break;
    }
}

} // namespace

void DecodePlayerField(RecordBytes r, int column, Value& value) {
    DecodeField(r, kRecordFields[column], value);
}

void DecodePlayerRecord(RecordBytes r, PlayerRow& row) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        DecodeField(r, kRecordFields[i], row[i]);
}

std::optional<RowProblem> CheckPlayerRow(const PlayerRow& row) {
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const RecordField& c = kRecordFields[i];
        if (!IsWritten(c.kind))
            continue;
        const Value& v = row[i];
        if (std::holds_alternative<std::monostate>(v))
            return RowProblem{i, "has no value"};
        if (c.kind == FieldKind::Text) {
            if (!std::holds_alternative<std::string>(v))
                return RowProblem{i, "is not text"};
            continue;
        }
        const auto* n = std::get_if<std::int64_t>(&v);
        if (!n)
            return RowProblem{i, "is not a whole number"};
        if (c.kind == FieldKind::Byte && (*n < 0 || *n > 255))
            return RowProblem{i, "value " + std::to_string(*n) + " is outside 0..255"};
        if (c.kind == FieldKind::Int16 && (*n < -32768 || *n > 32767))
            return RowProblem{i, "value " + std::to_string(*n) + " is outside -32768..32767"};
    }
    return std::nullopt;
}

void EncodePlayerRecord(const PlayerRow& row, MutableRecordBytes r) {
    std::string inField; // what a text field holds now, as text
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const RecordField& c = kRecordFields[i];
        switch (c.kind) {
        case FieldKind::Byte:
            r[c.offset] = static_cast<std::uint8_t>(std::get<std::int64_t>(row[i]));
            break;
        case FieldKind::Int16: {
            const auto n = static_cast<std::uint16_t>(std::get<std::int64_t>(row[i]));
            r[c.offset] = static_cast<std::uint8_t>(n & 0xFF);
            r[c.offset + 1] = static_cast<std::uint8_t>(n >> 8);
            break;
        }
        case FieldKind::Text: {
            const std::span<char> field(reinterpret_cast<char*>(r.data() + c.offset), c.bytes);
            const std::string& text = std::get<std::string>(row[i]);
            // Text that the field's bytes already spell, padding and all, would be encoded to
            // those same bytes; checking is much cheaper than encoding, and most text is unedited.
            DecodeWindows1252(std::string_view(field.data(), field.size()), inField);
            if (inField == text)
                break;
            const std::size_t n = EncodeWindows1252(text, field);
            std::memset(field.data() + n, ' ', field.size() - n);
            break;
        }
        default:
            break;
        }
    }
}

const std::array<bool, kPlayerRecordSize>& UnmodelledBytes() {
    static const auto mask = [] {
        std::array<bool, kPlayerRecordSize> unmodelled;
        unmodelled.fill(true);
        for (const RecordField& c : kRecordFields) {
            const bool stored = c.kind == FieldKind::Text || c.kind == FieldKind::Int16 ||
                                c.kind == FieldKind::Byte;
            for (int i = 0; stored && i < c.bytes; ++i)
                unmodelled[std::size_t(c.offset + i)] = false;
        }
        return unmodelled;
    }();
    return mask;
}

bool HasEmptyPlayerId(const PlayerRow& row) {
    return std::get<std::int64_t>(row[kRPid0]) == 0 && std::get<std::int64_t>(row[kRPid1]) == 0;
}

} // namespace tavrel
