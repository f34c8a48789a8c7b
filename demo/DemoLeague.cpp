#include "demo/DemoLeague.h"

#include "base/LeagueError.h"
#include "demo/DemoNames.h"
#include "fileformat/PlayerRecord.h"
#include "fileformat/Windows1252.h"
#include "safety/SafeSave.h"
#include "store/PlayersTable.h"
#include "store/Vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tavrel {
namespace {

constexpr const char* kOperation = "Writing the demo league";

// Team record as the league file holds it, behind "TMS:" and one skipped byte.
constexpr std::size_t kTeamUnusedBytes = 7;
constexpr std::size_t kTeamNameWidth = 20;
constexpr std::size_t kCoachWidth = 30;

// splitmix64. Our own generator, because the standard distributions may give other numbers with
// another standard library, and the demo league must be the same bytes everywhere.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // low..high, both included.
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool Percent(int chance) { return Between(0, 99) < chance; }
    std::uint8_t NonZeroByte() { return static_cast<std::uint8_t>(Between(1, 255)); }
    std::string_view Pick(std::span<const std::string_view> words) {
        return words[Next() % words.size()];
    }
    template <typename T> void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[Next() % i]);
    }

private:
    std::uint64_t state_;
};

enum Position { QB, HB, FB, C, G, T, WR, TE, K, DE, DT, LB, CB, S, P };

// The order in which a team fills its roster: starters, then backups, then a third string, so a
// short roster still has a quarterback, a kicker and a punter.
constexpr auto kDepthChart = std::to_array<Position>({
    QB, HB, FB, C,  G,  G,  T,  T,  WR, WR, WR, TE, K,  DE, DE, DT, DT, LB,
    LB, LB, CB, CB, S,  S,  P,  QB, HB, HB, C,  G,  G,  T,  T,  WR, WR, TE,
    DE, DE, DT, LB, LB, CB, CB, S,  S,  QB, HB, FB, WR, WR, TE, LB, DE,
});

// What a player of a position is good at and how he is built (inches, pounds).
struct PositionProfile {
    std::string_view keyRatings; // rating codes, separated by spaces
    int heightLow, heightHigh;
    int weightLow, weightHigh;
};

constexpr std::array<PositionProfile, kPositionCount> kProfiles = {{
    {"AS TA SC VI AW RE PM", 73, 78, 200, 240}, // QB
    {"SP AG BT BC VI CA", 68, 73, 190, 230},    // HB
    {"RB PB BT BC TK", 71, 75, 230, 255},       // FB
    {"PB RB DU AW", 74, 78, 285, 320},          // C
    {"PB RB DU AW", 74, 79, 295, 335},          // G
    {"PB RB DU AW AG", 76, 80, 300, 345},       // T
    {"SP AG VT CA PM", 69, 76, 170, 215},       // WR
    {"CA RB PB BT", 75, 79, 240, 265},          // TE
    {"KD KA", 69, 75, 170, 215},                // K
    {"PR RD TK AG", 74, 79, 255, 290},          // DE
    {"RD PR TK DU", 73, 78, 290, 330},          // DT
    {"TK RD PD RE AW", 72, 77, 225, 255},       // LB
    {"SP AG PD VT RE", 68, 74, 175, 200},       // CB
    {"SP PD TK RE", 70, 75, 190, 215},          // S
    {"KD KA", 70, 76, 180, 225},                // P
}};

int Column(std::string_view name) {
    const auto index = PlayersColumnIndex(name);
    if (!index)
        throw std::logic_error("no Players column " + std::string(name));
    return *index;
}

bool IsKeyRating(const PositionProfile& profile, std::string_view code) {
    for (std::size_t at = 0; at + 2 <= profile.keyRatings.size(); at += 3)
        if (profile.keyRatings.substr(at, 2) == code)
            return true;
    return false;
}

// Text for a field of `width` characters: as it is (the record codec pads with spaces), or
// padded with NULs as the host game sometimes leaves it.
std::string Padded(std::string_view utf8, std::size_t width, bool withNuls) {
    std::string text(utf8);
    if (withNuls)
        text.append(width - std::min(width, CharacterCount(utf8)), '\0');
    return text;
}

// Field bytes of a league file written directly: Windows-1252, padded to `width`.
std::string FieldBytes(std::string_view utf8, std::size_t width, bool withNuls) {
    std::string bytes = EncodeWindows1252(utf8).substr(0, width);
    bytes.append(width - bytes.size(), withNuls ? '\0' : ' ');
    return bytes;
}

// Text no column interprets: any bytes but NUL, so a lost or shifted byte shows.
std::string NoiseText(DemoRandom& rng, std::size_t width) {
    std::string bytes;
    for (std::size_t i = 0; i < width; ++i)
        bytes += static_cast<char>(rng.NonZeroByte());
    return DecodeWindows1252(bytes);
}

std::string Digits(DemoRandom& rng, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < width; ++i)
        text += static_cast<char>('0' + rng.Between(0, 9));
    return text;
}

struct DemoTeam {
    int id;
    std::string name;
    std::string coach;
};

std::string CoachName(DemoRandom& rng) {
    for (;;) {
        std::string name(rng.Pick(DemoFirstNames()));
        name += " ";
        name += rng.Pick(DemoLastNames());
        if (CharacterCount(name) <= kCoachWidth)
            return name;
    }
}

// City and nickname pairs that fit the name field, every team its own name and, while the list
// lasts, its own city.
std::vector<DemoTeam> MakeTeams(DemoRandom& rng, int count) {
    std::vector<DemoTeam> teams;
    std::set<std::string_view> cities;
    std::set<std::string> names;
    while (static_cast<int>(teams.size()) < count) {
        const std::string_view city = rng.Pick(DemoCities());
        const std::string name = std::string(city) + " " + std::string(rng.Pick(DemoNicknames()));
        if (CharacterCount(name) > kTeamNameWidth || names.count(name) != 0)
            continue;
        if (cities.count(city) != 0 && cities.size() < DemoCities().size())
            continue;
        cities.insert(city);
        names.insert(name);
        teams.push_back({static_cast<int>(teams.size()) + 1, name, CoachName(rng)});
    }
    return teams;
}

// Bytes between the team blocks. They never hold a "T", so no marker appears by accident and no
// "T" stands right before a real marker (which would hide it from the scan).
std::string Filler(DemoRandom& rng, int length) {
    std::string bytes;
    while (static_cast<int>(bytes.size()) < length) {
        const char c = static_cast<char>(rng.Between(0, 255));
        if (c != 'T')
            bytes += c;
    }
    return bytes;
}

std::string LeagueFileBytes(DemoRandom& rng, const std::vector<DemoTeam>& teams) {
    // A signature, then near misses a careless scan would take for markers.
    std::string bytes = "LGE\x1A";
    bytes += Filler(rng, 60);
    bytes += "tms:";
    bytes += Filler(rng, 20);
    bytes += "TMS-";
    bytes += Filler(rng, 100);
    for (const DemoTeam& team : teams) {
        bytes += "TMS:";
        bytes += static_cast<char>(rng.NonZeroByte()); // the byte the scan skips
        for (std::size_t i = 0; i < kTeamUnusedBytes; ++i)
            bytes += static_cast<char>(rng.NonZeroByte());
        bytes += FieldBytes(team.name, kTeamNameWidth, rng.Percent(40));
        bytes += FieldBytes(team.coach, kCoachWidth, rng.Percent(40));
        bytes += static_cast<char>(team.id);
        bytes += Filler(rng, rng.Between(16, 240));
    }
    return bytes + Filler(rng, 300);
}

// One player record: the columns through the record codec, then the bytes no column carries.
std::array<std::uint8_t, kPlayerRecordSize> PlayerRecord(DemoRandom& rng, int pid, int team,
                                                         Position position) {
    const PositionProfile& profile = kProfiles[position];
    PlayerRow row;
    const auto set = [&row](std::string_view column, Value value) {
        row[Column(column)] = std::move(value);
    };
    const auto number = [&set](std::string_view column, int value) {
        set(column, static_cast<std::int64_t>(value));
    };

    number("rPID_0", pid & 0xFF);
    number("rPID_1", pid >> 8);
    const int unknown0 = rng.Between(-32768, 32767);
    number("Unknown0", unknown0 == 0 ? 1 : unknown0);
    number("Team", team);
    // Draws happen in a fixed order: never two in the arguments of one call, whose order of
    // evaluation the language leaves open.
    const auto text = [&rng, &set](std::string_view column, std::string_view value,
                                   int nulPercent) {
        set(column, Padded(value, kRecordFields[Column(column)].bytes, rng.Percent(nulPercent)));
    };
    text("FirstName", rng.Pick(DemoFirstNames()), 30);
    text("LastName", rng.Pick(DemoLastNames()), 30);
    text("College", rng.Pick(DemoColleges()), 20);
    number("Height", rng.Between(profile.heightLow, profile.heightHigh));
    const int weight = rng.Between(profile.weightLow, profile.weightHigh);
    number("rWeight_0", weight & 0xFF);
    number("rWeight_1", weight >> 8);
    number("Position", position);
    number("PosNatural", rng.Percent(90) ? int(position) : rng.Between(0, kPositionCount - 1));
    set("Head", Digits(rng, 5));
    set("Mug", Digits(rng, 7));

    const int age = rng.Percent(60)   ? rng.Between(21, 26)
                    : rng.Percent(75) ? rng.Between(27, 31)
                                      : rng.Between(32, 37);
    number("AGE", age);
    number("Years", std::clamp(age - 22 + rng.Between(-1, 1), 0, 15));
    const int quality = rng.Between(30, 88);
    for (int k = 0; k < kRatingCount; ++k) {
        const std::string_view code = kRatings[k].code;
        const int actual = IsKeyRating(profile, code) ? quality + rng.Between(-10, 12)
                           : code == "DU" || code == "FA" || code == "DI" ? rng.Between(40, 90)
                                                                          : rng.Between(20, 50);
        const int act = std::clamp(actual, 20, 99);
        // Young players still grow; older ones have little left. Never below the actual rating,
        // which League Check would report.
        const int pot = act + (age <= 25 ? rng.Between(0, 20) : rng.Between(0, 6));
        number(ActualColumn(k), act);
        number(PotentialColumn(k), std::clamp(pot, 20, 99));
    }
    for (const char* column :
         {"Act_52", "Act_54", "Act_56", "Act_58", "Pot_52", "Pot_54", "Pot_56", "Pot_58"})
        number(column, rng.NonZeroByte());
    for (const char* column : {"Unknown1", "Unknown2", "Unknown3", "Unknown4", "Unknown5",
                               "Unknown6", "Unknown6a", "Unknown7", "Unknown8", "Unknown9"})
        set(column, NoiseText(rng, kRecordFields[Column(column)].bytes));

    if (const auto problem = CheckPlayerRow(row))
        throw std::logic_error("demo player column " +
                               std::string(kPlayersColumns[problem->column].name) + " " +
                               problem->reason);
    std::array<std::uint8_t, kPlayerRecordSize> record{};
    EncodePlayerRecord(row, record);
    for (std::size_t i = 0; i < record.size(); ++i)
        if (UnmodelledBytes()[i])
            record[i] = rng.NonZeroByte();
    return record;
}

