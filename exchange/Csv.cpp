#include "exchange/Csv.h"

#include "base/LeagueError.h"
#include "base/Utf8.h"
#include "fileformat/Windows1252.h"

#include <algorithm>
#include <cstring>

namespace tavrel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kSpareCellRoom = 256; // a cell kept for its room holds at most this
constexpr const char* kReading = "Importing the players from";

// Whether the text starts with apostrophes followed by a character that begins a formula, or that
// a spreadsheet skips before looking for one.
bool LooksLikeFormula(std::string_view text, std::size_t apostrophes) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos && first >= apostrophes &&
           std::string_view("=+-@\t\r").find(text[first]) != std::string_view::npos;
}

// Whether everything `in` holds from where it stands is UTF-8, read a chunk at a time; a sequence
// cut by a chunk's end is checked with the next chunk.
bool StreamIsUtf8(std::istream& in) {
    std::string text;
    std::string chunk(kChunk, '\0');
    while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0) {
        text.append(chunk.data(), std::size_t(in.gcount()));
        std::size_t complete = text.size();
        for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
            const auto c = static_cast<unsigned char>(text[text.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue;
            if (c >= 0xC0)
                complete = text.size() - back;
            break;
        }
        if (!IsUtf8(std::string_view(text).substr(0, complete)))
            return false;
        text.erase(0, complete);
    }
    return IsUtf8(text);
}

} // namespace

std::string GuardedText(std::string text) {
    if (LooksLikeFormula(text, 0))
        text.insert(text.begin(), '\'');
    return text;
}

