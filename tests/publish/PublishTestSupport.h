#pragma once

#include "TestLeague.h"
#include "TestPlayers.h"
#include "publish/SiteData.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavrel::testing {

// A small league in a working database: two teams (the second with a name that is markup), a
// free agent and players in mixed position order.
struct PublishLeague {
    TestLeague db;
    PublishLeague() {
        db.AddTeam(std::int64_t(1), std::string("Bears\0\0", 7));
        db.AddTeam(std::int64_t(2), std::string("<script>alert(1)</script>"));
        Add(1, {.team = 1,
                .position = 6,
                .lastName = "Lee",
                .firstName = "Al",
                .actual = 7,
                .potential = 80});
        Add(2, {.team = 1,
                .position = 0,
                .lastName = "Zed",
                .firstName = "Bo",
                .actual = 91,
                .potential = 99});
        Add(3, {.team = 1,
                .position = 0,
                .lastName = "Abe",
                .firstName = "Cy",
                .actual = 40,
                .potential = 45});
        Add(4, {.team = 2,
                .position = 13,
                .lastName = "Mu\xC3\xB1oz",
                .firstName = "Jos\xC3\xA9",
                .college = "\xE2\x82\xAC U"});
        Add(5, {.team = 0, .position = 14, .lastName = "Free", .firstName = "Kim"});
    }
    // A player with the given PID (MakePlayer's count up across the whole test program).
    std::int64_t Add(int pid, const PlayerSpec& spec) {
        PlayerRow row = MakePlayer(spec);
        row[Col("PID")] = std::int64_t(pid);
        return db.AddPlayer(row);
    }
    LeagueData Read() const { return ReadLeagueData(db.db(), "Test.lge"); }
};

// The output of a shell command, and whether it ran; for the tools the tests read files with.
inline bool HasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace tavrel::testing
