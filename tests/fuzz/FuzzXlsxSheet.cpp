// The workbook reader over any bytes: a damaged workbook is a LeagueError, never a crash, and a
// readable one gives rows in order and cells within a spreadsheet's bounds; the import plan keeps
// its all-or-nothing rule.
#include "SheetFuzzPlayers.h"
#include "base/LeagueError.h"
#include "exchange/PlayerImport.h"
#include "exchange/Xlsx.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        XlsxReader reader(bytes, "fuzz.xlsx");
        int last = 0;
        for (SheetRow row; reader.Next(row);) {
            if (row.row <= last || row.cells.size() > std::size_t(kMaxSheetColumns))
                std::abort();
            last = row.row;
        }
        XlsxReader again(bytes, "fuzz.xlsx");
        const ImportPlan plan = PlanImport(again, fuzz::Players());
        if ((plan.refusalCount > 0 && !plan.changes.empty()) ||
            plan.refusals.size() > kShownRefusals)
            std::abort();
    } catch (const LeagueError&) {
    }
    return 0;
}
