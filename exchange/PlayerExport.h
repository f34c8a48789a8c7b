#pragma once

#include "exchange/PlayerList.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// The columns of an exported player sheet: "Record" (the player's 1-based place in the player
// file), then the Players columns in table order. Import reads the same names back.
inline constexpr std::string_view kRecordColumn = "Record";
const std::vector<std::string_view>& ExportColumns();

enum class ExportFormat { Csv, Xlsx };

struct ExportOptions {
    ExportFormat format = ExportFormat::Csv;
    std::optional<int> team; // nothing: every player; 0: the free agents; else one team number
};

// The sheet as a CSV file: UTF-8 with a byte-order mark (so spreadsheets keep the accents),
// comma separated, CRLF line ends, quoted where RFC 4180 asks. One row per player record of the
// chosen team, in file order; numbers in decimal, text without its trailing padding (and guarded
// against running as a formula, see GuardedText), empty values as empty cells.
std::string ExportCsv(const PlayerList& players, std::optional<int> team);
// The same a chunk of rows at a time into `write`, so that a sheet of any size costs the memory
// of one chunk.
void WriteCsv(const PlayerList& players, std::optional<int> team,
              const std::function<void(std::string_view)>& write);

// Writes the sheet into `file` in the chosen format, through the safe save: a failure leaves an
// older `file` whole. XLSX keeps numbers as numbers, freezes the header row, guards texts as CSV
// does and escapes what XML cannot carry (see EscapedXlsxText). Throws
// LeagueError naming `file` and the cause.
void ExportPlayers(const PlayerList& players, const std::filesystem::path& file,
                   const ExportOptions& options);

// Whether the player at `index` belongs to the chosen team.
bool IsOnTeam(const PlayerList& players, std::size_t index, std::optional<int> team,
              PlayerRow& scratch);

} // namespace tavrel