std::string UnguardedText(std::string text) {
    if (LooksLikeFormula(text, 1))
        text.erase(text.begin());
    return text;
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

CsvReader::CsvReader(std::istream& in, std::filesystem::path file)
    : in_(in), file_(std::move(file)) {
    char start[3] = {};
    in_.read(start, 3);
    const bool bom = in_.gcount() == 3 && std::string_view(start, 3) == kUtf8Bom;
    in_.clear();
    in_.seekg(bom ? 3 : 0);
    // One pass over the whole file first: without the mark it tells UTF-8 from Windows-1252; with
    // it, a file found whole needs no check per cell (only a broken one is searched for the cells).
    const bool utf8 = StreamIsUtf8(in_);
    windows1252_ = !bom && !utf8;
    checkedUtf8_ = utf8;
    in_.clear();
    in_.seekg(bom ? 3 : 0);
    if (!in_)
        throw LeagueError(kReading, file_, "the file cannot be read again from its start");
}

bool CsvReader::Fill() {
    if (buffer_.size() != kChunk)
        buffer_.resize(kChunk); // once: the bytes past what a read gives are never looked at
    in_.read(buffer_.data(), std::streamsize(kChunk));
    filled_ = std::size_t(in_.gcount());
    at_ = 0;
    if (in_.bad())
        throw LeagueError(kReading, file_, "the file cannot be read");
    return filled_ > 0;
}

void CsvReader::AddBytes(std::string_view bytes) {
    const std::size_t cellRoom = kMaxCellBytes - field_.size();
    const std::size_t rowRoom = kMaxRowBytes - rowBytes_;
    const std::size_t taken = std::min({bytes.size(), cellRoom, rowRoom});
    field_.append(bytes.data(), taken);
    rowBytes_ += taken;
    if (taken < bytes.size())
        (taken == cellRoom ? fieldCut_ : rowCut_) = true;
}

// The run of bytes from at_ up to the next that may end the field, added in one step: most of a
// file is such runs. Inside quotes only a quote may end it, outside a comma or a line break.
void CsvReader::AddRun(bool insideQuotes) {
    const char* from = buffer_.data() + at_;
    const char* end = buffer_.data() + filled_;
    const char* stop = from;
    if (insideQuotes) {
        stop = static_cast<const char*>(std::memchr(from, '"', std::size_t(end - from)));
        if (!stop)
            stop = end;
    } else {
        while (stop != end && *stop != ',' && *stop != '\n' && *stop != '\r')
            ++stop;
    }
    AddBytes(std::string_view(from, std::size_t(stop - from)));
    at_ += std::size_t(stop - from);
}

void CsvReader::EndField() {
    const int column = int(row_->cells.size()) + 1;
    if (column > kMaxSheetColumns) {
        tooManyCells_ = true;
    } else {
        if (fieldCut_)
            row_->flaws.push_back({column, "is longer than " + std::to_string(kMaxCellBytes) +
                                               " bytes, more than a spreadsheet cell holds"});
        else if (rowCut_)
            row_->flaws.push_back({column, "the row holds more than 1 MiB of text; the rest of "
                                           "it is not read"});
        std::string& cell = row_->cells.emplace_back();
        if (!spare_.empty()) { // a cell of an earlier row, with its room
            cell.swap(spare_.back());
            spare_.pop_back();
        }
        if (windows1252_) {
            DecodeWindows1252(field_, cell);
        } else {
            if (!checkedUtf8_ && !IsUtf8(field_))
                row_->flaws.push_back({column,
                                       "is not well-formed UTF-8 (the file starts with "
                                       "the UTF-8 byte-order mark, or is UTF-8 elsewhere)"});
            cell.assign(field_);
        }
    }
    field_.clear();
    fieldCut_ = false;
    atFieldStart_ = true;
    afterQuote_ = false;
}

void CsvReader::EndRow() {
    if (rowOpen_) {
        EndField();
        if (rowCut_)
            rowCut_ = false;
        if (tooManyCells_)
            row_->flaws.push_back(
                {kMaxSheetColumns + 1, "the row has more cells than a spreadsheet has columns (" +
                                           std::to_string(kMaxSheetColumns) + ")"});
    }
    rowBytes_ = 0;
    tooManyCells_ = false;
}

bool CsvReader::Next(SheetRow& row) {
    // The cells keep their room for the next row, up to a few MiB: most rows are alike.
    for (std::string& cell : row.cells)
        if (spare_.size() < std::size_t(kMaxSheetColumns) && cell.capacity() <= kSpareCellRoom)
            spare_.push_back(std::move(cell));
    row.Clear();
    row_ = &row;
    while (true) {
        if (at_ == filled_ && (ended_ || !Fill())) {
            if (ended_)
                return false;
            ended_ = true;
            if (!rowOpen_)
                return false;
            if (quoted_)
                row.flaws.push_back({quoteColumn_,
                                     "the quote that opens this cell is never closed (the rest "
                                     "of the file would be its text)"});
            EndRow();
            rowOpen_ = false;
            return true;
        }
        const char c = buffer_[at_++];
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n')
                continue;
        }
        if (!rowOpen_) {
            row.row = rowNumber_;
            rowOpen_ = c != '\r' && c != '\n';
        }
        if (quoted_) {
            if (c == '"') {
                quoted_ = false;
                afterQuote_ = true;
            } else {
                AddBytes(std::string_view(&c, 1));
                AddRun(true);
            }
            continue;
        }
        if (c == '"' && afterQuote_) { // "" inside quotes: one quote
            AddBytes("\"");
            quoted_ = true;
            afterQuote_ = false;
            continue;
        }
        afterQuote_ = false;
        if (c == '"' && atFieldStart_) {
            quoted_ = true;
            quoteColumn_ = int(row.cells.size()) + 1;
            atFieldStart_ = false;
        } else if (c == ',') {
            EndField();
        } else if (c == '\r' || c == '\n') {
            afterCr_ = c == '\r';
            const bool yield = rowOpen_;
            EndRow();
            rowOpen_ = false;
            atFieldStart_ = true;
            ++rowNumber_;
            if (yield)
                return true;
        } else {
            atFieldStart_ = false;
            AddBytes(std::string_view(&c, 1));
            AddRun(false);
        }
    }
}

std::vector<SheetRow> ParseCsv(std::string_view bytes) {
    MemoryStream in(bytes);
    CsvReader reader(in);
    std::vector<SheetRow> rows;
    for (SheetRow row; reader.Next(row);)
        rows.push_back(row);
    return rows;
}

} // namespace tavrel
