#include "store/CcboList.h"

#include "TestLeague.h"
#include "base/LeagueError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavrel {
namespace {

using namespace std::string_literals;

// A list or combo box without a window.
class FakeTarget : public ListTarget {
public:
    void SetListEntry(int index, const std::string& text) override {
        if (index == static_cast<int>(items.size())) {
            items.push_back(text);
            data.push_back(0);
            newIndex = index;
        } else {
            items.at(index) = text;
        }
    }
    int NewIndex() const override { return newIndex; }
    void SetItemData(int index, int value) override { data.at(index) = value; }
    std::string Text() const override { return text; }
    void SetText(const std::string& value) override { text = value; }
    int Style() const override { return style; }
    void Clear() override {
        items.clear();
        data.clear();
        newIndex = -1;
    }

    std::vector<std::string> items;
    std::vector<int> data;
    std::string text;
    int style = 0;
    int newIndex = -1;
};

const std::string kByLastName = PlayerListQuery(PlayerListOrder::LastNameAscending);
const std::string kByName = PlayerListQuery(PlayerListOrder::LastThenFirstName);
// Without a parameter: the filter alone picks the rows.
const std::string kEveryPlayer = "SELECT * FROM Players ORDER BY UNPADDED(LastName), rowid";

class PlayerListTest : public ::testing::Test {
protected:
    CcboList ListerFor(const char* filterField) {
        CcboList lister;
        lister.NewClient(&list);
        lister.dbName(league.db());
        lister.FieldNameY(filterField);
        lister.FieldName("LASTNAME");
        lister.FieldName2("FIRSTNAME");
        lister.FieldID("PID");
        return lister;
    }

