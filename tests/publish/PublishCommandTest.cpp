// tavrel-cli publish end to end: the built program on a league whose team names are odd.
#include "CliRunner.h"
#include "PublishTestSupport.h"
#include "TestFiles.h"
#include "demo/DemoLeague.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::FileContent;
using testing::WriteFileContent;

class PublishCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
    fs::path league;

    // The demo players of three teams under team names that are a path, Windows-1252 letters and
    // markup.
    void SetUp() override {
        const DemoLeagueFiles demo = WriteDemoLeague(root / "league", {3, 300, 7});
        std::string teams;
        const std::string names[] = {"../x/..", "Caf\xE9 \x80 \x84", "<b>bold</b>"};
        for (int id = 1; id <= 3; ++id) {
            const testing::Bytes block = testing::TeamBlock(std::uint8_t(id), names[id - 1], "C");
            teams.append(block.begin(), block.end());
        }
        WriteFileContent(demo.leagueFile, teams);
        league = demo.leagueFile;
    }

    CliResult Run(const std::vector<std::string>& args) {
        std::vector<std::string> all{"publish", league.string()};
        all.insert(all.end(), args.begin(), args.end());
        return testing::RunCli(TAVREL_CLI, all, {.workingFolder = root});
    }
};

// Every file a site holds, relative to it, and what its manifest lists: the same, when whole.
std::pair<std::set<std::string>, std::set<std::string>> SiteFiles(const fs::path& site) {
    std::set<std::string> files, listed;
    for (const auto& entry : fs::recursive_directory_iterator(site)) {
        const std::string name = entry.path().lexically_relative(site).generic_string();
        if (name != ".tavrel-site")
            files.insert(entry.is_directory() ? name + "/" : name);
    }
    std::istringstream manifest(FileContent(site / ".tavrel-site"));
    for (std::string line; std::getline(manifest, line);)
        listed.insert(line);
    return {files, listed};
}

TEST_F(PublishCommand, WritesTheSiteAndThePdfWithOddTeamNames) {
    const CliResult result = Run({"--out", "site", "--pdf", "rosters.pdf", "--paper", "letter"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("rosters.pdf: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Letter"), std::string::npos) << result.out;
    // Nothing lands outside the site folder whatever the team names say.
    EXPECT_EQ(testing::FileNames(root),
              (std::vector<std::string>{"league", "rosters.pdf", "site"}));
    EXPECT_EQ(testing::FileNames(root / "league"),
              (std::vector<std::string>{"Demo.lge", "Demo.ply"}));
    const std::string index = FileContent(root / "site" / "index.html");
    for (const char* text :
         {"<a href=\"team-1.html\">../x/..</a>",
          "<a href=\"team-2.html\">Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9E</a>",
          "<a href=\"team-3.html\">&lt;b&gt;bold&lt;/b&gt;</a>", "<title>Demo.lge</title>"})
        EXPECT_NE(index.find(text), std::string::npos) << text;
    const auto [files, listed] = SiteFiles(root / "site");
    EXPECT_EQ(files, listed);
    EXPECT_EQ(std::count_if(files.begin(), files.end(),
                            [](const std::string& f) { return f.rfind("players/", 0) == 0; }),
              300 + 1);

    if (!testing::HasProgram("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(std::system(("pdftotext '" + (root / "rosters.pdf").string() + "' '" +
                           (root / "rosters.txt").string() + "'")
                              .c_str()),
              0);
    const std::string text = FileContent(root / "rosters.txt");
    for (const char* name : {"Free Agents", "../x/..", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9E",
                             "<b>bold</b>", "SP:", "Quarterbacks (QB)"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST_F(PublishCommand, RefusesWhatItMustNotWrite) {
    fs::create_directories(root / "mine");
    WriteFileContent(root / "mine" / "notes.txt", "keep");
    const std::string playerFile = FileContent(root / "league" / "Demo.ply");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"--out", "mine"}, 1, "not of a published league site"},
        {{"--out", (root / "league").string()}, 1, "not of a published league site"},
        {{"--pdf", (root / "league" / "Demo.ply").string()}, 1, "one of the league's own files"},
        {{}, 2, "--out"},
        {{"--pdf", "x.pdf", "--team", "9"}, 1, "no team \"9\""},
    };
    for (const auto& c : cases) {
        const CliResult result = Run(c.args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(FileContent(root / "mine" / "notes.txt"), "keep");
    EXPECT_EQ(testing::FileNames(root / "mine"), std::vector<std::string>{"notes.txt"});
    EXPECT_EQ(FileContent(root / "league" / "Demo.ply"), playerFile);
    EXPECT_FALSE(fs::exists(root / "x.pdf"));
}

// However the program is killed, the folder holds the last good site whole, and the next run
// clears what the killed one left.
TEST_F(PublishCommand, AKilledPublishLeavesTheLastGoodSite) {
    ASSERT_EQ(Run({"--out", "site"}).status, 0);
    const std::string index = FileContent(root / "site" / "index.html");
    for (const int ms : {30, 120, 250, 400}) {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(root.string()));
        process.start(TAVREL_CLI,
                      {"publish", QString::fromStdString(league.string()), "--out", "site"});
        ASSERT_TRUE(process.waitForStarted());
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        process.kill();
        process.waitForFinished();
        ASSERT_TRUE(fs::exists(root / "site" / "index.html")) << ms;
        EXPECT_EQ(FileContent(root / "site" / "index.html"), index) << ms; // same league
        const auto [files, listed] = SiteFiles(root / "site");
        EXPECT_EQ(files, listed) << ms;
    }
    ASSERT_EQ(Run({"--out", "site"}).status, 0);
    EXPECT_EQ(testing::FileNames(root), (std::vector<std::string>{"league", "site"}));
}

} // namespace
} // namespace tavrel
