#include "exchange/PlayerExport.h"

#include "base/LeagueError.h"
#include "exchange/Csv.h"
#include "exchange/Xlsx.h"
#include "safety/SafeSave.h"

#include <QTemporaryDir>
#include <fstream>
#include <xlsxwriter.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExporting = "Exporting the players to";
const int kTeamColumn = *PlayersColumnIndex("Team");

constexpr std::size_t kChunk = 1 << 20; // what is written to the file at a time

// Writes the sheet with libxlsxwriter into a file of a private temporary folder, then copies it
// into `out` a chunk at a time; the library writes only to a named file.
void WriteXlsx(const PlayerList& players, std::optional<int> team, const fs::path& target,
               SafeSaveFile& out) {
    QTemporaryDir folder;
    if (!folder.isValid())
        throw LeagueError(kExporting, target,
                          "no temporary folder: " + folder.errorString().toStdString());
    const fs::path file = fs::path(folder.path().toStdString()) / "players.xlsx";
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    std::string tmp = folder.path().toStdString();
    options.tmpdir = tmp.data();
    lxw_workbook* book = workbook_new_opt(file.string().c_str(), &options);
    if (!book)
        throw LeagueError(kExporting, target, "the spreadsheet could not be started");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Players");
    lxw_error error = LXW_NO_ERROR;
    const auto check = [&error](lxw_error e) {
        if (error == LXW_NO_ERROR)
            error = e;
    };
    const std::vector<std::string_view>& columns = ExportColumns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), std::string(columns[c]).c_str(),
                                     nullptr));
    worksheet_freeze_panes(sheet, 1, 0);
    PlayerRow row;
    lxw_row_t sheetRow = 0;
    for (std::size_t n = 0; n < players.Count() && error == LXW_NO_ERROR; ++n) {
        if (!IsOnTeam(players, n, team, row))
            continue;
        players.Read(n, row);
        ++sheetRow;
        check(worksheet_write_number(sheet, sheetRow, 0, double(n + 1), nullptr));
        for (int c = 0; c < kPlayersColumnCount; ++c) {
            const lxw_col_t at = lxw_col_t(c + 1);
            if (const auto* number = std::get_if<std::int64_t>(&row[c]))
                check(worksheet_write_number(sheet, sheetRow, at, double(*number), nullptr));
            else if (std::holds_alternative<std::string>(row[c]))
                if (const std::string text = CellText(row[c]); !text.empty())
                    check(worksheet_write_string(
                        sheet, sheetRow, at, EscapedXlsxText(GuardedText(text)).c_str(), nullptr));
        }
    }
    const lxw_error closed = workbook_close(book); // frees the book whatever happened
    check(closed);
    if (error != LXW_NO_ERROR)
        throw LeagueError(kExporting, target, lxw_strerror(error));
    std::ifstream in(file, std::ios::binary);
    std::string chunk(kChunk, '\0');
    while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0)
        out.Write(std::string_view(chunk.data(), std::size_t(in.gcount())));
    if (in.bad())
        throw LeagueError(kExporting, target, "the finished workbook cannot be read back");
}

} // namespace

const std::vector<std::string_view>& ExportColumns() {
    static const std::vector<std::string_view> columns = [] {
        std::vector<std::string_view> names{kRecordColumn};
        for (const PlayersColumn& c : kPlayersColumns)
            names.push_back(c.name);
        return names;
    }();
    return columns;
}

bool IsOnTeam(const PlayerList& players, std::size_t index, std::optional<int> team,
              PlayerRow& scratch) {
    if (!team)
        return true;
    if (const auto raw = players.Raw(index))
        return (*raw)[kRecordFields[kTeamColumn].offset] == *team;
    players.Read(index, scratch);
    const auto* value = std::get_if<std::int64_t>(&scratch[kTeamColumn]);
    return value && *value == *team;
}

void WriteCsv(const PlayerList& players, std::optional<int> team,
              const std::function<void(std::string_view)>& write) {
    std::string out = "\xEF\xBB\xBF";
    out.reserve(kChunk + 4096);
    const std::vector<std::string_view>& columns = ExportColumns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c > 0)
            out += ',';
        AppendCsvField(out, columns[c]);
    }
    out += "\r\n";
    PlayerRow row;
    for (std::size_t n = 0; n < players.Count(); ++n) {
        if (!IsOnTeam(players, n, team, row))
            continue;
        players.Read(n, row);
        out += std::to_string(n + 1);
        for (const Value& value : row) {
            out += ',';
            const bool text = std::holds_alternative<std::string>(value);
            AppendCsvField(out, text ? GuardedText(CellText(value)) : CellText(value));
        }
        out += "\r\n";
        if (out.size() >= kChunk) {
            write(out);
            out.clear();
        }
    }
    write(out);
}

std::string ExportCsv(const PlayerList& players, std::optional<int> team) {
    std::string all;
    WriteCsv(players, team, [&all](std::string_view bytes) { all += bytes; });
    return all;
}

void ExportPlayers(const PlayerList& players, const fs::path& file, const ExportOptions& options) {
    SafeSaveFile out(file, kExporting);
    if (options.format == ExportFormat::Xlsx)
        WriteXlsx(players, options.team, file, out);
    else
        WriteCsv(players, options.team, [&out](std::string_view bytes) { out.Write(bytes); });
    out.Commit();
}

} // namespace tavrel
