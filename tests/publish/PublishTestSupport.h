#pragma once

#include "TestLeague.h"
#include "TestPlayers.h"
#include "publish/SiteData.h"

#include <cstdlib>
#include <string>

namespace tavrel::testing {

// A small league in a working database: two teams (the second with a name that is markup), a
// free agent and players in mixed position order.
struct PublishLeague {
    TestLeague db;
    PublishLeague() {
        db.AddTeam(std::int64_t(1), std::string("Bears\0\0", 7));
        db.AddTeam(std::int64_t(2), std::string("<script>alert(1)</script>"));
        // PID; team, position, last and first name, college, ratings, years, age, height, weight.
        Add(1, {1, 6, "Lee", "Al", "State", 7, 80, 3, 25, 74, 210});
        Add(2, {1, 0, "Zed", "Bo", "State", 91, 99, 3, 25, 74, 210});
        Add(3, {1, 0, "Abe", "Cy", "State", 40, 45, 3, 25, 74, 210});
        Add(4, {2, 13, "Mu\xC3\xB1oz", "Jos\xC3\xA9", "\xE2\x82\xAC U", 50, 60, 3, 25, 74, 210});
        Add(5, {0, 14, "Free", "Kim", "State", 50, 60, 3, 25, 74, 210});
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
