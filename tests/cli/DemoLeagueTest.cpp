#include "league/DemoLeague.h"

#include "TestFiles.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "league/PlayerRecord.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

using testing::FileContent;
using testing::PlayerFileRecords;

std::filesystem::path TempPath(const QTemporaryDir& dir) {
    return dir.path().toStdString();
}

TEST(DemoLeague, SmallLeaguesAndRefusedOptions) {
    QTemporaryDir temp;
    const auto none = WriteDemoLeague(TempPath(temp) / "empty", {.teams = 0, .players = 0});
    EXPECT_EQ(FileContent(none.leagueFile).find("TMS:"), std::string::npos);
    EXPECT_EQ(FileContent(none.playerFile).size(), kPlayerFileHeaderSize);

    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "many", {.teams = 256}), LeagueError);
    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "crowd", {.players = 40000}), LeagueError);
    EXPECT_FALSE(std::filesystem::exists(TempPath(temp) / "many"));
    std::ofstream(TempPath(temp) / "taken") << "x"; // a file where the folder should be
    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "taken"), LeagueError);
}

} // namespace
} // namespace tavrel
