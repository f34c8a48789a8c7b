// Runs the built tavrel-cli's global-edit and rosters commands on generated leagues.
#include "CliRunner.h"
#include "TestFiles.h"
#include "league/DemoLeague.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::FileContent;

// The player columns the tests compare, by PID.
struct Player {
    std::int64_t team, position, actualSpeed, potentialSpeed, actualAgility;
};

class EngineCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.path().toStdString();
        files_ = WriteDemoLeague(folder_ / "league", {.teams = 6, .players = 400, .seed = 3});
    }

    CliResult Run(const std::vector<std::string>& args) const {
        return testing::RunCli(TAVREL_CLI, args, {.workingFolder = folder_});
    }

    std::map<std::int64_t, Player> Players(const fs::path& league) const {
        const CliResult r = Run({"dump", league.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<std::int64_t, Player> players;
        std::size_t at = 0;
        while (at < r.out.size()) {
            const std::size_t end = r.out.find('\n', at);
            const auto row = nlohmann::json::parse(r.out.substr(at, end - at));
            players[row["PID"]] = {row["Team"], row["Position"], row["Act_SP"], row["Pot_SP"],
                                   row["Act_AG"]};
            at = end + 1;
        }
        return players;
    }

    QTemporaryDir dir_;
    fs::path folder_;
    DemoLeagueFiles files_;
};

// +10 % on the actual speed, bounds 0..99: what the rule gives for one player.
Player Expected(Player p) {
    double scaled = double(p.actualSpeed) + double(p.actualSpeed) * (10 * 0.01);
    p.actualSpeed = std::clamp<std::int64_t>(std::int64_t(std::nearbyint(scaled)), 0, 99);
    p.potentialSpeed = std::clamp<std::int64_t>(std::max(p.potentialSpeed, p.actualSpeed), 0, 99);
    return p;
}

TEST_F(EngineCommands, GlobalEditWritesOutAndLeavesTheLeagueAlone) {
    const fs::path copy = folder_ / "copy";
    fs::create_directory(copy);
    fs::copy_file(files_.leagueFile, copy / "Demo.lge");
    const std::string playerBytes = FileContent(files_.playerFile);

    const CliResult r =
        Run({"global-edit", files_.leagueFile.string(), "--positions", "S,QB", "--team", "all",
             "--act", "SP=10", "--out", (copy / "Demo.ply").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("QB: ")) << r.out; // check-box order, not the order given
    EXPECT_NE(r.out.find("\nS: "), std::string::npos) << r.out;

    EXPECT_EQ(FileContent(files_.playerFile), playerBytes);
    EXPECT_FALSE(fs::exists(folder_ / "league" / "Demo.sw$"));
    const auto before = Players(files_.leagueFile);
    const auto after = Players(copy / "Demo.lge");
    ASSERT_EQ(before.size(), after.size());
    int edited = 0;
    for (const auto& [pid, old] : before) {
        const Player& now = after.at(pid);
        const bool selected = old.position == 0 || old.position == 13;
        const Player want = selected ? Expected(old) : old;
        edited += selected;
        EXPECT_EQ(now.actualSpeed, want.actualSpeed) << "PID " << pid;
        EXPECT_EQ(now.potentialSpeed, want.potentialSpeed) << "PID " << pid;
        EXPECT_EQ(now.actualAgility, old.actualAgility) << "PID " << pid;
    }
    EXPECT_GT(edited, 0);
}

TEST_F(EngineCommands, GlobalEditWithoutOutBacksUpThenSaves) {
    const std::string playerBytes = FileContent(files_.playerFile);
    // Options before LEAGUE take one value each.
    const CliResult r = Run({"global-edit", "--act", "sp=-50", "--act", "AG=1", "--positions", "WR",
                             files_.leagueFile.string(), "--team", "free", "--act-min", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FileContent(folder_ / "league" / "Demo.sw$"), playerBytes);
    EXPECT_NE(FileContent(files_.playerFile), playerBytes);
    int edited = 0;
    for (const auto& [pid, p] : Players(files_.leagueFile)) {
        if (p.position == 6 && p.team == 0) {
            EXPECT_GE(p.actualSpeed, 20) << "PID " << pid;
            ++edited;
        }
    }
    EXPECT_GT(edited, 0);
}

TEST_F(EngineCommands, UnusableNumbersAreRefusedByOptionBeforeAnythingRuns) {
    const std::string playerBytes = FileContent(files_.playerFile);
    const std::string league = files_.leagueFile.string();
    const CliResult r = Run({"global-edit", league, "--positions", "QB", "--act-max", "256"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--act-max"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Please Enter a Valid Number"), std::string::npos) << r.err;
    EXPECT_EQ(FileContent(files_.playerFile), playerBytes);
    EXPECT_FALSE(fs::exists(folder_ / "league" / "Demo.sw$"));

    const fs::path out = folder_ / "out.ply";
    const CliResult missing = Run({"global-edit", (folder_ / "Missing.lge").string(), "--positions",
                                   "QB", "--act", "SP=10", "--out", out.string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    EXPECT_NE(missing.err.find("Missing.lge"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(EngineCommands, RostersWritesOneFilePerTeamIntoTheFolder) {
    const fs::path out = folder_ / "rosters";
    const CliResult r = Run({"rosters", files_.leagueFile.string(), "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> names = testing::FileNames(out);
    EXPECT_EQ(names.size(), 7u); // six teams and the free agents
    EXPECT_NE(std::find(names.begin(), names.end(), "Free Agents.txt"), names.end());
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7);
    const std::string freeAgents = FileContent(out / "Free Agents.txt");
    EXPECT_TRUE(freeAgents.starts_with("Free Agents\r\n \r\nPos Name")) << freeAgents;
    EXPECT_TRUE(freeAgents.ends_with("\r\nTavrel\r\nhttps://tavrel.example.org\r\n"));

    // By default into the current folder.
    ASSERT_EQ(Run({"rosters", files_.leagueFile.string()}).status, 0);
    EXPECT_TRUE(fs::exists(folder_ / "Free Agents.txt"));
}

} // namespace
} // namespace tavrel
