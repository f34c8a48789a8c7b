#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <iterator>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel {

// What a spreadsheet can hold, and so what import reads of a sheet: columns A..XFD, and a cell of
// at most 32,767 characters (taken here as bytes). A row of the player sheet holds about a
// kilobyte, so a row of more than a mebibyte of text is cut there too: a hostile file costs no
// more memory than that.
inline constexpr int kMaxSheetColumns = 16384;
inline constexpr std::size_t kMaxCellBytes = 32767;
inline constexpr std::size_t kMaxRowBytes = 1 << 20;

// Something wrong with one cell of the file itself (not with what it means for a player).
struct CellFlaw {
    int column = 0; // 1-based, A = 1
    std::string reason;
};

// The cells of a row from column A on, their text kept in one string: a row costs the same two
// allocations however many cells it has, and none once a row as long has been read. A cell is a
// view into that string, valid until the cells change.
class SheetCells {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const SheetCells* cells, std::size_t at) : cells_(cells), at_(at) {}
        std::string_view operator*() const { return (*cells_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        const SheetCells* cells_ = nullptr;
        std::size_t at_ = 0;
    };

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(text_).substr(spans_[i].first, spans_[i].second - spans_[i].first);
    }
    std::string_view front() const { return (*this)[0]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void clear() {
        text_.clear();
        spans_.clear();
    }
    void push_back(std::string_view text) {
        spans_.emplace_back(text_.size(), text_.size() + text.size());
        text_ += text;
    }

    // For a reader that writes the text in place: bytes go at the end of Text(), and Add makes a
    // cell of those from `start` to `end`. Text between cells is never shown.
    std::string& Text() { return text_; }
    void Add(std::size_t start, std::size_t end) { spans_.emplace_back(start, end); }

private:
    std::string text_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_; // of each cell in text_
};

// One row of a sheet: its number as a spreadsheet shows it (the header is usually row 1) and its
// cells from column A on, UTF-8, a missing cell empty.
struct SheetRow {
    int row = 0;
    SheetCells cells;
    std::vector<CellFlaw> flaws;

    void Clear() {
        row = 0;
        cells.clear();
        flaws.clear();
    }
};

// Reads a sheet row by row, so that a sheet of any length costs the memory of one row.
class SheetReader {
public:
    virtual ~SheetReader() = default;
    // The next row that has a cell (blank rows are skipped, their numbers counted); false at the
    // end. Throws LeagueError when the file cannot be read.
    virtual bool Next(SheetRow& row) = 0;
};

// Bytes in memory as a stream that can go back to its start, for a sheet held in memory. The
// bytes must outlive the stream.
class MemoryStream : public std::istream {
public:
    explicit MemoryStream(std::string_view bytes);

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(std::string_view bytes);

    protected:
        pos_type seekoff(off_type off, std::ios_base::seekdir dir,
                         std::ios_base::openmode mode) override;
        pos_type seekpos(pos_type pos, std::ios_base::openmode mode) override;
    };
    Buffer buffer_;
};

// "A", "Z", "AA", "XFD": a 1-based column number as a spreadsheet names it.
std::string ColumnLetters(int column);

// "column 3 (C)": a column in messages.
std::string DescribeColumn(int column);

// The first `size` bytes of a cell for a message, cut at a character boundary with "..." after
// it, line breaks and other control characters shown as \n, \r, \t or \u00XX, a byte of no
// UTF-8 character as \xHH.
std::string CellExcerpt(std::string_view text, std::size_t size = 40);

// A reader for `file` by its extension: .xlsx as a workbook (its first sheet), anything else as
// CSV. Throws LeagueError naming the file when it cannot be opened.
std::unique_ptr<SheetReader> OpenSheet(const std::filesystem::path& file);

} // namespace tavrel
