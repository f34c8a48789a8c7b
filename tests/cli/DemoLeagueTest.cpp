#include "league/DemoLeague.h"

#include "TestFiles.h"
#include "TestPlayers.h"
#include "base/LeagueError.h"
#include "league/DemoNames.h"
#include "league/PlayerRecord.h"
#include "league/Windows1252.h"
#include "store/PlayersTable.h"
#include "store/Vocabulary.h"

#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavrel {
namespace {

using testing::FieldWidth;
using testing::FileContent;
using testing::Num;
using testing::PlayerFileRecords;
using testing::Str;

std::filesystem::path TempPath(const QTemporaryDir& dir) {
    return dir.path().toStdString();
}

struct Team {
    int id;
    std::string name;  // 20 bytes as stored
    std::string coach; // 30 bytes as stored
};

// Every "TMS:" of the file: the generator promises its filler never holds one by accident.
std::vector<Team> TeamsOf(const std::string& league) {
    std::vector<Team> teams;
    for (auto at = league.find("TMS:"); at != std::string::npos;
         at = league.find("TMS:", at + 63)) {
        const std::string record = league.substr(at + 5, 58);
        EXPECT_EQ(record.size(), 58u) << "team record cut short at " << at;
        teams.push_back(
            {static_cast<unsigned char>(record[57]), record.substr(7, 20), record.substr(27, 30)});
    }
    return teams;
}

// The offsets of the Unknown text fields, the Act_/Pot_ 52..58 bytes and the sixty bytes no
// column carries.
std::vector<std::size_t> UninterpretedBytes() {
    std::array<bool, kPlayerRecordSize> modelled{};
    std::vector<std::size_t> offsets;
    for (const RecordField& c : kRecordFields) {
        const std::string_view name = c.column;
        const bool uninterpreted = name.starts_with("Unknown") || name.ends_with("_52") ||
                                   name.ends_with("_54") || name.ends_with("_56") ||
                                   name.ends_with("_58");
        for (int i = 0; i < FieldWidth(c); ++i) {
            modelled[c.offset + i] = true;
            if (uninterpreted && c.kind != FieldKind::Int16)
                offsets.push_back(c.offset + i);
        }
    }
    for (std::size_t i = 0; i < kPlayerRecordSize; ++i)
        if (!modelled[i])
            offsets.push_back(i);
    return offsets;
}

TEST(DemoLeague, SameOptionsGiveTheSameBytesAndAnotherSeedOthers) {
    QTemporaryDir temp;
    const auto first = WriteDemoLeague(TempPath(temp) / "a");
    const auto second = WriteDemoLeague(TempPath(temp) / "b");
    const auto reseeded = WriteDemoLeague(TempPath(temp) / "c", {.seed = 2});

    EXPECT_EQ(first.leagueFile, TempPath(temp) / "a" / "Demo.lge");
    EXPECT_EQ(first.playerFile, TempPath(temp) / "a" / "Demo.ply");
    EXPECT_EQ(FileContent(first.leagueFile), FileContent(second.leagueFile));
    EXPECT_EQ(FileContent(first.playerFile), FileContent(second.playerFile));
    EXPECT_NE(FileContent(first.leagueFile), FileContent(reseeded.leagueFile));
    EXPECT_NE(FileContent(first.playerFile), FileContent(reseeded.playerFile));
}

TEST(DemoLeague, TeamsHaveUniqueNumbersNamesAndCoaches) {
    QTemporaryDir temp;
    const auto files = WriteDemoLeague(TempPath(temp));
    const std::vector<Team> teams = TeamsOf(FileContent(files.leagueFile));

    ASSERT_EQ(teams.size(), 32u);
    std::set<std::string> names;
    int nulPadded = 0;
    for (std::size_t i = 0; i < teams.size(); ++i) {
        EXPECT_EQ(teams[i].id, int(i) + 1);
        EXPECT_NE(teams[i].name.find(' '), std::string::npos) << teams[i].name;
        EXPECT_NE(teams[i].name[0], '\0');
        EXPECT_NE(teams[i].coach[0], '\0');
        names.insert(teams[i].name);
        nulPadded += teams[i].name.back() == '\0';
    }
    EXPECT_EQ(names.size(), teams.size());
    EXPECT_GT(nulPadded, 0);
    EXPECT_LT(nulPadded, 32);
}

TEST(DemoLeague, PlayersArePlausibleAndCarryEveryByte) {
    QTemporaryDir temp;
    const auto files = WriteDemoLeague(TempPath(temp));
    const std::string bytes = FileContent(files.playerFile);
    ASSERT_EQ(bytes.size(), kPlayerFileHeaderSize + 1700 * kPlayerRecordSize);
    const auto records = PlayerFileRecords(bytes);

    std::set<std::int64_t> ids;
    std::map<int, std::set<int>> positionsOfTeam;
    int freeAgents = 0, heavy = 0, nulPadded = 0, spacePadded = 0, accented = 0, declining = 0;
    int ratings = 0;
    for (const auto& record : records) {
        PlayerRow row;
        DecodePlayerRecord(record, row);
        const std::int64_t pid = Num(row, "PID");
        EXPECT_GT(pid, 0);
        EXPECT_TRUE(ids.insert(pid).second) << "duplicate PID " << pid;
        const int team = int(Num(row, "Team"));
        ASSERT_LE(team, 32);
        freeAgents += team == 0;
        positionsOfTeam[team].insert(int(Num(row, "Position")));
        EXPECT_FALSE(Str(row, "PositionTXT").empty());
        heavy += Num(row, "Weight") > 255;
        const std::string& first = Str(row, "FirstName");
        nulPadded += first.back() == '\0';
        spacePadded += first.back() == ' ';
        accented += std::any_of(first.begin(), first.end(), [](char c) { return c & 0x80; }) ||
                    std::any_of(record.begin() + 23, record.begin() + 48,
                                [](std::uint8_t b) { return b >= 0x80; });
        EXPECT_GE(Num(row, "AGE"), 21);
        EXPECT_LE(Num(row, "AGE"), 40);
        for (int k = 0; k < kRatingCount; ++k) {
            const std::int64_t act = Num(row, ActualColumn(k).c_str());
            const std::int64_t pot = Num(row, PotentialColumn(k).c_str());
            EXPECT_GE(act, 20);
            EXPECT_LE(pot, 99);
            declining += act > pot;
            ++ratings;
        }
        // No uninterpreted byte is left zero, so a lost or shifted one shows.
        EXPECT_NE(Num(row, "Unknown0"), 0);
        for (const std::size_t i : UninterpretedBytes())
            EXPECT_NE(record[i], 0) << "byte " << i << " of PID " << pid;

        // The record codec gives back every byte, padding and unmodelled bytes included.
        auto again = record;
        EncodePlayerRecord(row, again);
        EXPECT_EQ(again, record) << "PID " << pid;
    }

    EXPECT_GT(freeAgents, 50);
    EXPECT_GT(heavy, 100);
    EXPECT_GT(nulPadded, 100);
    EXPECT_GT(spacePadded, 100);
    EXPECT_GT(accented, 20);
    EXPECT_LT(declining * 10, ratings);
    EXPECT_GT(*ids.rbegin(), 255);
    for (int team = 1; team <= 32; ++team)
        EXPECT_EQ(positionsOfTeam[team].size(), std::size_t(kPositionCount)) << "team " << team;
    // Neighbouring records do not share their uninterpreted bytes.
    EXPECT_FALSE(std::equal(records[0].begin() + 302, records[0].end(), records[1].begin() + 302));
}

TEST(DemoLeague, EveryNameFitsItsFieldInWindows1252) {
    const auto fits = [](std::span<const std::string_view> words, std::size_t width) {
        for (const std::string_view word : words) {
            EXPECT_TRUE(FitsWindows1252(word)) << word;
            EXPECT_LE(CharacterCount(word), width) << word;
        }
    };
    fits(DemoFirstNames(), 15);
    fits(DemoLastNames(), 25);
    fits(DemoColleges(), 31);
    fits(DemoCities(), 20 - 1 - 4); // room for a space and the shortest nickname
    fits(DemoNicknames(), 20 - 1 - 4);
}

TEST(DemoLeague, SmallLeaguesAndRefusedOptions) {
    QTemporaryDir temp;
    const auto files = WriteDemoLeague(TempPath(temp) / "small", {.teams = 2, .players = 10});
    EXPECT_EQ(TeamsOf(FileContent(files.leagueFile)).size(), 2u);
    EXPECT_EQ(PlayerFileRecords(FileContent(files.playerFile)).size(), 10u);

    const auto none = WriteDemoLeague(TempPath(temp) / "empty", {.teams = 0, .players = 0});
    EXPECT_TRUE(TeamsOf(FileContent(none.leagueFile)).empty());
    EXPECT_EQ(FileContent(none.playerFile).size(), kPlayerFileHeaderSize);

    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "many", {.teams = 256}), LeagueError);
    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "crowd", {.players = 40000}), LeagueError);
    EXPECT_FALSE(std::filesystem::exists(TempPath(temp) / "many"));

    // A file where the folder should be.
    std::ofstream(TempPath(temp) / "taken") << "x";
    EXPECT_THROW(WriteDemoLeague(TempPath(temp) / "taken"), LeagueError);
}

} // namespace
} // namespace tavrel
