#include "reports/Rosters.h"

#include "base/LeagueError.h"
#include "league/ProgramInfo.h"
#include "league/SafeSave.h"
#include "league/Windows1252.h"
#include "store/PlayerRows.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPrintZone = 14;
constexpr std::size_t kCollegeWidth = 30;
constexpr const char* kFreeAgentsName = "Free Agents";
constexpr const char* kWriteOperation = "Writing the roster";

// Result columns of the player query: the personal data, then the actual and the potential
// ratings in roster order (the bands of kRatingBands).
enum PlayerColumn { Pos, Last, First, Years, Age, Height, Weight, College, FirstActual };
constexpr int kFirstPotential = FirstActual + kRatingCount;

const std::string& PlayerQuery() {
    static const std::string sql = [] {
        std::string actual, potential;
        for (const RatingBand& band : kRatingBands)
            for (const std::string_view code : band) {
                actual += ", Act_" + std::string(code);
                potential += ", Pot_" + std::string(code);
            }
        return "SELECT PositionTXT, LastName, FirstName, Years, AGE, Height, Weight, College" +
               actual + potential + " FROM Players WHERE Team = ? ORDER BY Position, rowid";
    }();
    return sql;
}

// "  SP AG VT FA DU DI RE PM  AS TA ...": each band after two spaces, its codes one space apart.
// The rating lines follow the same pattern with numbers.
template <typename Item> void AppendBands(std::string& out, Item&& item) {
    int index = 0;
    for (const RatingBand& band : kRatingBands) {
        out += "  ";
        for (std::size_t i = 0; i < band.size(); ++i, ++index) {
            if (i > 0)
                out += ' ';
            item(out, band[i], index);
        }
    }
}

void EndLine(std::string& out) {
    out += kLineEnd;
}

// Text of a column in the file's code page; a null gives empty text.
std::string TextOf(const SQLite::Column& c) {
    return c.isNull() ? std::string() : EncodeWindows1252(c.getString());
}

// A number as plain decimal text; a null contributes nothing.
void AppendNumber(std::string& out, const SQLite::Column& c) {
    if (c.isNull())
        return;
    if (c.isInteger()) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, c.getInt64());
        out.append(buffer, result.ptr);
    } else {
        out += TextOf(c);
    }
}

void AppendHead(std::string& out, const std::string& teamName) {
    out += EncodeWindows1252(teamName);
    EndLine(out);
    out += ' ';
    EndLine(out);
    out += "Pos Name      Yr Age HT  WT   College";
    EndLine(out);
    AppendBands(out, [](std::string& line, std::string_view code, int) { line += code; });
    EndLine(out);
    out += ' ';
    EndLine(out);
}

// Position and name, then the personal data from the next print zone on, so that at least one
// space parts the first name from the years.
void AppendPlayerLine(std::string& out, const SQLite::Statement& row) {
    std::string last = TextOf(row.getColumn(Last));
    std::string first = TextOf(row.getColumn(First));
    const std::size_t start = out.size();
    out += TextOf(row.getColumn(Pos));
    out += ' ';
    out += StripTrailingNulls(last);
    out += ", ";
    out += StripTrailingNulls(first);
    const std::size_t width = out.size() - start;
    out.append((width / kPrintZone + 1) * kPrintZone - width, ' ');

    AppendNumber(out, row.getColumn(Years));
    out += "  ";
    AppendNumber(out, row.getColumn(Age));
    out += "  ";
    AppendNumber(out, row.getColumn(Height));
    out += "  ";
    AppendNumber(out, row.getColumn(Weight));
    out += "  ";
    std::string college = TextOf(row.getColumn(College));
    if (college.size() > kCollegeWidth)
        college.resize(kCollegeWidth);
    out += StripTrailingNulls(college);
    EndLine(out);
}

void AppendPlayer(std::string& out, const SQLite::Statement& row) {
    AppendPlayerLine(out, row);
    for (const int firstColumn : {int(FirstActual), kFirstPotential}) {
        AppendBands(out, [&](std::string& line, std::string_view, int index) {
            AppendNumber(line, row.getColumn(firstColumn + index));
        });
        EndLine(out);
    }
    out += ' ';
    EndLine(out);
}

