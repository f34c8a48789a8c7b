#include "exchange/LeagueDiff.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace tavrel {
namespace {

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

bool MatchedByRecord(const PlayerList& a, const PlayerList& b) {
    if (a.Count() != b.Count())
        return false;
    for (std::size_t n = 0; n < a.Count(); ++n)
        if (a.Pid(n) != b.Pid(n))
            return false;
    return true;
}

namespace {

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
    Differ(const PlayerList& a, const PlayerList& b, DiffVisitor& visitor, DiffSummary& summary)
        : a_(a), b_(b), visitor_(visitor), summary_(summary) {}

    void Compare(std::size_t inA, std::size_t inB) {
        const auto rawA = a_.Raw(inA), rawB = b_.Raw(inB);
        if (rawA && rawB && SameBytes(*rawA, *rawB))
            return;
        a_.Read(inA, rowA_);
        b_.Read(inB, rowB_);
        difference_.recordA = inA + 1;
        difference_.recordB = inB + 1;
        difference_.fields.clear();
        for (int c = 0; c < kPlayersColumnCount; ++c)
            if (rowA_[c] != rowB_[c])
                difference_.fields.push_back({c, rowA_[c], rowB_[c]});
        if (rawA && rawB) {
            auto [left, right] = UnmodelledDifference(*rawA, *rawB);
            if (!left.empty())
                difference_.fields.push_back({kUnmodelledBytes, left, right});
        }
        if (difference_.fields.empty())
            return;
        difference_.player = DescribePlayer(inA + 1, rowA_);
        ++summary_.changed;
        visitor_.Changed(difference_);
    }

    UnmatchedPlayer Unmatched(const PlayerList& list, std::size_t index) {
        list.Read(index, rowA_);
        return {index + 1, DescribePlayer(index + 1, rowA_)};
    }

private:
    const PlayerList& a_;
    const PlayerList& b_;
    DiffVisitor& visitor_;
    DiffSummary& summary_;
    PlayerRow rowA_, rowB_;
    PlayerDifference difference_; // reused: its room stays for the next player
};

// Keeps every difference, for LeagueDiff.
class Collector : public DiffVisitor {
public:
    explicit Collector(LeagueDiff& diff) : diff_(diff) {}
    void Changed(const PlayerDifference& d) override { diff_.changed.push_back(d); }
    void OnlyInA(const UnmatchedPlayer& p) override { diff_.onlyInA.push_back(p); }
    void OnlyInB(const UnmatchedPlayer& p) override { diff_.onlyInB.push_back(p); }

private:
    LeagueDiff& diff_;
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

DiffSummary DiffPlayers(const PlayerList& a, const PlayerList& b, DiffVisitor& visitor) {
    DiffSummary summary;
    Differ differ(a, b, visitor, summary);
    summary.matchedByRecord = MatchedByRecord(a, b);
    std::vector<std::uint32_t> onlyInA; // indexes, so the unmatched are named after the changes
    std::vector<bool> matchedB;
    if (summary.matchedByRecord) {
        for (std::size_t n = 0; n < a.Count(); ++n)
            differ.Compare(n, n);
    } else {
        // B's records sorted by PID, then place: the k-th of a PID in A takes the k-th in B.
        std::vector<std::pair<int, std::uint32_t>> inB(b.Count());
        for (std::size_t m = 0; m < b.Count(); ++m)
            inB[m] = {b.Pid(m), std::uint32_t(m)};
        std::sort(inB.begin(), inB.end());
        std::unordered_map<int, std::size_t> next; // per PID: its next unmatched place in inB
        matchedB.assign(b.Count(), false);
        for (std::size_t n = 0; n < a.Count(); ++n) {
            const int pid = a.Pid(n);
            auto [at, fresh] = next.try_emplace(pid, 0);
            if (fresh)
                at->second = std::size_t(
                    std::lower_bound(inB.begin(), inB.end(), std::pair{pid, std::uint32_t(0)}) -
                    inB.begin());
            if (at->second >= inB.size() || inB[at->second].first != pid) {
                onlyInA.push_back(std::uint32_t(n));
                continue;
            }
            const std::size_t m = inB[at->second++].second;
            matchedB[m] = true;
            differ.Compare(n, m);
        }
    }
    for (const std::uint32_t n : onlyInA) {
        ++summary.onlyInA;
        visitor.OnlyInA(differ.Unmatched(a, n));
    }
    for (std::size_t m = 0; m < matchedB.size(); ++m) {
        if (matchedB[m])
            continue;
        ++summary.onlyInB;
        visitor.OnlyInB(differ.Unmatched(b, m));
    }
    if (a.File() && b.File()) {
        summary.headersDiffer = !SameBytes(a.File()->Header(), b.File()->Header());
        summary.trailingBytesDiffer =
            !SameBytes(a.File()->TrailingBytes(), b.File()->TrailingBytes());
    }
    return summary;
}

LeagueDiff DiffPlayers(const PlayerList& a, const PlayerList& b) {
    LeagueDiff diff;
    Collector collector(diff);
    const DiffSummary summary = DiffPlayers(a, b, collector);
    diff.matchedByRecord = summary.matchedByRecord;
    diff.headersDiffer = summary.headersDiffer;
    diff.trailingBytesDiffer = summary.trailingBytesDiffer;
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
