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

// The demo's 1700 records carry names padded both ways, accents and every unmodelled byte set:
// each comes back whole from the record codec.
TEST(DemoLeague, EveryRecordSurvivesTheCodec) {
    QTemporaryDir temp;
    const auto files = WriteDemoLeague(TempPath(temp));
    const auto records = PlayerFileRecords(FileContent(files.playerFile));
    ASSERT_EQ(records.size(), 1700u);
    for (const auto& record : records) {
        PlayerRow row;
        DecodePlayerRecord(record, row);
        ASSERT_FALSE(CheckPlayerRow(row));
        auto again = record;
        EncodePlayerRecord(row, again);
        EXPECT_EQ(again, record);
    }
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