bool IsForbiddenInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos;
}

struct RosterFile {
    std::string name;
    std::string bytes;
};

RosterFile MakeRosterFile(SQLite::Database& db, std::string teamName,
                          std::optional<std::int64_t> teamNumber) {
    StripTrailingNulls(teamName);
    return {RosterFileName(teamName, teamNumber), TeamRosterText(db, teamName, teamNumber)};
}

// `name` ("Team.txt"), or when a roster of this run already has it, "Team (2).txt", "Team (3).txt"
// and so on. Names differing only in case count as taken too: on some file systems they are
// one file.
std::string UnusedFileName(const std::string& name, std::set<std::string>& taken) {
    const auto key = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return text;
    };
    const std::size_t dot = name.rfind(".txt");
    std::string candidate = name;
    for (int n = 2; !taken.insert(key(candidate)).second; ++n)
        candidate = name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
    return candidate;
}

} // namespace

std::string RosterFileName(const std::string& teamName, std::optional<std::int64_t> teamNumber) {
    std::string name;
    for (std::size_t i = 0; i < teamName.size(); ++i) {
        const auto c = static_cast<unsigned char>(teamName[i]);
        // U+0080..U+009F, the control characters of the upper half, are C2 80..C2 9F in UTF-8.
        const bool upperControl = c == 0xC2 && i + 1 < teamName.size() &&
                                  static_cast<unsigned char>(teamName[i + 1]) >= 0x80 &&
                                  static_cast<unsigned char>(teamName[i + 1]) <= 0x9F;
        if (upperControl)
            ++i;
        name += upperControl || IsForbiddenInFileName(c) ? '_' : char(c);
    }
    if (name.empty() || name == "." || name == "..")
        name = "Team" + (teamNumber ? std::to_string(*teamNumber) : std::string());
    return name + ".txt";
}

std::string TeamRosterText(SQLite::Database& db, std::string teamName,
                           std::optional<std::int64_t> teamNumber) {
    std::string out;
    AppendHead(out, StripTrailingNulls(teamName));
    if (teamNumber) {
        SQLite::Statement players(db, PlayerQuery());
        players.bind(1, *teamNumber);
        while (players.executeStep())
            AppendPlayer(out, players);
    }
    out += kProgramName;
    EndLine(out);
    out += kHomePageAddress;
    EndLine(out);
    return out;
}

std::filesystem::path PrintTeamRoster(const std::filesystem::path& workingDb,
                                      const std::filesystem::path& folder, std::string& teamName,
                                      int teamNumber) {
    StripTrailingNulls(teamName);
    RosterFile file;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        file = MakeRosterFile(db, teamName, teamNumber);
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the roster from", workingDb, e);
    }
    const std::filesystem::path path = folder / file.name;
    SaveFileAtomically(path, file.bytes, kWriteOperation);
    return path;
}

std::vector<std::filesystem::path> PrintRosters(const std::filesystem::path& workingDb,
                                                const std::filesystem::path& folder) {
    std::vector<RosterFile> files;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        files.push_back(MakeRosterFile(db, kFreeAgentsName, 0));
        SQLite::Statement teams(db, "SELECT TeamID, TeamName FROM Team ORDER BY rowid");
        while (teams.executeStep()) {
            const Value id = ReadValue(teams, 0);
            const auto* number = std::get_if<std::int64_t>(&id);
            const SQLite::Column name = teams.getColumn(1);
            files.push_back(MakeRosterFile(db, name.isNull() ? std::string() : name.getString(),
                                           number ? std::optional(*number) : std::nullopt));
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the rosters from", workingDb, e);
    }
    std::vector<std::filesystem::path> written;
    std::set<std::string> taken;
    for (const RosterFile& file : files) {
        const std::filesystem::path path = folder / UnusedFileName(file.name, taken);
        SaveFileAtomically(path, file.bytes, kWriteOperation);
        written.push_back(path);
    }
    return written;
}

} // namespace tavrel
