#include "store/CcboList.h"

#include "LeagueFixtures.h"
#include "TestLeague.h"

namespace tavrel {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::pair<std::string, int>>; // text and item data

// A list or combo box without a window.
class FakeTarget : public ListTarget {
public:
    void SetListEntry(int index, const std::string& text) override {
        if (index == static_cast<int>(entries.size())) {
            entries.emplace_back(text, 0);
            newIndex = index;
        } else {
            entries.at(index).first = text;
        }
    }
    int NewIndex() const override { return newIndex; }
    void SetItemData(int index, int value) override { entries.at(index).second = value; }
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
    int Style() const override { return style; }
    void Clear() override {
        entries.clear();
        newIndex = -1;
    }

    Entries entries;
    int newIndex = -1;
    std::string text;
    int style = 0;
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
    // Fills the list afresh and gives its entries.
    Entries Fill(CcboList& lister, const std::string& query, const char* value) {
        list.Clear();
        lister.GetList_TableTwo(query, value);
        return list.entries;
    }

    testing::TestLeague league;
    FakeTarget list;
};

TEST_F(PlayerListTest, ListsOneTeamFromTheFirstRowOnWithNamesUnpadded) {
    league.AddPlayer(0, 7, "Adams"s + std::string(20, '\0'), "Al"s + std::string(13, ' '), "QB");
    league.AddPlayer(3, 8, "Baker"s + std::string(20, ' '), "Bo"s + std::string(13, '\0'), "HB");
    league.AddPlayer(0, -5, "  Cole" + std::string(19, ' '), " Cy  \0\0"s, "K");
    CcboList lister = ListerFor("TEAM");
    const Entries teamZero = {{"Adams, Al - QB", 7}, {"Cole, Cy - K", -5}};
    EXPECT_EQ(Fill(lister, kByLastName, "0"), teamZero);
    EXPECT_EQ(Fill(lister, kByLastName, "3"), (Entries{{"Baker, Bo - HB", 8}}));
    EXPECT_EQ(Fill(lister, kEveryPlayer, "0"), teamZero);
}

TEST_F(PlayerListTest, FindsALastNameExactlyWithCaseAndWithoutPadding) {
    league.AddPlayer(1, 1, "Smith"s + std::string(20, '\0'), "John", "QB");
    league.AddPlayer(2, 2, "Smith"s + std::string(20, ' '), "Adam", "CB");
    league.AddPlayer(1, 3, "smith", "Lower", "WR");
    league.AddPlayer(1, 4, "Smithers", "Sam", "TE");
    league.AddPlayer(3, 5, "  Smith", "Zed", "K");
    CcboList lister = ListerFor("LASTNAME");
    // NUL padding sorts before space padding byte by byte; the list must not show that.
    EXPECT_EQ(Fill(lister, kByName, "Smith"),
              (Entries{{"Smith, Adam - CB", 2}, {"Smith, John - QB", 1}, {"Smith, Zed - K", 5}}));
    EXPECT_EQ(Fill(lister, kEveryPlayer, "Smith").size(), 3u) << "found by the filter alone";
    EXPECT_EQ(Fill(lister, kByName, "smith"), (Entries{{"smith, Lower - WR", 3}}));
    EXPECT_TRUE(Fill(lister, kByName, "Nobody").empty());
}

TEST_F(PlayerListTest, OrdersByTheNameAsShownEitherWay) {
    league.AddPlayer(0, 1, "Baker"s + std::string(20, ' '), "Al", "QB");
    league.AddPlayer(0, 2, "adams"s + std::string(20, '\0'), "Al", "QB");
    league.AddPlayer(0, 3, "Bakerson", "Al", "QB");
    league.AddPlayer(0, 4, "Baker"s + std::string(20, '\0'), "Bo", "QB");
    CcboList lister = ListerFor("TEAM");
    Entries ascending = {{"adams, Al - QB", 2},
                         {"Baker, Al - QB", 1},
                         {"Baker, Bo - QB", 4},
                         {"Bakerson, Al - QB", 3}};
    EXPECT_EQ(Fill(lister, kByLastName, "0"), ascending);
    std::swap(ascending.front(), ascending.back()); // the namesakes keep their order
    EXPECT_EQ(Fill(lister, PlayerListQuery(PlayerListOrder::LastNameDescending), "0"), ascending);
}

TEST_F(PlayerListTest, KeepsNamesakesDropsNullLastNamesAndReadsWhatItCan) {
    league.AddPlayer(0, 1, "Jones", "Ann", "QB");
    league.AddPlayer(0, 2, "Jones", "Bob", "QB");
    league.AddPlayer(0, 3, std::monostate{}, "Ghost", "QB");
    league.AddPlayer(0, 4, "Kent", std::monostate{}, "S");
    CcboList lister = ListerFor("TEAM");
    EXPECT_EQ(Fill(lister, kByLastName, "0"),
              (Entries{{"Jones, Ann - QB", 1}, {"Jones, Bob - QB", 2}, {"Kent,  - S", 4}}));
}

TEST_F(PlayerListTest, AnEmptyTableListsNothingAndBadInputIsReported) {
    CcboList lister = ListerFor("TEAM");
    EXPECT_TRUE(Fill(lister, kByLastName, "0").empty());

    lister.FieldNameY("NoSuchField");
    EXPECT_THROW(lister.GetList_TableTwo(kByLastName, "0"), LeagueError);

    CcboList missing = ListerFor("TEAM");
    missing.dbName(league.folder() / "missing.tmp");
    EXPECT_EQ(testing::Failure([&] { missing.GetList_TableTwo(kByLastName, "0"); }).file(),
              league.folder() / "missing.tmp");
    EXPECT_FALSE(std::filesystem::exists(league.folder() / "missing.tmp"));
}

// The other fillers, one case each over the same rows: consecutive equal names make one entry.
TEST_F(PlayerListTest, EveryOtherFillerOverTheSameRows) {
    league.AddPlayer(0, 1, "Jones", "Ann", "QB");
    league.AddPlayer(0, 0, "Jones", "Bob", "QB"); // no identifier: TableID repeats the one before
    league.AddPlayer(0, 3, "Kent", "Cy", "S");
    league.AddPlayer(4, 4, "Lamb", "Di", "K");
    const std::string byRow = "SELECT * FROM Players ORDER BY rowid";
    CcboList lister = ListerFor("TEAM");
    const struct {
        const char* what;
        std::function<void()> fill;
        Entries entries;
    } cases[] = {
        {"Param1",
         [&] {
             lister.QueryName("SELECT LastName FROM Players WHERE Team = :Team ORDER BY rowid");
             lister.ParamName(":Team");
             lister.ParamVal(std::int64_t{0});
             lister.GetList_Param1();
         },
         {{"Jones", 0}, {"Kent", 0}}},
        {"Table", [&] { lister.GetList_Table(byRow); }, {{"Jones", 0}, {"Kent", 0}, {"Lamb", 0}}},
        {"TableID", [&] { lister.GetList_TableID(byRow, "Jones"); }, {{"1", 0}, {"1", 0}}},
        {"TableTwoAll",
         [&] { lister.GetList_TableTwoAll(byRow); },
         {{"Jones, Ann", 1}, {"Jones, Bob", 0}, {"Kent, Cy", 3}, {"Lamb, Di", 4}}},
    };
    for (const auto& c : cases) {
        list.Clear();
        lister.Val("3");
        c.fill();
        EXPECT_EQ(list.entries, c.entries) << c.what;
    }
    list.Clear();
    lister.GetList_Table(byRow);
    EXPECT_EQ(list.text, "Kent") << "the row whose id is Val gives the text";
}

// Escape brings back the text the box had when it got the focus; other keys are dropped unless
// text entry is allowed, except in a drop-down list, which takes every key as it is.
TEST(CcboListKeys, EscapeRestoresTheTextAndTypingNeedsLeave) {
    FakeTarget box;
    CcboList lister;
    lister.SetClient(&box);
    box.text = "Smith";
    lister.GotFocus();
    box.text = "Smi";
    int key = 'x';
    lister.KeyPress(key);
    EXPECT_EQ(std::tuple(key, lister.TextChanged()), std::tuple(0, false));
    lister.SetEnableTextEntry(true);
    lister.KeyPress(key = 'x');
    EXPECT_EQ(std::tuple(key, lister.TextChanged()), std::tuple(int('x'), true));
    lister.KeyPress(key = kEscapeKey);
    EXPECT_EQ(std::tuple(box.text, key, lister.TextChanged()), std::tuple("Smith"s, 27, false));
    box.style = kDropDownListStyle;
    lister.SetEnableTextEntry(false);
    lister.KeyPress(key = 'x');
    EXPECT_EQ(std::tuple(key, lister.TextChanged()), std::tuple(int('x'), false));
}

} // namespace
} // namespace tavrel
