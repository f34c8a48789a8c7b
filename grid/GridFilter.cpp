#include "grid/GridFilter.h"

#include "fileformat/Windows1252.h"
#include "store/Text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tavrel::grid {
namespace {

const std::array<unsigned char, 256> kLower = [] {
    std::array<unsigned char, 256> lower{};
    for (int c = 0; c < 256; ++c)
        lower[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        lower[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    // Windows-1252: À..Þ except × map to à..þ; Š, Œ, Ž and Ÿ stand apart.
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            lower[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    lower[0x8A] = 0x9A;
    lower[0x8C] = 0x9C;
    lower[0x8E] = 0x9E;
    lower[0x9F] = 0xFF;
    return lower;
}();

// The '|'-separated alternatives, with '|' inside quotes kept; nothing when a quote is open.
std::optional<std::vector<std::string_view>> Alternatives(std::string_view text) {
    std::vector<std::string_view> terms;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"')
            quoted = !quoted;
        if (i == text.size() || (text[i] == '|' && !quoted)) {
            terms.push_back(Trimmed(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    if (quoted)
        return std::nullopt;
    return terms;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    text = Trimmed(text);
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

std::string Quote(std::string_view term) {
    return "\"" + std::string(term) + "\"";
}

std::variant<NumberTest, FilterError> ParseNumberTerm(std::string_view term) {
    using Op = NumberTest::Op;
    static constexpr std::pair<std::string_view, Op> kOperators[] = {{">=", Op::GreaterOrEqual},
                                                                     {"<=", Op::LessOrEqual},
                                                                     {"!=", Op::NotEqual},
                                                                     {"<>", Op::NotEqual},
                                                                     {">", Op::Greater},
                                                                     {"<", Op::Less},
                                                                     {"=", Op::Equal}};
    for (const auto& [prefix, op] : kOperators) {
        if (term.starts_with(prefix)) {
            if (const auto n = WholeNumber(term.substr(prefix.size())))
                return NumberTest{op, *n, 0};
            return FilterError{Quote(term) + " needs a whole number after " + std::string(prefix)};
        }
    }
    if (const auto n = WholeNumber(term))
        return NumberTest{Op::Equal, *n, 0};
    // A range "50-60"; the dash after the first character, so "-5--1" reads as -5 to -1.
    for (std::size_t dash = term.find('-', 1); dash != std::string_view::npos;
         dash = term.find('-', dash + 1)) {
        const auto low = WholeNumber(term.substr(0, dash));
        const auto high = WholeNumber(term.substr(dash + 1));
        if (low && high) {
            if (*low > *high)
                return FilterError{Quote(term) + " runs backwards: write the smaller number first"};
            return NumberTest{Op::Between, *low, *high};
        }
    }
    return FilterError{Quote(term) + " is not a number, a comparison such as >50 or a range "
                                     "such as 50-60"};
}

std::variant<TextTest, FilterError> ParseTextTerm(std::string_view term, bool wholeCodes) {
    using Mode = TextTest::Mode;
    Mode mode = wholeCodes ? Mode::EqualIgnoringCase : Mode::Contains;
    if (term.starts_with("!=")) {
        mode = Mode::NotEqual;
        term = Trimmed(term.substr(2));
    } else if (term.starts_with("=")) {
        mode = Mode::Equal;
        term = Trimmed(term.substr(1));
    }
    if (term.size() >= 2 && term.front() == '"' && term.back() == '"')
        term = term.substr(1, term.size() - 2);
    else if (term.find('"') != std::string_view::npos)
        return FilterError{Quote(term) + ": put quotes around the whole text"};
    if (!FitsWindows1252(term))
        return FilterError{Quote(term) + " holds a character no player name can hold"};
    std::string bytes = EncodeWindows1252(term);
    if (mode == Mode::Contains || mode == Mode::EqualIgnoringCase)
        bytes = FoldCase(bytes);
    return TextTest{mode, std::move(bytes)};
}

bool NumberMatches(const NumberTest& test, std::int64_t n) {
    using Op = NumberTest::Op;
    switch (test.op) {
    case Op::Equal:
        return n == test.low;
    case Op::NotEqual:
        return n != test.low;
    case Op::Less:
        return n < test.low;
    case Op::LessOrEqual:
        return n <= test.low;
    case Op::Greater:
        return n > test.low;
    case Op::GreaterOrEqual:
        return n >= test.low;
    case Op::Between:
        return n >= test.low && n <= test.high;
    }
    return false;
}

bool ContainsFolded(std::string_view text, std::string_view foldedNeedle) {
    if (foldedNeedle.empty())
        return true;
    const auto fold = [](char c) {
        return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
    };
    const auto found =
        std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                    [&](char a, char b) { return fold(a) == b; });
    return found != text.end();
}

bool TextMatches(const TextTest& test, std::string_view text) {
    using Mode = TextTest::Mode;
    switch (test.mode) {
    case Mode::Contains:
        return ContainsFolded(text, test.text);
    case Mode::Equal:
        return text == test.text;
    case Mode::NotEqual:
        return text != test.text;
    case Mode::EqualIgnoringCase:
        return text.size() == test.text.size() && ContainsFolded(text, test.text);
    }
    return false;
}

} // namespace

std::string FoldCase(std::string_view windows1252) {
    std::string folded(windows1252);
    for (char& c : folded)
        c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
    return folded;
}

std::variant<ColumnFilter, FilterError> ParseColumnFilter(int column, std::string_view utf8) {
    ColumnFilter filter;
    filter.column = column;
    if (Trimmed(utf8).empty())
        return filter;
    const auto terms = Alternatives(utf8);
    if (!terms)
        return FilterError{"A quote is not closed"};
    const GridColumnKind kind = GridColumns().at(static_cast<std::size_t>(column)).kind;
    for (const std::string_view term : *terms) {
        if (term.empty())
            return FilterError{"An alternative between '|' is empty"};
        if (kind == GridColumnKind::Number) {
            auto parsed = ParseNumberTerm(term);
            if (auto* error = std::get_if<FilterError>(&parsed))
                return *error;
            filter.numbers.push_back(std::get<NumberTest>(parsed));
        } else {
            auto parsed = ParseTextTerm(term, column == kPositionColumn);
            if (auto* error = std::get_if<FilterError>(&parsed))
                return *error;
            filter.texts.push_back(std::get<TextTest>(std::move(parsed)));
        }
    }
    return filter;
}

bool Matches(const GridTable& table, int row, const ColumnFilter& filter) {
    if (filter.numbers.empty() && filter.texts.empty())
        return true;
    if (!filter.numbers.empty()) {
        const std::optional<std::int64_t> n = table.Number(row, filter.column);
        return n && std::any_of(filter.numbers.begin(), filter.numbers.end(),
                                [&](const NumberTest& t) { return NumberMatches(t, *n); });
    }
    const std::string_view text = table.Text(row, filter.column);
    return std::any_of(filter.texts.begin(), filter.texts.end(),
                       [&](const TextTest& t) { return TextMatches(t, text); });
}

std::vector<int> FilterRows(const GridTable& table, const std::vector<ColumnFilter>& filters) {
    std::vector<const ColumnFilter*> active;
    for (const ColumnFilter& f : filters)
        if (!f.numbers.empty() || !f.texts.empty())
            active.push_back(&f);
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row)
        if (std::all_of(active.begin(), active.end(),
                        [&](const ColumnFilter* f) { return Matches(table, row, *f); }))
            rows.push_back(row);
    return rows;
}

} // namespace tavrel::grid
