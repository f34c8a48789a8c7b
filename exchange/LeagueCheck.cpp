#include "exchange/LeagueCheck.h"

#include "exchange/PlayerList.h"
#include "fileformat/FileBytes.h"
#include "fileformat/Windows1252.h"
#include "store/Vocabulary.h"

#include <map>
#include <set>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr int kActualBlock = 175;
constexpr int kPotentialBlock = 243;
constexpr int kHighestRating = 99;

const RecordField& kFirstName = kRecordFields[*PlayersColumnIndex("FirstName")];
const RecordField& kLastName = kRecordFields[*PlayersColumnIndex("LastName")];
const int kPositionByte = kRecordFields[*PlayersColumnIndex("Position")].offset;
const int kActualColumns = *PlayersColumnIndex(ActualColumn(0));
const int kPotentialColumns = *PlayersColumnIndex(PotentialColumn(0));

// Whether a name field, without its trailing padding, holds a control character or a byte
// Windows-1252 leaves undefined.
bool HasBadCharacters(std::span<const std::uint8_t> field) {
    std::size_t end = field.size();
    while (end > 0 && (field[end - 1] == 0 || field[end - 1] == ' '))
        --end;
    for (std::size_t i = 0; i < end; ++i) {
        const std::uint8_t c = field[i];
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            return true;
    }
    return false;
}

std::span<const std::uint8_t> Field(RecordBytes record, const RecordField& column) {
    return record.subspan(std::size_t(column.offset), std::size_t(column.bytes));
}

class Checker {
public:
    Checker(const PlayerFileImage& image, CheckWording wording)
        : image_(image), captions_(wording == CheckWording::Captions) {}

    void Player(std::size_t n) {
        const RecordBytes r = image_.Record(n);
        const int pid = std::int16_t(std::uint16_t(r[0] | (r[1] << 8)));
        const auto add = [&](const char* kind, const std::string& what) {
            problems.push_back({kind, Name(n) + " " + what, n + 1, pid, r[4]});
        };
        if (r[0] == 0 && r[1] == 0)
            add("empty-id", "has identifier bytes 0,0: the next save drops this record");
        std::string above, tooHigh;
        for (int k = 0; k < kRatingCount; ++k) {
            const int actual = r[kActualBlock + 2 * k], potential = r[kPotentialBlock + 2 * k];
            const std::string code(captions_ ? kRatings[k].longName : kRatings[k].code);
            if (actual > potential)
                above += (above.empty() ? "" : ", ") + code + " " + std::to_string(actual) + " > " +
                         std::to_string(potential);
            if (actual > kHighestRating)
                tooHigh += (tooHigh.empty() ? "" : ", ") + Column(kActualColumns + k) + " " +
                           std::to_string(actual);
            if (potential > kHighestRating)
                tooHigh += (tooHigh.empty() ? "" : ", ") + Column(kPotentialColumns + k) + " " +
                           std::to_string(potential);
        }
        if (!above.empty())
            add("actual-above-potential", "has actual ratings above potential: " + above);
        if (!tooHigh.empty())
            add("rating-above-99", "has ratings above 99: " + tooHigh);
        if (r[kPositionByte] >= kPositionCount)
            add("unknown-position", "has position code " + std::to_string(r[kPositionByte]) +
                                        ", which no position has");
        if (teams_ && r[4] != 0 && !teams_->contains(r[4]))
            add("unknown-team",
                "is on team " + std::to_string(r[4]) + ", which the league file does not list");
        for (const RecordField* name : {&kFirstName, &kLastName})
            if (HasBadCharacters(Field(r, *name)))
                add("name-characters", "has control characters or undefined bytes in " +
                                           Column(*PlayersColumnIndex(name->column)));
        holders_[pid].push_back(n);
    }

    void DuplicatePids() {
        for (const auto& [pid, records] : holders_) {
            if (records.size() < 2)
                continue;
            std::string list;
            for (const std::size_t n : records)
                list += (list.empty() ? "" : "; ") + Name(n);
            problems.push_back({"duplicate-pid",
                                "PID " + std::to_string(pid) + " is held by " +
                                    std::to_string(records.size()) + " records: " + list,
                                records.front() + 1, pid, std::nullopt});
        }
    }

