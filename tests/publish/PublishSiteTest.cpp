#include "publish/PublishSite.h"

#include "PublishTestSupport.h"
#include "TestFiles.h"
#include "base/LeagueError.h"
#include "publish/Html.h"
#include "publish/SiteFolder.h"

#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::FileContent;
using testing::FileNames;
using testing::PublishLeague;
using testing::WriteFileContent;
namespace fs = std::filesystem;

TEST(Html, LeagueTextNeverBecomesMarkup) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a\"b'c&d", "a&quot;b&#39;c&amp;d"},
        {"Jos\xC3\xA9 \xE2\x82\xAC", "Jos\xC3\xA9 \xE2\x82\xAC"}, // UTF-8 stays
        {std::string("a\0b\x01", 4), "a\xEF\xBF\xBD"
                                     "b\xEF\xBF\xBD"},            // C0 controls
        {"x\xC2\x81y", "x\xEF\xBF\xBDy"},                         // a C1 control
        {"\xFF\xC3", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // no UTF-8
        {"\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // overlong '/'
    };
    for (const auto& c : cases)
        EXPECT_EQ(Html(c.in), c.out) << c.in;
}

TEST(Html, JsonStringsCannotEndTheirScript) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"</script><b>", R"("\u003c/script\u003e\u003cb\u003e")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"tab\there", R"("tab\u0009here")"},
        {"\xC3\xA9&", "\"\xC3\xA9\\u0026\""},
        {"\xFF", R"("\ufffd")"},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendJsonString(out, c.in);
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(SiteData, RostersInPositionOrderAndStablePageNames) {
    PublishLeague league;
    // A second player with PID 1 makes both of them go by record; a player of no team.
    league.Add(1, {.team = 1, .position = 6});
    league.Add(6, {.team = 9, .position = 3, .lastName = "Lost"});
    const LeagueData data = league.Read();

    ASSERT_EQ(data.teams.size(), 2u);
    EXPECT_EQ(data.teams[0].name, "Bears"); // padding gone
    EXPECT_EQ(data.teams[0].page, "team-1.html");
    EXPECT_EQ(data.teams[1].page, "team-2.html");
    std::vector<std::string> bears;
    for (const std::size_t i : data.teams[0].players)
        bears.push_back(data.players[i].lastName + ":" + data.players[i].page);
    // QBs by record, then the WRs; PID 1 is shared, so both players of it go by record.
    EXPECT_EQ(bears, (std::vector<std::string>{"Zed:players/p-2.html", "Abe:players/p-3.html",
                                               "Lee:players/r-1.html", "Smith:players/r-6.html"}));
    ASSERT_EQ(data.freeAgents.players.size(), 1u);
    EXPECT_EQ(data.players[data.freeAgents.players[0]].lastName, "Free");
    const auto lost = std::find_if(data.players.begin(), data.players.end(),
                                   [](const SitePlayer& p) { return p.lastName == "Lost"; });
    ASSERT_NE(lost, data.players.end());
    EXPECT_EQ(data.TeamOf(*lost), nullptr);
    // The ratings in band order: SP AG VT FA ...
    EXPECT_EQ(data.players[data.teams[0].players[0]].actual[0], 91);
}

TEST(SiteData, TeamsSharingANumberOrWithoutOneGetPagesOfTheirOwn) {
    testing::TestLeague db;
    db.AddTeam(std::int64_t(4), std::string("A"));
    db.AddTeam(std::int64_t(4), std::string("B"));
    db.AddTeam(Value{}, std::string("C"));
    db.AddTeam(std::int64_t(5), std::string(""));
    const LeagueData data = ReadLeagueData(db.db(), "x.lge");
    std::vector<std::string> pages, names;
    for (const SiteTeam& t : data.teams) {
        pages.push_back(t.page);
        names.push_back(t.name);
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"team-4.html", "team-4-2.html", "team-row3.html",
                                               "team-5.html"}));
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "Team 5"}));
}

