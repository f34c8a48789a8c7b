#include "league/PlayerRecord.h"

#include "league/Windows1252.h"
#include "store/Vocabulary.h"

#include <cstring>

namespace tavrel {
namespace {

std::int64_t Signed16(std::uint8_t low, std::uint8_t high) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

const int kRPid0 = *PlayersColumnIndex("rPID_0");
const int kRPid1 = *PlayersColumnIndex("rPID_1");

// Whether export writes this column into the record.
bool IsWritten(FieldKind kind) {
    return kind == FieldKind::Byte || kind == FieldKind::Int16 || kind == FieldKind::Text;
}

} // namespace

void DecodePlayerRecord(RecordBytes r, PlayerRow& row) {
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const PlayersColumn& c = kPlayersColumns[i];
        switch (c.kind) {
        case FieldKind::Byte:
            row[i] = std::int64_t(r[c.offset]);
            break;
        case FieldKind::Int16:
            row[i] = Signed16(r[c.offset], r[c.offset + 1]);
            break;
        case FieldKind::Text: {
            const std::string_view bytes(reinterpret_cast<const char*>(r.data() + c.offset),
                                         c.bytes);
            if (auto* text = std::get_if<std::string>(&row[i]))
                DecodeWindows1252(bytes, *text); // reuses the room of the previous record's text
            else
                row[i] = DecodeWindows1252(bytes);
            break;
        }
        case FieldKind::PlayerId:
            row[i] = Signed16(r[0], r[1]);
            break;
        case FieldKind::Weight:
            row[i] = Signed16(r[86], r[87]);
            break;
        case FieldKind::PositionText:
            row[i] = PositionText(r[94]);
            break;
        case FieldKind::None:
            row[i] = std::monostate{};
            break;
        }
    }
}

std::optional<RowProblem> CheckPlayerRow(const PlayerRow& row) {
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const PlayersColumn& c = kPlayersColumns[i];
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
        const PlayersColumn& c = kPlayersColumns[i];
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
        for (const PlayersColumn& c : kPlayersColumns) {
            const int width = c.kind == FieldKind::Text    ? c.bytes
                              : c.kind == FieldKind::Int16 ? 2
                              : c.kind == FieldKind::Byte  ? 1
                                                           : 0;
            for (int i = 0; i < width; ++i)
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
