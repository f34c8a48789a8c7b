#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "store/PlayersTable.h"

namespace tavrel {

// The host game's player file: a 12-byte header Tavrel never interprets, then 366-byte records
// back to back, with no length field and no trailer.
inline constexpr std::size_t kPlayerFileHeaderSize = 12;
inline constexpr std::size_t kPlayerRecordSize = 366;

using RecordBytes = std::span<const std::uint8_t, kPlayerRecordSize>;
using MutableRecordBytes = std::span<std::uint8_t, kPlayerRecordSize>;

// Fills every Players column from one record: bytes as numbers, text whole (padding included)
// decoded from Windows-1252, PID and Weight as signed 16-bit numbers, PositionTXT from the
// position byte; the never-filled columns become null.
void DecodePlayerRecord(RecordBytes record, PlayerRow& row);

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