// Unique, non-zero identifiers, many above 255 so both bytes count, in no particular order.
std::vector<int> PlayerIds(DemoRandom& rng, int count) {
    const int largestGap = std::clamp(30000 / std::max(count, 1), 1, 4);
    std::vector<int> ids;
    int id = rng.Between(1, 50);
    for (int i = 0; i < count; ++i) {
        ids.push_back(id);
        id += rng.Between(1, largestGap);
    }
    rng.Shuffle(ids);
    return ids;
}

std::string PlayerFileBytes(DemoRandom& rng, int teamCount, int playerCount) {
    static constexpr std::array<std::uint8_t, kPlayerFileHeaderSize> kHeader = {
        'P', 'L', 'Y', 0x1A, 0x02, 0x00, 0x0C, 0x00, 0x6E, 0x01, 0xA5, 0x5A};
    std::string bytes(kHeader.begin(), kHeader.end());
    const auto append = [&bytes](const std::array<std::uint8_t, kPlayerRecordSize>& record) {
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    };

    const std::vector<int> ids = PlayerIds(rng, playerCount);
    std::size_t next = 0;
    const int freeAgents = teamCount > 0 ? playerCount / 16 : playerCount;
    const int rostered = playerCount - freeAgents;
    for (int team = 1; team <= teamCount; ++team) {
        const int size = rostered / teamCount + (team - 1 < rostered % teamCount ? 1 : 0);
        std::vector<Position> roster;
        for (int slot = 0; slot < size; ++slot)
            roster.push_back(kDepthChart[slot % kDepthChart.size()]);
        rng.Shuffle(roster);
        for (const Position position : roster)
            append(PlayerRecord(rng, ids[next++], team, position));
    }
    for (int i = 0; i < freeAgents; ++i) {
        const Position position = kDepthChart[rng.Between(0, int(kDepthChart.size()) - 1)];
        append(PlayerRecord(rng, ids[next++], 0, position));
    }
    return bytes;
}

} // namespace

DemoLeagueFiles WriteDemoLeague(const std::filesystem::path& dir,
                                const DemoLeagueOptions& options) {
    // Team numbers are single bytes and 0 means no team; identifiers are signed 16-bit.
    if (options.teams < 0 || options.teams > 255)
        throw LeagueError(kOperation, dir, "a demo league has 0 to 255 teams");
    if (options.players < 0 || options.players > 32000)
        throw LeagueError(kOperation, dir, "a demo league has 0 to 32000 players");

    DemoRandom rng(0x7461767265ull ^ (std::uint64_t(options.seed) * 0x9E3779B97F4A7C15ull));
    const std::string league = LeagueFileBytes(rng, MakeTeams(rng, options.teams));
    const std::string players = PlayerFileBytes(rng, options.teams, options.players);

    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        throw LeagueError(kOperation, dir, error.message());
    const DemoLeagueFiles files{dir / "Demo.lge", dir / "Demo.ply"};
    SaveFileAtomically(files.leagueFile, league, kOperation);
    SaveFileAtomically(files.playerFile, players, kOperation);
    return files;
}

} // namespace tavrel