    testing::TestLeague league;
    FakeTarget list;
};

TEST_F(PlayerListTest, ListsOneTeamFromTheFirstRowOnWithNamesUnpadded) {
    league.AddPlayer(0, 7, "Adams"s + std::string(20, '\0'), "Al"s + std::string(13, ' '), "QB");
    league.AddPlayer(3, 8, "Baker"s + std::string(20, ' '), "Bo"s + std::string(13, '\0'), "HB");
    league.AddPlayer(0, -5, "  Cole" + std::string(19, ' '), " Cy  \0\0"s, "K");
    CcboList lister = ListerFor("TEAM");
    lister.GetList_TableTwo(kByLastName, "0");
    EXPECT_EQ(list.items, (std::vector<std::string>{"Adams, Al - QB", "Cole, Cy - K"}));
    EXPECT_EQ(list.data, (std::vector<int>{7, -5}));

    list.Clear();
    lister.GetList_TableTwo(kByLastName, "3");
    EXPECT_EQ(list.items, std::vector<std::string>{"Baker, Bo - HB"});
    EXPECT_EQ(list.data, std::vector<int>{8});

    list.Clear();
    lister.GetList_TableTwo(kEveryPlayer, "0");
    EXPECT_EQ(list.items, (std::vector<std::string>{"Adams, Al - QB", "Cole, Cy - K"}));
}

TEST_F(PlayerListTest, FindsALastNameExactlyWithCaseAndWithoutPadding) {
    league.AddPlayer(1, 1, "Smith"s + std::string(20, '\0'), "John", "QB");
    league.AddPlayer(2, 2, "Smith"s + std::string(20, ' '), "Adam", "CB");
    league.AddPlayer(1, 3, "smith", "Lower", "WR");
    league.AddPlayer(1, 4, "Smithers", "Sam", "TE");
    league.AddPlayer(3, 5, "  Smith", "Zed", "K");
    CcboList lister = ListerFor("LASTNAME");
    // NUL padding sorts before space padding byte by byte; the list must not show that.
    lister.GetList_TableTwo(kByName, "Smith");
    const std::vector<std::string> smiths{"Smith, Adam - CB", "Smith, John - QB", "Smith, Zed - K"};
    EXPECT_EQ(list.items, smiths);
    EXPECT_EQ(list.data, (std::vector<int>{2, 1, 5}));

    list.Clear();
    lister.GetList_TableTwo(kEveryPlayer, "Smith");
    EXPECT_EQ(list.items.size(), 3u) << "the same players, found by the filter alone";

    list.Clear();
    lister.GetList_TableTwo(kByName, "smith");
    EXPECT_EQ(list.items, std::vector<std::string>{"smith, Lower - WR"});

    list.Clear();
    lister.GetList_TableTwo(kByName, "Nobody");
    EXPECT_TRUE(list.items.empty());
}

TEST_F(PlayerListTest, OrdersByTheNameAsShownEitherWay) {
    league.AddPlayer(0, 1, "Baker"s + std::string(20, ' '), "Al", "QB");
    league.AddPlayer(0, 2, "adams"s + std::string(20, '\0'), "Al", "QB");
    league.AddPlayer(0, 3, "Bakerson", "Al", "QB");
    league.AddPlayer(0, 4, "Baker"s + std::string(20, '\0'), "Bo", "QB");
    CcboList lister = ListerFor("TEAM");
    lister.GetList_TableTwo(kByLastName, "0");
    EXPECT_EQ(list.data, (std::vector<int>{2, 1, 4, 3}));
    list.Clear();
    lister.GetList_TableTwo(PlayerListQuery(PlayerListOrder::LastNameDescending), "0");
    EXPECT_EQ(list.data, (std::vector<int>{3, 1, 4, 2}));
}

TEST_F(PlayerListTest, KeepsNamesakesDropsNullLastNamesAndReadsWhatItCan) {
    league.AddPlayer(0, 1, "Jones", "Ann", "QB");
    league.AddPlayer(0, 2, "Jones", "Bob", "QB");
    league.AddPlayer(0, 3, std::monostate{}, "Ghost", "QB");
    league.AddPlayer(0, 4, "Kent", std::monostate{}, "S");
    CcboList lister = ListerFor("TEAM");
    lister.GetList_TableTwo(kByLastName, "0");
    EXPECT_EQ(list.items,
              (std::vector<std::string>{"Jones, Ann - QB", "Jones, Bob - QB", "Kent,  - S"}));
    EXPECT_EQ(list.data, (std::vector<int>{1, 2, 4}));
}

TEST_F(PlayerListTest, AnEmptyTableListsNothingAndBadInputIsReported) {
    CcboList lister = ListerFor("TEAM");
    EXPECT_NO_THROW(lister.GetList_TableTwo(kByLastName, "0"));
    EXPECT_TRUE(list.items.empty());

    EXPECT_THROW(lister.GetList_TableTwo("SELECT * FROM Nowhere", "0"), LeagueError);
    lister.FieldNameY("NoSuchField");
    EXPECT_THROW(lister.GetList_TableTwo(kByLastName, "0"), LeagueError);

    CcboList missing = ListerFor("TEAM");
    missing.dbName(league.folder() / "missing.tmp");
    try {
        missing.GetList_TableTwo(kByLastName, "0");
        FAIL() << "a missing database must be reported";
    } catch (const LeagueError& e) {
        EXPECT_EQ(e.file(), league.folder() / "missing.tmp");
    }
    EXPECT_FALSE(std::filesystem::exists(league.folder() / "missing.tmp"));
}

TEST_F(PlayerListTest, TheOtherListsWalkEveryRowAndSelectByValue) {
    league.AddTeam(4, "Bears");
    league.AddTeam(9, "Bears");
    league.AddTeam(2, "Colts");
    CcboList teams;
    teams.NewClient(&list);
    teams.dbName(league.db());
    teams.FieldName("TeamName");
    teams.FieldID("TeamID");
    teams.Val("2");
    teams.GetList_Table("SELECT * FROM Team ORDER BY TeamName, TeamID");
    EXPECT_EQ(list.items, (std::vector<std::string>{"Bears", "Colts"}));
    EXPECT_EQ(list.text, "Colts");

    list.Clear();
    teams.QueryName("SELECT TeamName FROM Team WHERE TeamID >= :Low ORDER BY TeamName");
    teams.ParamName(":Low");
    teams.ParamVal(std::int64_t{3});
    teams.GetList_Param1();
    EXPECT_EQ(list.items, std::vector<std::string>{"Bears"});

    list.Clear();
    teams.Val("9");
    teams.GetList_TableID("SELECT * FROM Team ORDER BY TeamID", "Bears");
    EXPECT_EQ(list.items, (std::vector<std::string>{"4", "9"}));
    EXPECT_EQ(list.text, "9");

    league.AddPlayer(0, 11, "Ames", "Al", "QB");
    league.AddPlayer(1, 12, "Bell", "Bo", "HB");
    list.Clear();
    CcboList all = ListerFor("TEAM");
    all.GetList_TableTwoAll("SELECT * FROM Players ORDER BY LastName");
    EXPECT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].substr(0, 6), "Ames, ");
    EXPECT_EQ(list.data, (std::vector<int>{11, 12}));
}

TEST(CcboListKeys, EscapeRestoresTheTextAndTypingIsGuarded) {
    FakeTarget combo;
    combo.text = "Bears";
    CcboList guard;
    guard.SetClient(&combo);
    guard.GotFocus();
    combo.text = "Bea";

    int key = 'x';
    guard.KeyPress(key);
    EXPECT_EQ(key, 0) << "typing is refused unless text entry is allowed";
    EXPECT_FALSE(guard.TextChanged());

    guard.SetEnableTextEntry(true);
    key = 'x';
    guard.KeyPress(key);
    EXPECT_EQ(key, 'x');
    EXPECT_TRUE(guard.TextChanged());

    key = kEscapeKey;
    guard.KeyPress(key);
    EXPECT_EQ(combo.text, "Bears");
    EXPECT_FALSE(guard.TextChanged());

    combo.style = kDropDownListStyle;
    guard.SetEnableTextEntry(false);
    key = 'y';
    guard.KeyPress(key);
    EXPECT_EQ(key, 'y');

    combo.items = {"a"};
    guard.Clear();
    EXPECT_TRUE(combo.items.empty());
}

} // namespace
} // namespace tavrel