    void Teams(const std::vector<TeamRecord>& teams) {
        teams_.emplace();
        for (const TeamRecord& t : teams)
            teams_->insert(t.teamId);
    }

    void TeamNames(const std::vector<TeamRecord>& teams) {
        std::map<int, std::string> named;
        for (const TeamRecord& t : teams) {
            if (const auto [first, added] = named.emplace(t.teamId, CellText(t.teamName)); !added)
                problems.push_back({"duplicate-team",
                                    "team number " + std::to_string(t.teamId) +
                                        " is given to both " + first->second + " and " +
                                        CellText(t.teamName) + "; their players show under both",
                                    std::nullopt, std::nullopt, t.teamId});
            for (const auto& [field, text] :
                 {std::pair{"name", &t.teamName}, {"coach", &t.coach}}) {
                const std::string bytes = EncodeWindows1252(*text);
                if (HasBadCharacters(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size())))
                    problems.push_back({"name-characters",
                                        "team " + std::to_string(t.teamId) + " (" +
                                            CellText(t.teamName) +
                                            ") has control characters or "
                                            "undefined bytes in its " +
                                            field,
                                        std::nullopt, std::nullopt, t.teamId});
            }
        }
    }

    std::vector<LeagueProblem> problems;

private:
    // Decodes only what names the player: most players of a league with problems have one.
    std::string Name(std::size_t n) {
        const RecordBytes r = image_.Record(n);
        const auto text = [&r](const RecordField& column) {
            const std::span<const std::uint8_t> f = Field(r, column);
            return DecodeWindows1252(
                std::string_view(reinterpret_cast<const char*>(f.data()), f.size()));
        };
        return DescribePlayer(n + 1,
                              std::to_string(std::int16_t(std::uint16_t(r[0] | (r[1] << 8)))),
                              text(kFirstName), text(kLastName));
    }

    std::string Column(int playersColumn) const {
        return captions_ ? ColumnCaption(playersColumn)
                         : std::string(kPlayersColumns[playersColumn].name);
    }

    const PlayerFileImage& image_;
    bool captions_;
    std::optional<std::set<int>> teams_;
    std::map<int, std::vector<std::size_t>> holders_;
};

} // namespace

std::vector<LeagueProblem> CheckLeague(const PlayerFileImage& players,
                                       const std::optional<std::vector<TeamRecord>>& teams,
                                       CheckWording wording) {
    Checker checker(players, wording);
    const std::span<const std::uint8_t> header = players.Header();
    if (header.size() == kPlayerFileHeaderSize) {
        const int size = header[8] | (header[9] << 8);
        if (size != int(kPlayerRecordSize))
            checker.problems.push_back({"record-size",
                                        "the player file header gives a record size of " +
                                            std::to_string(size) + " bytes, not " +
                                            std::to_string(kPlayerRecordSize),
                                        std::nullopt, std::nullopt, std::nullopt});
    }
    if (teams)
        checker.Teams(*teams);
    for (std::size_t n = 0; n < players.RecordCount(); ++n)
        checker.Player(n);
    checker.DuplicatePids();
    if (const std::size_t trailing = players.TrailingBytes().size(); trailing > 0)
        checker.problems.push_back(
            {"trailing-bytes",
             "the player file has " + std::to_string(trailing) +
                 " bytes after its last whole record; they are kept at save, but they are no "
                 "whole record",
             std::nullopt, std::nullopt, std::nullopt});
    if (teams)
        checker.TeamNames(*teams);
    return std::move(checker.problems);
}

std::string WarningCount(std::size_t problems) {
    return std::to_string(problems) + (problems == 1 ? " warning" : " warnings");
}

std::vector<LeagueProblem> CheckLeagueFiles(const fs::path& leagueOrPlayerFile) {
    const fs::path playerFile = PlayerFileOf(leagueOrPlayerFile);
    std::optional<std::vector<TeamRecord>> teams;
    if (playerFile != leagueOrPlayerFile)
        teams = ScanTeamRecords(ReadFileBytes(leagueOrPlayerFile, "Reading the league file"));
    return CheckLeague(ReadPlayerFile(playerFile), teams);
}

} // namespace tavrel
