#include "TestPlayers.h"

#include "fileformat/Windows1252.h"

#include <algorithm>
#include <stdexcept>

namespace tavrel::testing {

int Col(std::string_view name) {
    const auto index = PlayersColumnIndex(name);
    if (!index)
        throw std::invalid_argument("no column " + std::string(name));
    return *index;
}

std::int64_t Num(const PlayerRow& row, std::string_view column) {
    return std::get<std::int64_t>(row[Col(column)]);
}

const std::string& Str(const PlayerRow& row, std::string_view column) {
    return std::get<std::string>(row[Col(column)]);
}

int FieldWidth(const RecordField& field) {
    const bool stored = field.kind == FieldKind::Text || field.kind == FieldKind::Int16 ||
                        field.kind == FieldKind::Byte;
    return stored ? field.bytes : 0;
}

PlayerRow MakePlayer(const PlayerSpec& spec) {
    static int nextId = 1;
    const int id = nextId++;
    const auto text = [](const std::string& utf8, std::size_t width) {
        return EncodeWindows1252(utf8).substr(0, width); // the zeros behind it are the padding
    };
    Bytes record(kPlayerRecordSize, 0);
    record[0] = std::uint8_t(id & 0xFF);
    record[1] = std::uint8_t((id >> 8) & 0x7F);
    record[4] = std::uint8_t(spec.team);
    Put(record, 8, text(spec.firstName, 15));
    Put(record, 23, text(spec.lastName, 25));
    Put(record, 48, text(spec.college, 31));
    record[82] = std::uint8_t(spec.height);
    record[86] = std::uint8_t(spec.weight & 0xFF);
    record[87] = std::uint8_t(spec.weight >> 8);
    record[94] = std::uint8_t(spec.position);
    for (int k = 0; k < 24; ++k) {
        record[175 + 2 * k] = std::uint8_t(spec.actual);
        record[243 + 2 * k] = std::uint8_t(spec.potential);
    }
    record[175 + 48] = std::uint8_t(spec.age);
    record[175 + 50] = std::uint8_t(spec.years);
    return DecodedRow(record);
}

void Put(Bytes& record, std::size_t offset, const std::string& text) {
    if (offset + text.size() > record.size())
        throw std::out_of_range("text beyond the end of the record");
    std::copy(text.begin(), text.end(), record.begin() + std::ptrdiff_t(offset));
}

Bytes PatternRecord(std::size_t n) {
    Bytes r(kPlayerRecordSize);
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<std::uint8_t>((n * kPlayerRecordSize + i) % 256);
    return r;
}

Bytes WorkedExampleRecord(std::uint8_t actualSP, std::uint8_t potentialSP, std::uint8_t actualFA,
                          std::uint8_t potentialFA) {
    Bytes r(kPlayerRecordSize, 0);
    r[0] = 0x10;
    r[1] = 0x27;
    r[86] = 0xD2;
    r[94] = 13;
    r[175] = actualSP;
    r[243] = potentialSP;
    r[221] = actualFA;
    r[289] = potentialFA;
    Put(r, 8, "John");
    return r;
}

PlayerRow DecodedRow(const Bytes& record) {
    if (record.size() != kPlayerRecordSize)
        throw std::invalid_argument("not a whole record");
    PlayerRow row;
    DecodePlayerRecord(RecordBytes(record.data(), kPlayerRecordSize), row);
    return row;
}

Bytes PlayerFileHeader() {
    return {'H', 'D', 'R', 0, 1, 2, 0xFF, 0x80, 9, 10, 11, 12};
}

Bytes PlayerFile(const std::vector<Bytes>& records) {
    Bytes file = PlayerFileHeader();
    for (const Bytes& r : records)
        Append(file, r);
    return file;
}

Bytes TeamBlock(std::uint8_t id, const std::string& name, const std::string& coach) {
    Bytes block = {'T', 'M', 'S', ':', 0x7F};
    Bytes record(58, 0);
    Put(record, 0, "ABCDEFG");
    Put(record, 7, name.substr(0, 20));
    Put(record, 27, coach.substr(0, 30));
    record[57] = id;
    Append(block, record);
    return block;
}

void Append(Bytes& to, const Bytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

} // namespace tavrel::testing
