// Comparing two player files and checking one, on files changed in known ways.
#include "ExchangeFixtures.h"
#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"

#include <functional>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace testing;
using namespace std::string_literals;

std::string Nuls(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "\\u0000";
    return text;
}

struct Field {
    std::size_t recordA, recordB;
    std::string column;
    std::string a, b; // as ShownDifference shows them
    bool operator==(const Field&) const = default;
};

void PrintTo(const Field& f, std::ostream* os) {
    *os << f.recordA << "/" << f.recordB << " " << f.column << ": " << f.a << " -> " << f.b;
}

struct DiffCase {
    const char* name;
    std::function<void(std::vector<Bytes>&, Bytes& tail)> changeB;
    bool byRecord;
    std::vector<Field> fields;
    std::vector<std::size_t> onlyInA = {}, onlyInB = {};
    bool trailing = false;
};

class Diff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Diff, ListsWhatDiffers) {
    const DiffCase& c = GetParam();
    std::vector<Bytes> recordsB = FourPlayers();
    Bytes tail;
    c.changeB(recordsB, tail);
    const LeagueDiff diff = DiffPlayers(PlayerList::FromFile(Image(FourPlayers())),
                                        PlayerList::FromFile(Image(recordsB, tail)));
    EXPECT_EQ(diff.matchedByRecord, c.byRecord);
    std::vector<Field> fields;
    for (const PlayerDifference& p : diff.changed)
        for (const FieldDifference& f : p.fields) {
            const auto [a, b] = ShownDifference(f);
            fields.push_back({p.recordA, p.recordB, DifferenceColumnName(f.column), a, b});
        }
    EXPECT_EQ(fields, c.fields);
    std::vector<std::size_t> onlyA, onlyB;
    for (const UnmatchedPlayer& p : diff.onlyInA)
        onlyA.push_back(p.record);
    for (const UnmatchedPlayer& p : diff.onlyInB)
        onlyB.push_back(p.record);
    EXPECT_EQ(onlyA, c.onlyInA);
    EXPECT_EQ(onlyB, c.onlyInB);
    EXPECT_EQ(diff.trailingBytesDiffer, c.trailing);
    EXPECT_EQ(diff.Equal(),
              c.fields.empty() && c.onlyInA.empty() && c.onlyInB.empty() && !c.trailing);
}

INSTANTIATE_TEST_SUITE_P(
    PlayerFiles, Diff,
    ::testing::Values(
        DiffCase{"Same", [](auto&, auto&) {}, true, {}},
        DiffCase{"OneRating",
                 [](auto& r, auto&) { r[1][175] = 70; },
                 true,
                 {{2, 2, "Act_SP", "50", "70"}}},
        DiffCase{"PaddingOnlyIsShownExactly",
                 [](auto& r, auto&) { r[0][12] = ' '; },
                 true,
                 {{1, 1, "FirstName", "\"John" + Nuls(11) + "\"", "\"John " + Nuls(10) + "\""}}},
        DiffCase{"UnmodelledBytes",
                 [](auto& r, auto&) { r[2][176] = 0xFF, r[2][302 - 2] = 9; },
                 true,
                 {{3, 3, "bytes no column carries", "176:01 300:00", "176:FF 300:09"}}},
        DiffCase{"RemovedPlayerMatchesByPid",
                 [](auto& r, auto&) { r.erase(r.begin()); },
                 false,
                 {},
                 {1}},
        DiffCase{"AddedPlayerAndReordered",
                 [](auto& r, auto&) {
                     std::swap(r[0], r[1]);
                     r.push_back(CleanRecord(13, 0, "New", "Man"));
                 },
                 false,
                 {},
                 {},
                 {5}},
        DiffCase{"RepeatedPidsMatchInTurn",
                 [](auto& r, auto&) { r.erase(r.begin() + 2); },
                 false,
                 {{3, 3, "Team", "1", "0"}, {3, 3, "FirstName", "\"Al\"", "\"Bo\""}},
                 {4}},
        DiffCase{"TrailingBytes",
                 [](auto&, auto& tail) {
                     tail = {1, 2};
                 },
                 true,
                 {},
                 {},
                 {},
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

struct CheckCase {
    const char* name;
    std::function<void(Bytes& header, std::vector<Bytes>&, Bytes& tail, std::vector<TeamRecord>&)>
        spoil;
    std::vector<std::pair<std::string, std::optional<std::size_t>>> problems; // kind, record
};

class Check : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Check, FindsEachProblemWithItsPlayerOrTeam) {
    Bytes header = CleanHeader(), tail;
    std::vector<Bytes> records = {CleanRecord(10, 1, "John", "Smith"),
                                  CleanRecord(11, 1, "José", "Muñoz"),
                                  CleanRecord(12, 0, "Al", "Jones")};
    std::vector<TeamRecord> teams = {{1, "Bears", "Coach"}};
    GetParam().spoil(header, records, tail, teams);
    const auto problems = CheckLeague(Image(records, tail, header), teams);
    std::vector<std::pair<std::string, std::optional<std::size_t>>> found;
    for (const LeagueProblem& p : problems)
        found.emplace_back(p.kind, p.record);
    EXPECT_EQ(found, GetParam().problems);
    for (const LeagueProblem& p : problems) {
        if (!p.record)
            continue;
        EXPECT_NE(p.message.find("record " + std::to_string(*p.record)), std::string::npos)
            << p.message;
    }
}

using Problems = std::vector<std::pair<std::string, std::optional<std::size_t>>>;

INSTANTIATE_TEST_SUITE_P(
    Leagues, Check,
    ::testing::Values(
        CheckCase{"Clean", [](auto&, auto&, auto&, auto&) {}, {}},
        CheckCase{"RecordSize", [](auto& h, auto&, auto&, auto&) { h[8] = 0x6F; },
                  Problems{{"record-size", std::nullopt}}},
        CheckCase{"EmptyIdentifier", [](auto&, auto& r, auto&, auto&) { r[1][0] = r[1][1] = 0; },
                  Problems{{"empty-id", 2}}},
        CheckCase{"DuplicatePid", [](auto&, auto& r, auto&, auto&) { r[2][0] = 10; },
                  Problems{{"duplicate-pid", 1}}},
        CheckCase{"ActualAbovePotential", [](auto&, auto& r, auto&, auto&) { r[0][221] = 61; },
                  Problems{{"actual-above-potential", 1}}},
        CheckCase{"RatingAbove99", [](auto&, auto& r, auto&, auto&) { r[2][289] = 100; },
                  Problems{{"rating-above-99", 3}}},
        CheckCase{"UnlistedTeam", [](auto&, auto& r, auto&, auto&) { r[1][4] = 9; },
                  Problems{{"unknown-team", 2}}},
        CheckCase{"NameCharacters",
                  [](auto&, auto& r, auto&, auto& t) {
                      r[0][9] = 0x01;  // control character inside the first name
                      r[2][24] = 0x81; // a byte Windows-1252 leaves undefined
                      t[0].coach = "Co\x1F";
                  },
                  Problems{{"name-characters", 1},
                           {"name-characters", 3},
                           {"name-characters", std::nullopt}}},
        CheckCase{"TrailingBytes",
                  [](auto&, auto&, auto& tail, auto&) {
                      tail = {1, 2, 3};
                  },
                  Problems{{"trailing-bytes", std::nullopt}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavrel
