// The CSV reader and the import plan over any bytes: never a crash, an import either refuses or
// changes, never both, the refusals it keeps are capped, every row number counts up and every cell
// stays within what a spreadsheet cell holds.
#include "SheetFuzzPlayers.h"
#include "exchange/Csv.h"
#include "exchange/PlayerImport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MemoryStream in(bytes);
    CsvReader reader(in);
    int last = 0;
    for (SheetRow row; reader.Next(row);) {
        if (row.row <= last || row.cells.size() > std::size_t(kMaxSheetColumns))
            std::abort();
        last = row.row;
        std::size_t total = 0;
        for (const std::string_view cell : row.cells)
            total += cell.size();
        if (total > 3 * kMaxRowBytes) // Windows-1252 text takes up to three bytes a character
            std::abort();
    }
    const ImportPlan plan = PlanImport(bytes, fuzz::Players());
    if ((plan.refusalCount > 0 && !plan.changes.empty()) || plan.refusals.size() > kShownRefusals ||
        plan.refusals.size() > plan.refusalCount)
        std::abort();
    for (const PlayerCellChange& change : plan.changes)
        if (change.record < 1 || change.record > fuzz::Players().Count())
            std::abort();
    return 0;
}
