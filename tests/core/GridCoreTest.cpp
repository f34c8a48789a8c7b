#include "TestLeague.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "fileformat/CellValue.h"
#include "grid/GridColumnSets.h"
#include "grid/GridEdits.h"
#include "grid/GridFilter.h"
#include "grid/GridSort.h"
#include "grid/GridTable.h"
#include "store/CellChanges.h"

#include <gtest/gtest.h>
#include <numeric>
#include <set>
#include <sstream>

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

const int kSpeed = ActualGridColumn(0); // SP

TEST(GridTable, LoadsEveryPlayerWithNamesUnpaddedAndTeamsByName) {
    GridLeague g;
    ASSERT_EQ(g.table.RowCount(), 7);
    EXPECT_EQ(g.Column(g.All(), kLastNameColumn),
              (Texts{"Myers", "Smith", "Müller", "Muñoz", "Murphy", "Öberg", ""}));
    EXPECT_EQ(g.Column(g.All(), kTeamColumn), (Texts{"Bears", "Áces", "Free Agents", "Bears",
                                                     "Áces", "Free Agents", "Free Agents"}));
    EXPECT_EQ(g.Column(g.All(), kPidColumn), (Texts{"11", "12", "13", "14", "15", "16", "17"}));
    EXPECT_EQ(g.table.Shown(0, PotentialGridColumn(0)), "60");
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

// A pasted block lands on the rows and columns shown, in the order shown, from the top left
// selected cell; a copied caption row is left out; a block too big for the grid pastes nothing.
TEST(GridEdits, PlansAPasteOntoTheRowsAndColumnsShown) {
    const std::vector<int> shown = {4, 2, 0}; // table rows in view order
    const int agility = ActualGridColumn(*RatingIndex("AG"));
    const int blocking = PotentialGridColumn(*RatingIndex("PB"));
    // Columns as a user arranged them: pass blocking dragged before speed, others hidden.
    const std::vector<int> columns = {kLastNameColumn, blocking, kSpeed, agility};
    const std::string speedCaption = GridColumns()[kSpeed].header;
    const std::string agilityCaption = GridColumns()[agility].header;
    using Cells = std::vector<std::tuple<int, int, std::string>>;
    const struct {
        const char* name;
        std::string text;
        int top, left;
        std::optional<Cells> cells;
    } cases[] = {
        {"one cell", "7", 1, 2, Cells{{2, kSpeed, "7"}}},
        {"a block across a moved column", "1\t2\r\n3\t4\n", 1, 1,
         Cells{{2, blocking, "1"}, {2, kSpeed, "2"}, {0, blocking, "3"}, {0, kSpeed, "4"}}},
        {"with its captions", speedCaption + "\t" + agilityCaption + "\n5\t6", 0, 2,
         Cells{{4, kSpeed, "5"}, {4, agility, "6"}}},
        {"captions of other columns are cells", speedCaption + "\n5", 0, 3,
         Cells{{4, agility, speedCaption}, {2, agility, "5"}}},
        {"past the last row", "1\n2\n3", 1, 2, std::nullopt},
        {"past the last column shown", "1\t2", 0, 3, std::nullopt},
        {"nothing", "", 0, 2, Cells{}},
    };
    for (const auto& c : cases) {
        const std::optional<std::vector<CellInput>> planned =
            PlanPaste(c.text, shown, c.top, columns, c.left);
        ASSERT_EQ(planned.has_value(), c.cells.has_value()) << c.name;
        if (!planned)
            continue;
        Cells got;
        for (const CellInput& cell : *planned)
            got.emplace_back(cell.row, cell.column, cell.text);
        EXPECT_EQ(got, *c.cells) << c.name;
    }
}

// The form's rating codes, band by band, left to right.
Texts FormOrder() {
    std::istringstream codes(
        "SP AG VT FA DU DI RE PM AS TA SC AW BC BT VI CA PB RB PR PD TK RD KA KD");
    Texts order;
    for (std::string code; codes >> code;)
        order.push_back(code);
    return order;
}

TEST(GridColumns, EachActualBesideItsPotentialInTheFormsOrderEveryRatingOnce) {
    Texts headers;
    for (int c = kFirstRatingColumn; c < kGridColumnCount; ++c)
        headers.push_back(GridColumns()[static_cast<std::size_t>(c)].header);
    Texts expected;
    for (const std::string& code : FormOrder())
        expected.insert(expected.end(), {code, code + " pot."});
    EXPECT_EQ(headers, expected);

    // Each column shows the Players column its caption and tip name, and each is shown once.
    std::set<int> shown;
    for (int c = 0; c < kGridColumnCount; ++c) {
        const GridColumn& column = GridColumns()[static_cast<std::size_t>(c)];
        shown.insert(column.playersColumn);
        EXPECT_EQ(GridColumnOf(column.playersColumn), c);
        EXPECT_EQ(GridColumnNamed(ColumnKey(c)), c);
        if (!IsRatingColumn(c))
            continue;
        const std::string code = column.header.substr(0, 2);
        const bool potential = column.header.ends_with(" pot.");
        EXPECT_EQ(ColumnKey(c), (potential ? "Pot_" : "Act_") + code) << column.header;
        EXPECT_EQ(column.toolTip, (potential ? "Potential " : "Actual ") +
                                      std::string(kRatings[*RatingIndex(code)].longName));
    }
    EXPECT_EQ(shown.size(), std::size_t(kGridColumnCount));
    EXPECT_EQ(GridColumnNamed("POT_kd"), PotentialGridColumn(*RatingIndex("KD")));
    EXPECT_EQ(GridColumnNamed("Unknown3"), std::nullopt); // a column the grid leaves out
    EXPECT_EQ(GridColumnNamed("Act_XX"), std::nullopt);

    // Filters kept by position when the grid showed the actuals, then the potentials, in record
    // order.
    EXPECT_EQ(GridColumnAtFormerPosition(kLastNameColumn), kLastNameColumn);
    EXPECT_EQ(GridColumnAtFormerPosition(8), GridColumnNamed("Act_SP"));
    EXPECT_EQ(GridColumnAtFormerPosition(31), GridColumnNamed("Act_FA"));
    EXPECT_EQ(GridColumnAtFormerPosition(32), GridColumnNamed("Pot_SP"));
    EXPECT_EQ(GridColumnAtFormerPosition(55), GridColumnNamed("Pot_FA"));
    EXPECT_EQ(GridColumnAtFormerPosition(56), std::nullopt);
    EXPECT_EQ(GridColumnAtFormerPosition(-1), std::nullopt);
}

// A row of ratings copied from the grid, changed and pasted back, writes each value into the
// Players column its caption names, in the real working database; read again, the grid shows
// them where they were, and sorting by a column sorts by its own Players column.
TEST(GridEdits, PastedRatingsReachTheirOwnColumnsOfTheWorkingDatabase) {
    GridLeague g;
    std::vector<int> all(kGridColumnCount);
    std::iota(all.begin(), all.end(), 0);
    std::vector<int> ratings(all.begin() + kFirstRatingColumn, all.end());
    // Each rating's value from its code's place in the record order: actual 10 + 2k, potential
    // one more.
    const auto valueOf = [](const std::string& header) {
        return 10 + 2 * *RatingIndex(header.substr(0, 2)) + (header.ends_with(" pot.") ? 1 : 0);
    };
    std::string copied = CopyText(g.table, {0}, ratings), pasted;
    pasted = copied.substr(0, copied.find('\n') + 1);
    for (const int c : ratings)
        pasted += std::to_string(valueOf(GridColumns()[static_cast<std::size_t>(c)].header)) +
                  (c + 1 < kGridColumnCount ? "\t" : "\n");
    const auto cells = PlanPaste(pasted, g.All(), 0, all, kFirstRatingColumn);
    ASSERT_TRUE(cells.has_value());
    ASSERT_EQ(cells->size(), ratings.size());
    const EditPlan plan = PlanEdits(g.table, *cells);
    ASSERT_TRUE(plan.refusals.empty());
    CellChanges changes;
    for (const PlannedEdit& edit : plan.edits)
        changes.push_back({edit.rowId, edit.playersColumn, std::monostate{}, edit.after});
    WriteCellChanges(g.league.db(), changes, CellSide::After);

    const std::int64_t rowId = g.table.RowId(0);
    for (int k = 0; k < kRatingCount; ++k) {
        EXPECT_EQ(g.league.Number(rowId, ActualColumn(k)), 10 + 2 * k) << ActualColumn(k);
        EXPECT_EQ(g.league.Number(rowId, PotentialColumn(k)), 11 + 2 * k) << PotentialColumn(k);
    }
    const GridTable reread = GridTable::Load(g.league.db());
    EXPECT_EQ(CopyText(reread, {0}, ratings), pasted);

    // Kick distance potentials unlike every other rating's: the grid's KD pot. column sorts by
    // them.
    g.league.Exec("UPDATE Players SET Pot_KD = (rowid * 37) % 11, Act_KD = rowid");
    g.table = GridTable::Load(g.league.db());
    std::vector<int> rows = g.All();
    TextOrder order;
    const SortKey key{PotentialGridColumn(*RatingIndex("KD")), false};
    SortRows(g.table, rows, {&key, 1}, order);
    std::vector<std::int64_t> byStored;
    for (const int row : rows)
        byStored.push_back(g.league.Number(g.table.RowId(row), "Pot_KD"));
    EXPECT_TRUE(std::is_sorted(byStored.begin(), byStored.end()));
    EXPECT_NE(byStored.front(), byStored.back());
}

TEST(GridColumnSets, BuiltInSetsFollowTheFormsBands) {
    Texts names;
    for (const ColumnSet& set : BuiltInColumnSets())
        names.push_back(set.name);
    EXPECT_EQ(names, (Texts{"All", "Actual only", "Band 1 (SP to PM)", "Band 2 (AS to CA)",
                            "Band 3 (PB to KD)"}));
    const auto headers = [](const std::string& name) {
        Texts shown;
        for (const int c : FindColumnSet(BuiltInColumnSets(), name)->columns)
            shown.push_back(GridColumns()[static_cast<std::size_t>(c)].header);
        return shown;
    };
    const Texts identity = {"Team",     "PID",   "Last Name", "First Name",
                            "Position", "Years", "Weight",    "College"};
    Texts all = identity, actual = identity, band2 = identity;
    const Texts form = FormOrder();
    for (std::size_t i = 0; i < form.size(); ++i) {
        all.insert(all.end(), {form[i], form[i] + " pot."});
        actual.push_back(form[i]);
        if (i >= 8 && i < 16)
            band2.insert(band2.end(), {form[i], form[i] + " pot."});
    }
    EXPECT_EQ(headers("All"), all);
    EXPECT_EQ(headers("Actual only"), actual);
    EXPECT_EQ(headers("Band 2 (AS to CA)"), band2);
    EXPECT_EQ(FindColumnSet(BuiltInColumnSets(), "all"), nullptr); // names match exactly
}

TEST(GridColumnSets, TextRoundTripsAndDamagedTextGivesWhatItCan) {
    const int kd = PotentialGridColumn(*RatingIndex("KD"));
    // The name columns come first, in the order given; the rest keep theirs.
    const std::vector<int> arranged = {kLastNameColumn, kTeamColumn, kd, kSpeed, kCollegeColumn};
    EXPECT_EQ(ArrangedColumns({kd, kLastNameColumn, kSpeed, -1, kTeamColumn, kGridColumnCount, kd,
                               kCollegeColumn, kLastNameColumn}),
              arranged);
    EXPECT_EQ(ColumnsToText(arranged), "LastName,Team,Pot_KD,Act_SP,College");
    EXPECT_EQ(ColumnsFromText(ColumnsToText(arranged)), arranged);
    // Names in any case, blanks, unknown names, repeats and columns the grid leaves out.
    EXPECT_EQ(ColumnsFromText(" act_sp ,Nope,,TEAM,Act_SP,Unknown3,Act_XX"),
              (std::vector<int>{kTeamColumn, kSpeed}));
    EXPECT_TRUE(ColumnsFromText("Nope,Act_XX").empty());

    const std::vector<ColumnSet> sets = ColumnSetsFromText("Mine\tTeam,Act_SP\r\n"
                                                           "a line without a tab\n"
                                                           "\tTeam\n"
                                                           "Ghost\tNope,Act_XX\n"
                                                           "Mine\tPID\n"
                                                           "Other\tPot_KD,LastName");
    EXPECT_EQ(sets, (std::vector<ColumnSet>{{"Mine", {kTeamColumn, kSpeed}},
                                            {"Other", {kLastNameColumn, kd}}}));
    EXPECT_EQ(ColumnSetsFromText(ColumnSetsToText(sets)), sets);
    EXPECT_EQ(ColumnSetsFromText(ColumnSetsToText({{" Two\tlines\n", arranged}})),
              (std::vector<ColumnSet>{{"Two lines", arranged}}));
    EXPECT_TRUE(ColumnSetsFromText("").empty());
}

TEST(GridColumnSets, SavingRemovingAndTickingColumns) {
    std::vector<ColumnSet> saved;
    PutColumnSet(saved, {"A", {kTeamColumn}});
    PutColumnSet(saved, {"B", {kPidColumn}});
    PutColumnSet(saved, {"A", {kSpeed}}); // replaces, in place
    EXPECT_EQ(saved, (std::vector<ColumnSet>{{"A", {kSpeed}}, {"B", {kPidColumn}}}));
    EXPECT_TRUE(RemoveColumnSet(saved, "A"));
    EXPECT_FALSE(RemoveColumnSet(saved, "A"));
    EXPECT_EQ(saved, (std::vector<ColumnSet>{{"B", {kPidColumn}}}));
    EXPECT_EQ(CleanColumnSetName("  Kickers\tonly\n"), "Kickers only");
    EXPECT_TRUE(ColumnSetNameProblem(""));
    EXPECT_TRUE(ColumnSetNameProblem("Actual only"));
    EXPECT_FALSE(ColumnSetNameProblem("actual only"));

    // A column hidden and shown again comes back where it stood.
    const std::vector<int> shown = FindColumnSet(BuiltInColumnSets(), "Actual only")->columns;
    for (const int column : {kPidColumn, kPositionColumn, kSpeed, ActualGridColumn(7)}) {
        const std::vector<int> hidden = WithColumn(shown, column, false);
        EXPECT_EQ(hidden.size(), shown.size() - 1);
        EXPECT_EQ(WithColumn(hidden, column, true), shown) << column;
    }
    // Shown anew, a name column joins the names; another column goes before the first shown
    // column that follows it in the grid.
    EXPECT_EQ(WithColumn({kLastNameColumn, kSpeed}, kTeamColumn, true),
              (std::vector<int>{kTeamColumn, kLastNameColumn, kSpeed}));
    const int kd = PotentialGridColumn(*RatingIndex("KD"));
    EXPECT_EQ(WithColumn({kTeamColumn, kd, kCollegeColumn}, kSpeed, true),
              (std::vector<int>{kTeamColumn, kSpeed, kd, kCollegeColumn}));
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
