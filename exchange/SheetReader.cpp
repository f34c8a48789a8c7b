#include "exchange/SheetReader.h"

#include "base/LeagueError.h"
#include "base/Utf8.h"
#include "exchange/Csv.h"
#include "exchange/Xlsx.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// A CSV file and its reader, opened together.
class CsvFileReader : public SheetReader {
public:
    explicit CsvFileReader(const fs::path& file) : in_(Open(file)), reader_(in_, file) {}
    bool Next(SheetRow& row) override { return reader_.Next(row); }

private:
    static std::ifstream Open(const fs::path& file) {
        std::error_code error;
        if (fs::is_directory(file, error))
            throw LeagueError("Importing the players from", file, "this is a folder");
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw LeagueError("Importing the players from", file,
                              "the file cannot be opened (missing, or not readable)");
        return in;
    }

    std::ifstream in_;
    CsvReader reader_;
};

} // namespace

MemoryStream::MemoryStream(std::string_view bytes) : std::istream(nullptr), buffer_(bytes) {
    rdbuf(&buffer_);
}

MemoryStream::Buffer::Buffer(std::string_view bytes) {
    char* start = const_cast<char*>(bytes.data()); // only ever read
    setg(start, start, start + bytes.size());
}

MemoryStream::Buffer::pos_type MemoryStream::Buffer::seekoff(off_type off,
                                                             std::ios_base::seekdir dir,
                                                             std::ios_base::openmode mode) {
    const off_type base = dir == std::ios_base::beg   ? 0
                          : dir == std::ios_base::cur ? gptr() - eback()
                                                      : egptr() - eback();
    return seekpos(pos_type(base + off), mode);
}

MemoryStream::Buffer::pos_type MemoryStream::Buffer::seekpos(pos_type pos,
                                                             std::ios_base::openmode) {
    const off_type at = off_type(pos);
    if (at < 0 || at > egptr() - eback())
        return pos_type(off_type(-1));
    setg(eback(), eback() + at, egptr());
    return pos;
}

std::string ColumnLetters(int column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), char('A' + (column - 1) % 26));
    return letters;
}

std::string DescribeColumn(int column) {
    return "column " + std::to_string(column) + " (" + ColumnLetters(column) + ")";
}

std::string CellExcerpt(std::string_view text, std::size_t size) {
    std::string out;
    std::size_t at = 0;
    char code[8];
    while (at < text.size() && out.size() < size) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x20 || c == 0x7F) {
            const char* named = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : nullptr;
            if (!named)
                std::snprintf(code, sizeof code, "\\u%04X", c);
            out += named ? named : code;
            ++at;
            continue;
        }
        const std::size_t start = at;
        if (c >= 0x80 && NextCodePoint(text, at) < 0) {
            at = start + 1; // a byte of no character: shown by its number
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
            continue;
        }
        at = std::max(at, start + 1);
        out.append(text, start, at - start);
    }
    if (at < text.size())
        out += "...";
    return out;
}

std::unique_ptr<SheetReader> OpenSheet(const fs::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".xlsx")
        return std::make_unique<XlsxReader>(file);
    return std::make_unique<CsvFileReader>(file);
}

} // namespace tavrel
