#pragma once

#include "exchange/PlayerList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tavrel {

// The column number that stands for the bytes of a record no column carries.
inline constexpr int kUnmodelledBytes = -1;

struct FieldDifference {
    int column = 0; // a Players column, or kUnmodelledBytes
    Value a;
    Value b;
};

struct PlayerDifference {
    std::size_t recordA = 0; // 1-based
    std::size_t recordB = 0;
    std::string player; // as DescribePlayer names him in A
    std::vector<FieldDifference> fields;
};

struct UnmatchedPlayer {
    std::size_t record = 0;
    std::string player;
};

// How two leagues' players differ.
struct LeagueDiff {
    bool matchedByRecord = false;
    std::vector<PlayerDifference> changed;
    std::vector<UnmatchedPlayer> onlyInA;
    std::vector<UnmatchedPlayer> onlyInB;
    bool headersDiffer = false;       // both from player files, their 12 header bytes
    bool trailingBytesDiffer = false; // both from player files, the bytes after the last record

    bool Equal() const {
        return changed.empty() && onlyInA.empty() && onlyInB.empty() && !headersDiffer &&
               !trailingBytesDiffer;
    }
};

// Takes the differences one at a time as they are found, so that a comparison of any size keeps
// none of them: the changed players in A's order, then the players only in A, then only in B.
class DiffVisitor {
public:
    virtual ~DiffVisitor() = default;
    virtual void Changed(const PlayerDifference&) {}
    virtual void OnlyInA(const UnmatchedPlayer&) {}
    virtual void OnlyInB(const UnmatchedPlayer&) {}
};

// What a comparison found, counted.
struct DiffSummary {
    bool matchedByRecord = false;
    std::size_t changed = 0;
    std::size_t onlyInA = 0;
    std::size_t onlyInB = 0;
    bool headersDiffer = false;
    bool trailingBytesDiffer = false;

    bool Equal() const {
        return changed == 0 && onlyInA == 0 && onlyInB == 0 && !headersDiffer &&
               !trailingBytesDiffer;
    }
};

// Whether two lists are compared record by record: as many records, the same PIDs in order.
bool MatchedByRecord(const PlayerList& a, const PlayerList& b);

// Matches the players of A and B by Record when both hold as many records with the same PIDs in
// the same order, else by PID (the k-th record holding a PID in A with the k-th in B), and hands
// `visitor` the matched players whose fields differ (every Players column, and for two player
// files the bytes no column carries), then the players only in A and only in B.
DiffSummary DiffPlayers(const PlayerList& a, const PlayerList& b, DiffVisitor& visitor);
// The same, every difference kept in one list: for a comparison shown whole.
LeagueDiff DiffPlayers(const PlayerList& a, const PlayerList& b);

// A value as a comparison shows it: a number in decimal, text in double quotes without its
// padding; with `exact`, text whole with its padding and control characters escaped (\u0000), for
// two values that only differ there. Unmodelled bytes are shown as offset:hex pairs.
std::string ShownValue(const Value& value, bool exact);
// Both sides of one difference, exact where the plain texts would look the same.
std::pair<std::string, std::string> ShownDifference(const FieldDifference& difference);
// The column's name, or "bytes no column carries".
std::string DifferenceColumnName(int column);

} // namespace tavrel