TEST(SiteData, AMissingDatabaseIsAFailureNamingIt) {
    QTemporaryDir dir;
    const fs::path missing = fs::path(dir.path().toStdString()) / "none.tmp";
    EXPECT_EQ(testing::Failure([&] { ReadLeagueData(missing, "x.lge"); }).file(), missing);
}

class PublishFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
    fs::path site = root / "site";
    PublishLeague league;
    void TearDown() override { FailSiteWrite(0, 0); }
};

TEST_F(PublishFolder, WritesEveryPageWithTheLeaguesTextEscaped) {
    const LeagueData data = league.Read();
    EXPECT_EQ(PublishSite(data, site), 1 + 1 + 2 + data.players.size());
    for (const char* file : {"index.html", "free-agents.html", "team-1.html", "team-2.html",
                             "site.css", "site.js", "players/p-4.html", ".tavrel-site"})
        EXPECT_TRUE(fs::is_regular_file(site / file)) << file;
    const std::string index = FileContent(site / "index.html");
    EXPECT_NE(index.find("<title>Test.lge</title>"), std::string::npos);
    EXPECT_NE(index.find("<html lang=\"en\">"), std::string::npos);
    EXPECT_NE(index.find(">Bears</a></th><td>1</td><td>3</td>"), std::string::npos);
    EXPECT_EQ(index.find("<script>alert"), std::string::npos);
    EXPECT_NE(index.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(index.find("\\u003cscript\\u003ealert(1)"), std::string::npos); // search index

    const std::string team = FileContent(site / "team-1.html");
    const std::size_t qbs = team.find("Quarterbacks (QB)"), wrs = team.find("Wide Receivers (WR)");
    ASSERT_NE(qbs, std::string::npos);
    ASSERT_NE(wrs, std::string::npos);
    EXPECT_LT(qbs, team.find("Bo Zed"));
    EXPECT_LT(team.find("Bo Zed"), team.find("Cy Abe"));
    EXPECT_LT(team.find("Cy Abe"), wrs);
    EXPECT_LT(wrs, team.find("Al Lee"));
    EXPECT_NE(team.find("<a href=\"players/p-2.html\">Bo Zed</a>"), std::string::npos);

    const std::string player = FileContent(site / "players/p-4.html");
    EXPECT_NE(player.find("<h1>Jos\xC3\xA9 Mu\xC3\xB1oz</h1>"), std::string::npos);
    EXPECT_NE(player.find("<a href=\"../team-2.html\">&lt;script&gt;"), std::string::npos);
    EXPECT_NE(player.find("<dt>College:</dt><dd>\xE2\x82\xAC U</dd>"), std::string::npos);
    EXPECT_NE(player.find("<abbr title=\"Speed\">SP:</abbr>"), std::string::npos);
    // Three bands of eight ratings, each band with a path of its actual and one of its potential
    // bars, 100 units apart, ten units per rating point.
    std::size_t bands = 0;
    for (std::size_t at = 0;
         (at = player.find("<svg viewBox=\"0 0 1000 800\"", at)) != std::string::npos; ++at)
        ++bands;
    EXPECT_EQ(bands, 3u);
    const std::string lee = FileContent(site / "players/p-1.html");
    EXPECT_NE(lee.find("<path class=\"act\" d=\"M0 36H70M0 136H70M0 236H70M0 336H70M0 436H70M0 "
                       "536H70M0 636H70M0 736H70\"/>"),
              std::string::npos);
    EXPECT_NE(lee.find("<path class=\"pot\" d=\"M0 64H800M0 164H800"), std::string::npos);
    // A rating beyond 100 fills its bar and no more; a missing one draws none.
    league.db.Exec("UPDATE Players SET Act_SP = 250, Pot_SP = NULL WHERE PID = 1");
    PublishSite(league.Read(), site);
    const std::string changed = FileContent(site / "players/p-1.html");
    EXPECT_NE(changed.find("d=\"M0 36H1000M0 136H70"), std::string::npos);
    EXPECT_NE(changed.find("d=\"M0 64H0M0 164H800"), std::string::npos);
    EXPECT_NE(changed.find("<td>250</td><td></td>"), std::string::npos);
}

TEST_F(PublishFolder, RepublishingReplacesTheSiteAndKeepsItsNames) {
    PublishSite(league.Read(), site);
    league.db.Exec("UPDATE Players SET LastName = 'Newname' WHERE PID = 1");
    league.db.Exec("DELETE FROM Players WHERE PID = 5");
    PublishSite(league.Read(), site);
    EXPECT_NE(FileContent(site / "players/p-1.html").find("Al Newname"), std::string::npos);
    EXPECT_FALSE(fs::exists(site / "players/p-5.html")); // a page of a player gone goes too
    EXPECT_TRUE(fs::exists(site / "players/p-4.html"));
    // Nothing is left beside the site.
    EXPECT_EQ(FileNames(root), std::vector<std::string>{"site"});
}

TEST_F(PublishFolder, RefusesAFolderHoldingOtherFiles) {
    const struct {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        {"a folder with a file of its own",
         [&] {
             fs::create_directories(site);
             WriteFileContent(site / "notes.txt", "mine");
         }},
        {"a published site with a file added",
         [&] {
             PublishSite(league.Read(), site);
             WriteFileContent(site / "players" / "photo.jpg", "mine");
         }},
        {"a file, not a folder", [&] { WriteFileContent(site, "mine"); }},
    };
    for (const auto& c : cases) {
        fs::remove_all(site);
        c.prepare();
        std::error_code ec;
        const auto before = fs::is_directory(site) ? FileNames(site) : std::vector<std::string>{};
        EXPECT_THROW(PublishSite(league.Read(), site), LeagueError) << c.name;
        EXPECT_EQ(fs::is_directory(site) ? FileNames(site) : std::vector<std::string>{}, before)
            << c.name;
        EXPECT_EQ(FileNames(root), std::vector<std::string>{"site"}) << c.name;
    }
    EXPECT_EQ(FileContent(site), "mine");
}

TEST_F(PublishFolder, AnInterruptedPublishLeavesTheLastGoodSiteOrNone) {
    // The first publish fails at its third file: no site, nothing left behind.
    FailSiteWrite(3, ENOSPC);
    const LeagueError e = testing::Failure([&] { PublishSite(league.Read(), site); });
    EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
    EXPECT_EQ(e.file(), site / "index.html");
    EXPECT_TRUE(FileNames(root).empty());

    PublishSite(league.Read(), site);
    const std::string index = FileContent(site / "index.html");
    const std::string page = FileContent(site / "players/p-1.html");
    league.db.Exec("UPDATE Players SET LastName = 'Changed'");
    for (const int nth : {1, 5, 10, 11}) { // style sheet, team page, last player page, manifest
        FailSiteWrite(nth, EIO);
        EXPECT_THROW(PublishSite(league.Read(), site), LeagueError) << nth;
        EXPECT_EQ(FileContent(site / "index.html"), index) << nth;
        EXPECT_EQ(FileContent(site / "players/p-1.html"), page) << nth;
        EXPECT_EQ(FileNames(root), std::vector<std::string>{"site"}) << nth;
    }
}

TEST_F(PublishFolder, LeftoversOfAKilledRunGoWithTheNextPublish) {
    // A run that was killed (its process is gone) and one that is still running (this one).
    const fs::path dead = root / ".site.tavrel-new-2147483646-abcdef";
    const fs::path running = root / (".site.tavrel-new-" + std::to_string(getpid()) + "-ghijkl");
    const fs::path notOurs = root / ".site.tavrel-notes";
    fs::create_directories(dead / "players");
    fs::create_directories(running);
    fs::create_directories(notOurs);
    PublishSite(league.Read(), site);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(notOurs));
}

TEST_F(PublishFolder, TakesAnEmptyFolderAndKeepsALinkToOnePointingAtTheSite) {
    fs::create_directories(site);
    PublishSite(league.Read(), site);
    EXPECT_TRUE(fs::exists(site / "index.html"));
    const fs::path real = root / "real", link = root / "link";
    fs::create_directories(real);
    fs::create_directory_symlink(real, link);
    PublishSite(league.Read(), link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(real / "index.html"));
}

} // namespace
} // namespace tavrel
