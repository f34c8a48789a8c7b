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
constexpr const char* kReading = "Importing the players from";

// Whether the text starts with apostrophes followed by a character that begins a formula, or that
// a spreadsheet skips before looking for one.
bool LooksLikeFormula(std::string_view text, std::size_t apostrophes) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos && first >= apostrophes &&
           std::string_view("=+-@\t\r").find(text[first]) != std::string_view::npos;
}

// Whether a field's first character makes it a plain one: neither quoted nor empty.
bool IsPlain(char c) {
    return c != '"' && c != ',' && c != '\r' && c != '\n';
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
    bom_ = in_.gcount() == 3 && std::string_view(start, 3) == kUtf8Bom;
    in_.clear();
    in_.seekg(bom_ ? 3 : 0);
    if (!in_)
        throw LeagueError(kReading, file_, "the file cannot be read again from its start");
    // Without the mark, one pass over the whole file first tells UTF-8 from Windows-1252. With
    // it, the file is read once and each cell is checked as it is read.
    if (!bom_)
        windows1252_ = !FileIsUtf8();
}

// Whether everything after the mark is UTF-8: a pass over the whole file the first time it is
// asked, after which reading goes on where it stood.
bool CsvReader::FileIsUtf8() {
    if (!fileIsUtf8_) {
        in_.clear();
        const std::streampos at = in_.tellg();
        in_.seekg(bom_ ? 3 : 0);
        fileIsUtf8_ = StreamIsUtf8(in_);
        in_.clear();
        in_.seekg(at);
        if (at == std::streampos(-1) || !in_)
            throw LeagueError(kReading, file_, "the file cannot be read again from its start");
    }
    return *fileIsUtf8_;
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

// UTF-8 goes straight into the row's text; Windows-1252 is decoded into it at the field's end,
// and a field past the last column is read into field_ and dropped.
void CsvReader::StartField() {
    if (windows1252_ || row_->cells.size() >= std::size_t(kMaxSheetColumns)) {
        field_.clear();
        into_ = &field_;
        fieldStart_ = 0;
    } else {
        into_ = &row_->cells.Text();
        fieldStart_ = into_->size();
    }
}

void CsvReader::AddBytes(const char* bytes, std::size_t size) {
    std::string& to = *into_;
    const std::size_t fieldSize = to.size() - fieldStart_;
    if (fieldSize + size <= kMaxCellBytes && rowBytes_ + size <= kMaxRowBytes) {
        to.append(bytes, size);
        rowBytes_ += size;
        return;
    }
    const std::size_t cellRoom = kMaxCellBytes - fieldSize;
    const std::size_t rowRoom = kMaxRowBytes - rowBytes_;
    const std::size_t taken = std::min({size, cellRoom, rowRoom});
    to.append(bytes, taken);
    rowBytes_ += taken;
    if (taken < size)
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
        fieldHigh_ = true; // not looked at byte by byte: the cell is checked whole
    } else {
        unsigned char bits = 0;
        while (stop != end && *stop != ',' && *stop != '\n' && *stop != '\r')
            bits |= static_cast<unsigned char>(*stop++);
        fieldHigh_ = fieldHigh_ || bits >= 0x80;
    }
    AddBytes(from, std::size_t(stop - from));
    at_ += std::size_t(stop - from);
}

