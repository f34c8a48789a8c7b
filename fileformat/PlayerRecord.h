#pragma once

#include "store/PlayersTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// The host game's player file: a 12-byte header Tavrel never interprets, then 366-byte records
// back to back, with no length field and no trailer.
inline constexpr std::size_t kPlayerFileHeaderSize = 12;
inline constexpr std::size_t kPlayerRecordSize = 366;

using RecordBytes = std::span<const std::uint8_t, kPlayerRecordSize>;
using MutableRecordBytes = std::span<std::uint8_t, kPlayerRecordSize>;

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

struct RecordField {
    std::string_view column; // the Players column it fills, kPlayersColumns[i].name
    FieldKind kind;
    int offset; // record offset of the field, for Byte, Int16 and Text
    int bytes;  // record width of the field: 1 for Byte, 2 for Int16, the characters of Text
};

// The byte layout of a record, one field per Players column in table order.
extern const std::array<RecordField, kPlayersColumnCount> kRecordFields;

// Fills every Players column from one record: bytes as numbers, text whole (padding included)
// decoded from Windows-1252, PID and Weight as signed 16-bit numbers, PositionTXT from the
// position byte; the never-filled columns become null.
void DecodePlayerRecord(RecordBytes record, PlayerRow& row);

// The number a Byte, Int16, PlayerId or Weight column holds in a record (0 for another column).
inline std::int64_t RecordNumber(RecordBytes record, const RecordField& field) {
    const auto signed16 = [record](int at) {
        return std::int64_t(std::int16_t(std::uint16_t(record[at] | (record[at + 1] << 8))));
    };
    switch (field.kind) {
    case FieldKind::Byte:
        return record[field.offset];
    case FieldKind::Int16:
        return signed16(field.offset);
    case FieldKind::PlayerId:
        return signed16(0);
    case FieldKind::Weight:
        return signed16(86);
    default:
        return 0;
    }
}

// One column of a record as DecodePlayerRecord decodes it, into `value` (reusing its room).
void DecodePlayerField(RecordBytes record, int column, Value& value);

// Why a row cannot become a record: the column and what is wrong with its value.
struct RowProblem {
    int column;
    std::string reason;
};

// Checks every column that export reads: numbers must fit their field (a byte 0..255, Unknown0
// -32768..32767), nothing may be null. Nothing for a row that can be written.
std::optional<RowProblem> CheckPlayerRow(const PlayerRow& row);

// Writes the row's columns into their fields of `record`, leaving every other byte as it was (the
// sixty bytes of the ratings blocks that no column carries). Text is written left-aligned, padded
// with spaces and cut to the field's width. PID, Weight and PositionTXT are not read: the bytes
// come from rPID_0/1, rWeight_0/1 and Position. The row must pass CheckPlayerRow.
void EncodePlayerRecord(const PlayerRow& row, MutableRecordBytes record);

// For each record offset, whether no Players column carries the byte there (the sixty of the
// ratings blocks that export takes from the record they came from).
const std::array<bool, kPlayerRecordSize>& UnmodelledBytes();

// Whether both identifier bytes (rPID_0, rPID_1) of a checked row are 0: export writes no record
// for such a row.
bool HasEmptyPlayerId(const PlayerRow& row);

} // namespace tavrel
