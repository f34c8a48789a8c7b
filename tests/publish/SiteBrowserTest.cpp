// The published site opened in a real browser: headless Chromium loads pages from disk, runs the
// site's script and dumps the DOM it ends with. Screenshots at desktop and phone widths are kept
// in the build folder for people to look at.
#include "PublishTestSupport.h"
#include "TestFiles.h"
#include "publish/PublishSite.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

#ifndef TAVREL_SCREENSHOTS
#define TAVREL_SCREENSHOTS "."
#endif

namespace tavrel {
namespace {

using testing::FileContent;
namespace fs = std::filesystem;

class SiteInBrowser : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testing::HasProgram("chromium"))
            return;
        dir_ = new QTemporaryDir;
        testing::PublishLeague league;
        PublishSite(league.Read(), Site());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!dir_)
            GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    }
    static fs::path Root() { return dir_->path().toStdString(); }
    static fs::path Site() { return Root() / "site"; }

    // Runs Chromium on a page of the site ("index.html?q=x") with `mode` (--dump-dom,
    // --screenshot=...) and returns what it printed. Its network log goes to `netLog`.
    static std::string Chromium(const std::string& page, const std::string& mode,
                                const std::string& size = "1280,900") {
        static int run = 0;
        const fs::path profile = Root() / ("profile" + std::to_string(++run));
        const fs::path out = Root() / ("out" + std::to_string(run));
        const fs::path netLog = Root() / ("net" + std::to_string(run) + ".json");
        const std::string command =
            "cd '" + Root().string() +
            "' && timeout 120 chromium --headless --no-sandbox "
            "--disable-gpu --disable-quic --no-first-run --disable-background-networking "
            "--disable-component-update --disable-sync --disable-dev-shm-usage "
            "--user-data-dir='" +
            profile.string() + "' --log-net-log='" + netLog.string() + "' --window-size=" + size +
            " " + mode + " 'file://" + (Site() / page).string() + "' >'" + out.string() +
            "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        lastNetLog_ = fs::exists(netLog) ? FileContent(netLog) : std::string();
        return FileContent(out);
    }

    static QTemporaryDir* dir_;
    static std::string lastNetLog_;
};
QTemporaryDir* SiteInBrowser::dir_ = nullptr;
std::string SiteInBrowser::lastNetLog_;

