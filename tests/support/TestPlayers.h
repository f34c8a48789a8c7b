#pragma once

// Players rows and player records made for tests, and the columns of a row read back.

#include "fileformat/PlayerRecord.h"
#include "store/PlayersTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::testing {

using Bytes = std::vector<std::uint8_t>;
using Record = std::array<std::uint8_t, kPlayerRecordSize>;

// The position of a Players column in a PlayerRow; throws std::invalid_argument for a name the
// table lacks.
int Col(std::string_view name);
std::int64_t Num(const PlayerRow& row, std::string_view column);
const std::string& Str(const PlayerRow& row, std::string_view column);

// How many record bytes the column is read from: none for derived and never-filled columns.
int FieldWidth(const RecordField& field);

// A player as import makes him from a record: Windows-1252 names padded with NULs (texts are
// given in UTF-8), every actual rating `actual`, every potential rating `potential`. PIDs count
// up from 1 across calls.
struct PlayerSpec {
    int team = 1;
    int position = 0;
    std::string lastName = "Smith";
    std::string firstName = "John";
    std::string college = "State";
    int actual = 50;
    int potential = 60;
    int years = 3;
    int age = 25;
    int height = 74;
    int weight = 210;
};
PlayerRow MakePlayer(const PlayerSpec& spec);

// Copies `text` into `record` from `offset` on, byte for byte.
void Put(Bytes& record, std::size_t offset, const std::string& text);

// Record n of a pattern in which every byte differs from its neighbours and from the same byte of
// other records, so that a byte put back in the wrong place or taken from the wrong record shows.
// Over 18 records the text fields hold every byte value 0..255. The identifier bytes are never
// both 0 (the second is the first plus one).
Bytes PatternRecord(std::size_t n);

// The record of the worked examples: PID 10000, weight 210, position 13 (S), first name "John",
// the first and last ratings (SP and FA) as given; every other byte 0.
Bytes WorkedExampleRecord(std::uint8_t actualSP, std::uint8_t potentialSP, std::uint8_t actualFA,
                          std::uint8_t potentialFA);

// The row import makes of a record of kPlayerRecordSize bytes.
PlayerRow DecodedRow(const Bytes& record);

// A player file: a 12-byte header that is no record, then the records.
Bytes PlayerFileHeader();
Bytes PlayerFile(const std::vector<Bytes>& records);

// A team block as the league file holds it: the marker "TMS:", one skipped byte, then the 58-byte
// team record (seven filler bytes, name and coach padded with NULs, the team number).
Bytes TeamBlock(std::uint8_t id, const std::string& name, const std::string& coach);

void Append(Bytes& to, const Bytes& bytes);

} // namespace tavrel::testing
