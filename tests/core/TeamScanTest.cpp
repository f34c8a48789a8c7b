#include "fileformat/TeamScan.h"

#include "TestPlayers.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::vector<int> Ids(const std::vector<TeamRecord>& teams) {
    std::vector<int> ids;
    for (const TeamRecord& t : teams)
        ids.push_back(t.teamId);
    return ids;
}

// Team records read whole in file order, text as Windows-1252 and padding kept. The scan resumes
// after each record: the complete marker in the first coach's name is not seen.
TEST(TeamScan, ReadsTeamRecordsWholeInFileOrder) {
    const std::string wolves = "Wolves" + std::string(14, '\0');
    const std::string coach = "xxTMS:?" + std::string(23, ' ');
    Bytes file = Text("junk");
    Append(file, TeamBlock(200, wolves, coach));
    Append(file, Text("...."));
    Append(file, TeamBlock(5, "Caf\xE9 Club", "\x80uro \x9F"));
    using Team = std::tuple<int, std::string, std::string>;
    std::vector<Team> teams;
    for (const TeamRecord& t : ScanTeamRecords(file))
        teams.emplace_back(t.teamId, t.teamName, t.coach);
    EXPECT_EQ(teams, (std::vector<Team>{{200, wolves, coach},
                                        {5, "Caf\u00E9 Club" + std::string(11, '\0'),
                                         "\u20ACuro \u0178" + std::string(24, '\0')}}));
}

// The marker is matched byte by byte and a byte that breaks a partial match is consumed: a "T",
// "TM" or "TMS" right before a marker hides it. The marker is exact and case-sensitive.
TEST(TeamScan, WhatTheMarkerScanSees) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {8}}, {"T", {}}, {"TM", {}}, {"TMS", {}}, {"Tx", {8}}, {"TMx", {8}}, {"TT", {8}}};
    for (const auto& [before, ids] : cases) {
        Bytes file = Text(before);
        Append(file, TeamBlock(8, "Found", "F"));
        EXPECT_EQ(Ids(ScanTeamRecords(file)), ids) << "after \"" << before << "\"";
    }
    for (const auto& [at, byte] : {std::pair{0, 't'}, {2, 's'}, {3, ';'}}) {
        Bytes file = TeamBlock(4, "Lower", "L");
        file[at] = std::uint8_t(byte);
        EXPECT_TRUE(ScanTeamRecords(file).empty()) << byte;
    }
}

TEST(TeamScan, FileEndingInsideABlockGivesNoTeamForIt) {
    Bytes file = TeamBlock(1, "Whole", "W");
    const Bytes second = TeamBlock(2, "Cut", "C");
    // Cut the second block after 1..3 marker bytes, after the marker, after the skipped byte and
    // one byte short of the end of its record.
    for (std::size_t keep : {1u, 3u, 4u, 5u, 6u, 62u}) {
        Bytes cut = file;
        cut.insert(cut.end(), second.begin(), second.begin() + std::ptrdiff_t(keep));
        EXPECT_EQ(Ids(ScanTeamRecords(cut)), (std::vector<int>{1})) << keep << " bytes kept";
    }
}

} // namespace
} // namespace tavrel
