#include "reports/Rosters.h"

#include "base/LeagueError.h"
#include "base/ProgramInfo.h"
#include "fileformat/Windows1252.h"
#include "safety/SafeSave.h"
#include "store/PlayerRows.h"
#include "store/Text.h"
#include "store/Vocabulary.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>
#include <span>
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

// Result columns of the player query: the personal data, the actual and the potential ratings in
// roster order (the bands of kRatingBands), then the team.
enum PlayerColumn { Pos, Last, First, Years, Age, Height, Weight, College, FirstActual };
constexpr int kFirstPotential = FirstActual + kRatingCount;
constexpr int kTeamColumn = kFirstPotential + kRatingCount;

// The players of one team, or with `teamNumber` left out those of every team in one ordered pass:
// by team, then as each roster lists them. A Team that is not a whole number matches no team.
std::string PlayerQuery(std::optional<std::int64_t> teamNumber) {
    std::string actual, potential;
    for (const RatingBand& band : kRatingBands)
        for (const std::string_view code : band) {
            actual += ", Act_" + std::string(code);
            potential += ", Pot_" + std::string(code);
        }
    return "SELECT PositionTXT, LastName, FirstName, Years, AGE, Height, Weight, College" + actual +
           potential + ", Team FROM Players" +
           (teamNumber
                ? " WHERE Team = " + std::to_string(*teamNumber) + " ORDER BY Position, rowid"
                : std::string(" ORDER BY Team, Position, rowid"));
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

// A column's text in the file's code page, without the NULs that pad its end; a null adds
// nothing. At most `width` bytes are kept before the NULs go.
void AppendText(std::string& out, const PlayerRowCursor& row, int column,
                std::size_t width = std::string::npos) {
    if (row.IsNull(column))
        return;
    const std::string_view utf8 = row.Text(column);
    const std::size_t start = out.size();
    out.resize(start + utf8.size()); // never more bytes than the UTF-8 text has
    std::size_t length = std::min(EncodeWindows1252(utf8, std::span(out).subspan(start)), width);
    while (length > 0 && out[start + length - 1] == '\0')
        --length;
    out.resize(start + length);
}

// A number as plain decimal text; a null contributes nothing.
void AppendNumber(std::string& out, const PlayerRowCursor& row, int column) {
    if (row.IsInteger(column)) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, row.Integer(column));
        out.append(buffer, result.ptr);
    } else {
        AppendText(out, row, column);
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
void AppendPlayerLine(std::string& out, const PlayerRowCursor& row) {
    const std::size_t start = out.size();
    AppendText(out, row, Pos);
    out += ' ';
    AppendText(out, row, Last);
    out += ", ";
    AppendText(out, row, First);
    const std::size_t width = out.size() - start;
    out.append((width / kPrintZone + 1) * kPrintZone - width, ' ');

    AppendNumber(out, row, Years);
    out += "  ";
    AppendNumber(out, row, Age);
    out += "  ";
    AppendNumber(out, row, Height);
    out += "  ";
    AppendNumber(out, row, Weight);
    out += "  ";
    AppendText(out, row, College, kCollegeWidth);
    EndLine(out);
}

void AppendPlayer(std::string& out, const PlayerRowCursor& row) {
    AppendPlayerLine(out, row);
    for (const int firstColumn : {int(FirstActual), kFirstPotential}) {
        AppendBands(out, [&](std::string& line, std::string_view, int index) {
            AppendNumber(line, row, firstColumn + index);
        });
        EndLine(out);
    }
    out += ' ';
    EndLine(out);
}

// The whole roster file around the players' lines.
std::string RosterText(const std::string& teamName, std::string_view playerLines) {
    std::string out;
    AppendHead(out, teamName);
    out += playerLines;
    out += kProgramName;
    EndLine(out);
    out += kHomePageAddress;
    EndLine(out);
    return out;
}

bool IsForbiddenInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos;
}

struct RosterFile {
    std::string name;
    std::string bytes;
};

// The players' lines of every roster, by team number, from one pass over the table.
std::map<std::int64_t, std::string> PlayerLinesByTeam(SQLite::Database& db) {
    std::map<std::int64_t, std::string> lines;
    PlayerRowCursor players(db, PlayerQuery(std::nullopt));
    std::string* team = nullptr;
    std::optional<std::int64_t> current;
    while (players.Next()) {
        if (!players.IsInteger(kTeamColumn))
            continue;
        const std::int64_t number = players.Integer(kTeamColumn);
        if (number != current) {
            current = number;
            team = &lines[number];
        }
        AppendPlayer(*team, players);
    }
    return lines;
}

RosterFile MakeRosterFile(std::string teamName, std::optional<std::int64_t> teamNumber,
                          const std::map<std::int64_t, std::string>& lines) {
    StripTrailingNulls(teamName);
    const auto players = teamNumber ? lines.find(*teamNumber) : lines.end();
    return {RosterFileName(teamName, teamNumber),
            RosterText(teamName, players == lines.end() ? std::string_view() : players->second)};
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
    std::string lines;
    if (teamNumber) {
        PlayerRowCursor players(db, PlayerQuery(teamNumber));
        while (players.Next())
            AppendPlayer(lines, players);
    }
    return RosterText(StripTrailingNulls(teamName), lines);
}

std::filesystem::path PrintTeamRoster(const std::filesystem::path& workingDb,
                                      const std::filesystem::path& folder, std::string& teamName,
                                      int teamNumber) {
    StripTrailingNulls(teamName);
    RosterFile file;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        file = {RosterFileName(teamName, teamNumber), TeamRosterText(db, teamName, teamNumber)};
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
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        SQLite::Transaction reading(db); // one snapshot for the teams and their players
        const std::map<std::int64_t, std::string> lines = PlayerLinesByTeam(db);
        files.push_back(MakeRosterFile(kFreeAgentsName, 0, lines));
        SQLite::Statement teams(db, "SELECT TeamID, TeamName FROM Team ORDER BY rowid");
        while (teams.executeStep()) {
            const Value id = ReadValue(teams, 0);
            const auto* number = std::get_if<std::int64_t>(&id);
            const SQLite::Column name = teams.getColumn(1);
            files.push_back(MakeRosterFile(name.isNull() ? std::string() : name.getString(),
                                           number ? std::optional(*number) : std::nullopt, lines));
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the rosters from", workingDb, e);
    }
    std::vector<std::filesystem::path> written;
    std::vector<FileToSave> contents;
    std::set<std::string> taken;
    for (const RosterFile& file : files) {
        written.push_back(folder / UnusedFileName(file.name, taken));
        contents.push_back({written.back(), file.bytes});
    }
    SaveFilesAtomically(contents, kWriteOperation);
    return written;
}

} // namespace tavrel
