#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "fileformat/CellValue.h"
#include "grid/GridEdits.h"
#include "grid/GridFilter.h"
#include "grid/GridSort.h"
#include "grid/GridTable.h"

#include <gtest/gtest.h>
#include <numeric>

namespace tavrel::grid {
namespace {

using namespace std::string_literals;
using testing::Col;
using testing::TestLeague;
using Texts = std::vector<std::string>;

// A league of six players on two teams and the free agents; "Smith, Jo" is padded with NULs,
// "Öberg" with spaces, and one player has no last name at all.
struct GridLeague {
    GridLeague() {
        league.AddTeam(std::int64_t{1}, "Bears"s);
        league.AddTeam(std::int64_t{2}, "Áces   "s);
        league.AddTeam(std::int64_t{1}, "Later"s); // the first row of a team number names it
        Add(1, 11, "Myers", "Al", "QB", 90);
        Add(2, 12, "Smith"s + std::string(20, '\0'), "Jo", "WR", 55);
        Add(0, 13, "Müller", "Bo", "T", 30);
        Add(1, 14, "Muñoz", "Cy", "TE", 0);
        Add(2, 15, "Murphy", "Di", "QB", 60);
        Add(0, 16, "Öberg    ", "Ed", "DT", 50);
        Add(0, 17, std::monostate{}, "Nameless", "K", 255);
        table = GridTable::Load(league.db());
    }
    void Add(int team, int pid, Value last, Value first, const std::string& pos, int speed) {
        const auto id = league.AddPlayer(team, pid, std::move(last), std::move(first), pos);
        league.Exec("UPDATE Players SET Act_SP = " + std::to_string(speed) +
                    " WHERE rowid = " + std::to_string(id));
    }
    Texts Column(const std::vector<int>& rows, int column) const {
        Texts shown;
        for (const int row : rows)
            shown.push_back(table.Shown(row, column));
        return shown;
    }
    std::vector<int> All() const {
        std::vector<int> rows(static_cast<std::size_t>(table.RowCount()));
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
    TestLeague league;
    GridTable table;
};

const int kSpeed = kFirstActualColumn; // SP

TEST(GridTable, LoadsEveryPlayerWithNamesUnpaddedAndTeamsByName) {
    GridLeague g;
    ASSERT_EQ(g.table.RowCount(), 7);
    EXPECT_EQ(g.Column(g.All(), kLastNameColumn),
              (Texts{"Myers", "Smith", "Müller", "Muñoz", "Murphy", "Öberg", ""}));
    EXPECT_EQ(g.Column(g.All(), kTeamColumn), (Texts{"Bears", "Áces", "Free Agents", "Bears",
                                                     "Áces", "Free Agents", "Free Agents"}));
    EXPECT_EQ(g.Column(g.All(), kPidColumn), (Texts{"11", "12", "13", "14", "15", "16", "17"}));
    EXPECT_EQ(g.table.Shown(0, kFirstPotentialColumn), "60");
    EXPECT_EQ(g.table.RowOfRowId(g.table.RowId(4)), 4);
    EXPECT_EQ(g.table.RowOfRowId(0), std::nullopt);
    EXPECT_EQ(g.table.TeamName(9), "9"); // a team number without a Team row
    EXPECT_THROW(GridTable::Load(g.league.folder() / "missing.tmp"), LeagueError);

    // It keeps values the compact form cannot hold, and leaves their neighbours alone.
    g.table.SetValue(0, Col("Act_SP"), std::int64_t{300});
    g.table.SetValue(1, Col("Act_SP"), std::monostate{});
    g.table.SetValue(2, Col("LastName"), "Müller-Lüdenscheidt"s);
    EXPECT_EQ(g.Column(g.All(), kSpeed), (Texts{"300", "", "30", "0", "60", "50", "255"}));
    EXPECT_EQ(g.Column({2, 3}, kLastNameColumn), (Texts{"Müller-Lüdenscheidt", "Muñoz"}));
    g.table.SetValue(0, Col("Act_SP"), std::int64_t{7});
    EXPECT_EQ(g.table.Number(0, kSpeed), 7);
}

TEST(GridSort, NumbersAsNumbersNamesInLanguageOrderAndASecondKey) {
    GridLeague g;
    TextOrder order(QLocale(QLocale::German, QLocale::Germany));
    g.table.SetValue(6, Col("Act_SP"), std::monostate{}); // an empty cell sorts first
    const struct {
        std::vector<SortKey> keys;
        int shownColumn;
        Texts expected;
    } cases[] = {
        {{{kSpeed, false}}, kSpeed, {"", "0", "30", "50", "55", "60", "90"}},
        {{{kSpeed, true}}, kSpeed, {"90", "60", "55", "50", "30", "0", ""}},
        {{{kLastNameColumn, false}},
         kLastNameColumn,
         {"", "Müller", "Muñoz", "Murphy", "Myers", "Öberg", "Smith"}},
        {{{kTeamColumn, false}, {kSpeed, true}}, kSpeed, {"60", "55", "90", "0", "50", "30", ""}},
        {{{kPositionColumn, false}, {kLastNameColumn, true}},
         kLastNameColumn,
         {"Öberg", "", "Myers", "Murphy", "Müller", "Muñoz", "Smith"}},
    };
    for (const auto& c : cases) {
        std::vector<int> rows = g.All();
        SortRows(g.table, rows, c.keys, order);
        EXPECT_EQ(g.Column(rows, c.shownColumn), c.expected) << c.keys.front().column;
    }
    // A changed name moves once its column's ranks are forgotten.
    g.table.SetValue(5, Col("LastName"), "Aaron"s);
    order.Forget(kLastNameColumn);
    std::vector<int> rows = g.All();
    SortKey byName{kLastNameColumn, false};
    SortRows(g.table, rows, {&byName, 1}, order);
    EXPECT_EQ(g.table.Shown(rows[1], kLastNameColumn), "Aaron");
}

Texts Filtered(const GridLeague& g, int column, const std::string& text) {
    auto parsed = ParseColumnFilter(column, text);
    if (std::holds_alternative<FilterError>(parsed))
        return {"invalid"};
    return g.Column(FilterRows(g.table, {std::get<ColumnFilter>(parsed)}), kLastNameColumn);
}

TEST(GridFilter, EachFormOfFilterAndTheirCombination) {
    GridLeague g;
    const struct {
        int column;
        std::string text;
        Texts expected;
    } cases[] = {
        {kSpeed, ">55", {"Myers", "Murphy", ""}},
        {kSpeed, "<=30", {"Müller", "Muñoz"}},
        {kSpeed, "50-60", {"Smith", "Murphy", "Öberg"}},
        {kSpeed, "!=0", {"Myers", "Smith", "Müller", "Murphy", "Öberg", ""}},
        {kSpeed, "\t90 | =0 ", {"Myers", "Muñoz"}},
        {kSpeed, "", {"Myers", "Smith", "Müller", "Muñoz", "Murphy", "Öberg", ""}},
        {kPidColumn, "-5-12", {"Myers", "Smith"}},
        {kPositionColumn, "QB|wr", {"Myers", "Smith", "Murphy"}},
        {kPositionColumn, "t", {"Müller"}}, // whole codes: not TE nor DT
        {kLastNameColumn, "MU", {"Muñoz", "Murphy"}},
        {kLastNameColumn, "MÜ", {"Müller"}},
        {kLastNameColumn, "ÖBE", {"Öberg"}},
        {kLastNameColumn, "=\"Smith\"", {"Smith"}},
        {kLastNameColumn, "=smith", {}},
        {kLastNameColumn, "=\"\"", {""}},
        {kLastNameColumn, "!=Smith", {"Myers", "Müller", "Muñoz", "Murphy", "Öberg", ""}},
        {kLastNameColumn, "\"y|M\"", {}},
        {kTeamColumn, "free", {"Müller", "Öberg", ""}},
        {kTeamColumn, "=Áces|=Bears", {"Myers", "Smith", "Muñoz", "Murphy"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Filtered(g, c.column, c.text), c.expected) << c.column << " " << c.text;
    // Bad texts: reported, never a filter.
    for (const char* bad : {"abc", ">", "60-50", "50-", "1.5", "50|"})
        EXPECT_EQ(Filtered(g, kSpeed, bad), Texts{"invalid"}) << bad;
    for (const char* bad : {"=\"Smith", "Sm\"ith", "Ω"})
        EXPECT_EQ(Filtered(g, kLastNameColumn, bad), Texts{"invalid"}) << bad;
    // Filters of several columns combine.
    std::vector<ColumnFilter> filters = {
        std::get<ColumnFilter>(ParseColumnFilter(kPositionColumn, "QB|WR")),
        std::get<ColumnFilter>(ParseColumnFilter(kSpeed, ">=55")),
        std::get<ColumnFilter>(ParseColumnFilter(kTeamColumn, "áces"))};
    EXPECT_EQ(g.Column(FilterRows(g.table, filters), kLastNameColumn), (Texts{"Smith", "Murphy"}));
}

// Typed cells: what a cell shows already is no edit, even in a read-only column; a team by name.
TEST(GridEdits, PlansOnlyRealEditsAndNamesTheRefusals) {
    GridLeague g;
    const EditPlan plan = PlanEdits(g.table, {{0, kPidColumn, "11"},
                                              {1, kSpeed, "91"},
                                              {2, kTeamColumn, "Bears"},
                                              {0, kTeamColumn, "Free Agents"},
                                              {3, kPidColumn, "5"},
                                              {4, kSpeed, "x"}});
    std::vector<std::tuple<std::int64_t, int, Value>> edits;
    for (const PlannedEdit& e : plan.edits)
        edits.emplace_back(e.rowId, e.playersColumn, e.after);
    EXPECT_EQ(edits, (decltype(edits){{g.table.RowId(1), Col("Act_SP"), std::int64_t{91}},
                                      {g.table.RowId(2), Col("Team"), std::int64_t{1}},
                                      {g.table.RowId(0), Col("Team"), std::int64_t{0}}}));
    EXPECT_EQ(DescribeRefusals(plan.refusals, 1), "PID: PID cannot be changed (and 1 more)");
}

// A pasted block lands on the rows shown from the top left selected cell; a copied caption row is
// left out; a block too big for the grid pastes nothing.
TEST(GridEdits, PlansAPasteOntoTheRowsShown) {
    const std::vector<int> shown = {4, 2, 0}; // table rows in view order
    const std::string speed = GridColumns()[kSpeed].header;
    const std::string agility = GridColumns()[kSpeed + 1].header;
    using Cells = std::vector<std::tuple<int, int, std::string>>;
    const struct {
        const char* name;
        std::string text;
        int top, left;
        std::optional<Cells> cells;
    } cases[] = {
        {"one cell", "7", 1, kSpeed, Cells{{2, kSpeed, "7"}}},
        {"a block", "1\t2\r\n3\t4\n", 1, kSpeed,
         Cells{{2, kSpeed, "1"}, {2, kSpeed + 1, "2"}, {0, kSpeed, "3"}, {0, kSpeed + 1, "4"}}},
        {"with its captions", speed + "\t" + agility + "\n5\t6", 0, kSpeed,
         Cells{{4, kSpeed, "5"}, {4, kSpeed + 1, "6"}}},
        {"captions of other columns are cells", speed + "\n5", 0, kSpeed + 1,
         Cells{{4, kSpeed + 1, speed}, {2, kSpeed + 1, "5"}}},
        {"past the last row", "1\n2\n3", 1, kSpeed, std::nullopt},
        {"past the last column", "1\t2", 0, kGridColumnCount - 1, std::nullopt},
        {"nothing", "", 0, kSpeed, Cells{}},
    };
    for (const auto& c : cases) {
        const std::optional<std::vector<CellInput>> planned =
            PlanPaste(c.text, shown, c.top, c.left);
        ASSERT_EQ(planned.has_value(), c.cells.has_value()) << c.name;
        if (!planned)
            continue;
        Cells got;
        for (const CellInput& cell : *planned)
            got.emplace_back(cell.row, cell.column, cell.text);
        EXPECT_EQ(got, *c.cells) << c.name;
    }
}

TEST(CellValue, TheFormsRulesWithTheirReasons) {
    const struct {
        const char* column;
        std::string text;
        Value expected; // monostate: refused
        std::string reason;
    } cases[] = {
        {"Act_SP", " \t255 ", std::int64_t{255}, ""},
        {"Pot_FA", "0", std::int64_t{0}, ""},
        {"Act_SP", "256", {}, "Actual Speed must be a whole number from 0 to 255"},
        {"Pot_AG", "-1", {}, "Potential Agility must be a whole number from 0 to 255"},
        {"Act_SP", "5x", {}, "Actual Speed must be a whole number from 0 to 255"},
        {"Act_FA", "", {}, "Actual Fatigue must be a whole number from 0 to 255"},
        {"FirstName", " Zoë ", " Zoë "s, ""}, // names are kept as typed
        {"FirstName", std::string(16, 'a'), {}, "First Name holds at most 15 characters"},
        {"LastName", std::string(25, 'b'), std::string(25, 'b'), ""},
        {"LastName", "Ωmega", {}, "Last Name holds a character the player file cannot store"},
        {"College", "State", {}, "College cannot be changed"},
        {"PID", "1", {}, "PID cannot be changed"},
    };
    for (const auto& c : cases) {
        const ParsedCell parsed = ParseCellValue(Col(c.column), c.text);
        if (std::holds_alternative<std::monostate>(c.expected))
            EXPECT_EQ(std::get<CellRefusal>(parsed).reason, c.reason) << c.text;
        else
            EXPECT_EQ(std::get<Value>(parsed), c.expected) << c.text;
    }
}

} // namespace
} // namespace tavrel::grid
