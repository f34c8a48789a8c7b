#include "exchange/LeagueDiff.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <unordered_map>

namespace tavrel {
namespace {

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool SamePidsInOrder(const PlayerList& a, const PlayerList& b) {
    if (a.Count() != b.Count())
        return false;
    for (std::size_t n = 0; n < a.Count(); ++n)
        if (a.Pid(n) != b.Pid(n))
            return false;
    return true;
}

// "176:0C 178:00": the unmodelled bytes where two records differ, one side.
std::pair<std::string, std::string> UnmodelledDifference(RecordBytes a, RecordBytes b) {
    std::string left, right;
    char text[16];
    for (std::size_t i = 0; i < kPlayerRecordSize; ++i) {
        if (!UnmodelledBytes()[i] || a[i] == b[i])
            continue;
        std::snprintf(text, sizeof text, "%s%zu:%02X", left.empty() ? "" : " ", i, a[i]);
        left += text;
        std::snprintf(text, sizeof text, "%s%zu:%02X", right.empty() ? "" : " ", i, b[i]);
        right += text;
    }
    return {left, right};
}

class Differ {
public:
    Differ(const PlayerList& a, const PlayerList& b, LeagueDiff& diff)
        : a_(a), b_(b), diff_(diff) {}

    void Compare(std::size_t inA, std::size_t inB) {
        const auto rawA = a_.Raw(inA), rawB = b_.Raw(inB);
        if (rawA && rawB && SameBytes(*rawA, *rawB))
            return;
        a_.Read(inA, rowA_);
        b_.Read(inB, rowB_);
        PlayerDifference difference{inA + 1, inB + 1, DescribePlayer(inA + 1, rowA_), {}};
        for (int c = 0; c < kPlayersColumnCount; ++c)
            if (rowA_[c] != rowB_[c])
                difference.fields.push_back({c, rowA_[c], rowB_[c]});
        if (rawA && rawB) {
            auto [left, right] = UnmodelledDifference(*rawA, *rawB);
            if (!left.empty())
                difference.fields.push_back({kUnmodelledBytes, left, right});
        }
        if (!difference.fields.empty())
            diff_.changed.push_back(std::move(difference));
    }

    UnmatchedPlayer Unmatched(const PlayerList& list, std::size_t index) {
        list.Read(index, rowA_);
        return {index + 1, DescribePlayer(index + 1, rowA_)};
    }

private:
    const PlayerList& a_;
    const PlayerList& b_;
    LeagueDiff& diff_;
    PlayerRow rowA_, rowB_;
};

// A text with its control characters (padding included) as \u00XX, in double quotes.
std::string Escaped(const std::string& text) {
    std::string out = "\"";
    char code[8];
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            std::snprintf(code, sizeof code, "\\u%04X", c);
            out += code;
        } else {
            if (c == '"' || c == '\\')
                out += '\\';
            out += ch;
        }
    }
    return out + '"';
}

} // namespace

LeagueDiff DiffPlayers(const PlayerList& a, const PlayerList& b) {
    LeagueDiff diff;
    Differ differ(a, b, diff);
    diff.matchedByRecord = SamePidsInOrder(a, b);
    if (diff.matchedByRecord) {
        for (std::size_t n = 0; n < a.Count(); ++n)
            differ.Compare(n, n);
    } else {
        std::unordered_map<int, std::deque<std::size_t>> inB;
        for (std::size_t n = 0; n < b.Count(); ++n)
            inB[b.Pid(n)].push_back(n);
        std::vector<bool> matchedB(b.Count());
        for (std::size_t n = 0; n < a.Count(); ++n) {
            auto found = inB.find(a.Pid(n));
            if (found == inB.end() || found->second.empty()) {
                diff.onlyInA.push_back(differ.Unmatched(a, n));
                continue;
            }
            const std::size_t m = found->second.front();
            found->second.pop_front();
            matchedB[m] = true;
            differ.Compare(n, m);
        }
        for (std::size_t m = 0; m < b.Count(); ++m)
            if (!matchedB[m])
                diff.onlyInB.push_back(differ.Unmatched(b, m));
    }
    if (a.File() && b.File()) {
        diff.headersDiffer = !SameBytes(a.File()->Header(), b.File()->Header());
        diff.trailingBytesDiffer = !SameBytes(a.File()->TrailingBytes(), b.File()->TrailingBytes());
    }
    return diff;
}

std::string ShownValue(const Value& value, bool exact) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return std::to_string(*n);
    if (const auto* s = std::get_if<std::string>(&value))
        return Escaped(exact ? *s : CellText(value));
    return "null";
}

std::pair<std::string, std::string> ShownDifference(const FieldDifference& d) {
    if (d.column == kUnmodelledBytes)
        return {CellText(d.a), CellText(d.b)};
    const bool exact = ShownValue(d.a, false) == ShownValue(d.b, false);
    return {ShownValue(d.a, exact), ShownValue(d.b, exact)};
}

std::string DifferenceColumnName(int column) {
    return column == kUnmodelledBytes ? "bytes no column carries"
                                      : std::string(kPlayersColumns.at(column).name);
}

} // namespace tavrel