// Every address the page refers to, from the dumped DOM.
std::vector<std::string> Addresses(const std::string& dom) {
    std::vector<std::string> found;
    const std::regex attribute(R"re(\b(?:href|src)="([^"]*)")re");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), attribute);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

void ExpectNothingLeavesTheFolder(const std::string& dom, const std::string& netLog) {
    for (const std::string& address : Addresses(dom)) {
        EXPECT_EQ(address.find(':'), std::string::npos) << address;
        EXPECT_NE(address.rfind("/", 0), 0u) << address;
    }
    EXPECT_FALSE(netLog.empty()) << "Chromium wrote no network log";
    // The browser's own requests (time, updates) have no initiating page; the page's requests are
    // initiated by its file: origin, which shows as "null". None of those may leave the disk.
    nlohmann::json log = nlohmann::json::parse(netLog, nullptr, false);
    if (log.is_discarded()) // a log cut short ends inside its list of events
        log = nlohmann::json::parse(netLog.substr(0, netLog.rfind('}') + 1) + "]}", nullptr, false);
    ASSERT_FALSE(log.is_discarded()) << "the network log is no JSON";
    for (const auto& event : log["events"]) {
        const auto params = event.find("params");
        if (params == event.end() || !params->contains("url") || !params->contains("initiator"))
            continue;
        if ((*params)["initiator"] != "null")
            continue;
        const std::string url = (*params)["url"];
        EXPECT_EQ(url.rfind("file://", 0), 0u) << "a request left the folder: " << url;
    }
}

TEST_F(SiteInBrowser, IndexListsTheTeamsAndTheSearchFindsAPlayer) {
    // Without regard to accents or case: "munoz JOSE" finds José Muñoz.
    const std::string dom = Chromium("index.html?q=munoz%20JOSE", "--dump-dom");
    EXPECT_NE(dom.find("class=\"js\""), std::string::npos) << "the script did not run";
    EXPECT_NE(dom.find("<a href=\"team-1.html\">Bears</a>"), std::string::npos);
    EXPECT_NE(dom.find("<a href=\"team-2.html\">&lt;script&gt;alert(1)&lt;/script&gt;</a>"),
              std::string::npos);
    EXPECT_NE(dom.find("<a href=\"free-agents.html\">Free Agents</a>"), std::string::npos);
    EXPECT_NE(dom.find("1 player found"), std::string::npos);
    EXPECT_TRUE(std::regex_search(
        dom, std::regex("<ul id=\"results\"><li><a href=\"players/p-4.html\">Jos\xC3\xA9 "
                        "Mu\xC3\xB1oz</a> \xE2\x80\x93 S, &lt;script&gt;alert\\(1\\)&lt;/script&gt;"
                        "</li></ul>")))
        << dom;
    // The team named like markup stayed text: the page has only its own two script elements.
    const std::regex script("<script\\b");
    EXPECT_EQ(
        std::distance(std::sregex_iterator(dom.begin(), dom.end(), script), std::sregex_iterator()),
        2);
    ExpectNothingLeavesTheFolder(dom, lastNetLog_);
}

TEST_F(SiteInBrowser, ASortedTableIsSortedAsNumbers) {
    // Column 7 is SP: 7, 40, 91 as numbers (as texts 40 would come first).
    const std::string dom = Chromium("team-1.html?sort=7", "--dump-dom");
    EXPECT_LT(dom.find(">Al Lee<"), dom.find(">Cy Abe<"));
    EXPECT_LT(dom.find(">Cy Abe<"), dom.find(">Bo Zed<"));
    EXPECT_NE(dom.find(">Bo Zed<"), std::string::npos);
    EXPECT_NE(dom.find("aria-sort=\"ascending\"><button type=\"button\"><abbr title=\"Actual "
                       "Speed\">SP</abbr>"),
              std::string::npos)
        << dom;
    EXPECT_EQ(dom.find("class=\"group\""), std::string::npos); // sorted, the groups go

    const std::string descending = Chromium("team-1.html?sort=7&order=desc", "--dump-dom");
    EXPECT_LT(descending.find(">Bo Zed<"), descending.find(">Cy Abe<"));
    EXPECT_LT(descending.find(">Cy Abe<"), descending.find(">Al Lee<"));
    ExpectNothingLeavesTheFolder(dom, lastNetLog_);
}

TEST_F(SiteInBrowser, TeamAndPlayerPagesShowTheirTextsAsText) {
    const std::string team = Chromium("team-2.html", "--dump-dom");
    EXPECT_NE(
        team.find("<title>&lt;script&gt;alert(1)&lt;/script&gt; \xE2\x80\x93 Test.lge</title>"),
        std::string::npos);
    EXPECT_NE(team.find("<h1 id=\"team\">&lt;script&gt;alert(1)&lt;/script&gt;</h1>"),
              std::string::npos);
    EXPECT_NE(team.find("<th scope=\"rowgroup\" colspan=\"31\">Safeties (S)</th>"),
              std::string::npos);

    const std::string player = Chromium("players/p-4.html", "--dump-dom");
    EXPECT_NE(player.find("<h1>Jos\xC3\xA9 Mu\xC3\xB1oz</h1>"), std::string::npos);
    EXPECT_NE(player.find("<a href=\"../team-2.html\">&lt;script&gt;alert(1)&lt;/script&gt;</a>"),
              std::string::npos);
    const std::regex bar("<td class=\"bars\" rowspan=\"8\"><svg ");
    EXPECT_EQ(std::distance(std::sregex_iterator(player.begin(), player.end(), bar),
                            std::sregex_iterator()),
              3);
    ExpectNothingLeavesTheFolder(player, lastNetLog_);
}

TEST_F(SiteInBrowser, ScreenshotsAtDesktopAndPhoneWidths) {
    const fs::path shots = TAVREL_SCREENSHOTS;
    fs::create_directories(shots);
    for (const auto& [page, name] :
         {std::pair{"index.html?q=a", "index"}, std::pair{"team-1.html", "team"},
          std::pair{"players/p-4.html", "player"}})
        for (const auto& [size, width] :
             {std::pair{"1280,900", "desktop"}, std::pair{"390,844", "phone"}}) {
            const fs::path png = shots / (std::string(name) + "-" + width + ".png");
            fs::remove(png);
            Chromium(page, "--screenshot='" + png.string() + "'", size);
            ASSERT_TRUE(fs::exists(png)) << png;
            EXPECT_EQ(FileContent(png).substr(1, 3), "PNG") << png;
        }
}

} // namespace
} // namespace tavrel