// Plain fields one after another, the bulk of a sheet, each ending the one before, while neither
// field needs a closer look (text that is not UTF-8 or is to be decoded, a cut, the last
// columns): the run of them is copied into the row's text in one step, commas and all, each cell
// the bytes between two. The field that does need a look is left to the loop of Next, as it
// stands after the comma before it; so is the rest of a field the chunk's end cut.
void CsvReader::AddPlainFields() {
    SheetCells& cells = row_->cells;
    if (windows1252_ || fieldHigh_ || fieldCut_ || rowCut_ ||
        cells.size() + 1 >= std::size_t(kMaxSheetColumns))
        return;
    const char* const run = buffer_.data() + at_;
    const char* const end = buffer_.data() + filled_;
    const std::size_t base = into_->size(); // where the run goes in the row's text
    std::size_t fieldEnd = base;            // the end of the field being read
    const char* at = run;
    while (end - at >= 2 && at[0] == ',' && IsPlain(at[1]) &&
           cells.size() + 1 < std::size_t(kMaxSheetColumns)) {
        const char* from = at + 1;
        const char* stop = from;
        unsigned char bits = 0;
        while (stop != end && *stop != ',' && *stop != '\n' && *stop != '\r')
            bits |= static_cast<unsigned char>(*stop++);
        const std::size_t size = std::size_t(stop - from);
        if (size > kMaxCellBytes || rowBytes_ + size > kMaxRowBytes ||
            (bits >= 0x80 && !IsUtf8(std::string_view(from, size))))
            break;
        cells.Add(fieldStart_, fieldEnd); // the field before ends, whole
        fieldStart_ = base + std::size_t(from - run);
        fieldEnd = base + std::size_t(stop - run);
        rowBytes_ += size;
        at = stop;
    }
    into_->append(run, std::size_t(at - run));
    at_ = std::size_t(at - buffer_.data());
}

void CsvReader::EndField() {
    if (windows1252_ || fieldHigh_ || fieldCut_ || rowCut_ ||
        row_->cells.size() >= std::size_t(kMaxSheetColumns))
        EndCheckedField();
    else
        row_->cells.Add(fieldStart_, into_->size()); // plain ASCII, whole
    fieldCut_ = false;
    fieldHigh_ = false;
    atFieldStart_ = true;
    afterQuote_ = false;
}

// A field that may be cut, not UTF-8 or past the last column, or that is still to be decoded.
void CsvReader::EndCheckedField() {
    SheetCells& cells = row_->cells;
    const int column = int(cells.size()) + 1;
    if (column > kMaxSheetColumns) {
        tooManyCells_ = true;
        return;
    }
    if (fieldCut_)
        row_->flaws.push_back({column, "is longer than " + std::to_string(kMaxCellBytes) +
                                           " bytes, more than a spreadsheet cell holds"});
    else if (rowCut_)
        row_->flaws.push_back(
            {column, "the row holds more than 1 MiB of text; the rest of it is not read"});
    if (windows1252_) {
        DecodeWindows1252(field_, decoded_);
        const std::size_t start = cells.Text().size();
        cells.Text() += decoded_;
        cells.Add(start, cells.Text().size());
        return;
    }
    cells.Add(fieldStart_, into_->size());
    if (fieldHigh_ && !IsUtf8(cells[cells.size() - 1])) {
        // A whole cell that is not UTF-8 is a part of the file that is not; a cell cut short may
        // have lost the end of its last character, a flaw only where the file has one.
        const bool cut = fieldCut_ || rowCut_;
        if (!cut)
            fileIsUtf8_ = false;
        if (!cut || !FileIsUtf8())
            row_->flaws.push_back({column, "is not well-formed UTF-8 (the file starts with the "
                                           "UTF-8 byte-order mark, or is UTF-8 elsewhere)"});
    }
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
    row.row = 0;
    row.cells.clear(); // keeps its room for the next row: most rows are alike
    row.flaws.clear();
    row_ = &row;
    StartField();
    while (true) {
        if (at_ == filled_ && (ended_ || !Fill())) {
            if (ended_ || !rowOpen_) {
                ended_ = true;
                row.cells.clear();
                return false;
            }
            ended_ = true;
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
                --at_;
                AddRun(true);
            }
            continue;
        }
        if (c == '"' && afterQuote_) { // "" inside quotes: one quote
            AddBytes("\"", 1);
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
            StartField();
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
            --at_;
            AddRun(false);
            AddPlainFields();
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
