// Peak memory of importing a full-size league (32 teams, 32,000 players).
//   tavrel_import_peak DIR   writes the demo league into DIR the first time, imports it after
// and prints the peak resident memory of the import, measured from a reset of the kernel's
// high-water mark so that writing the league is not counted.

#include "BenchLeague.h"
#include "league/League.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

// VmHWM or VmRSS of this process, in KiB.
long MemoryKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    // Options (such as --benchmark_list_tests from a runner that takes every program here for a
    // benchmark) are no folder: nothing is written for them.
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::cerr << "usage: tavrel_import_peak DIR\n"
                     "  writes the benchmark league into DIR the first time, imports it after\n";
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::filesystem::path dir = argv[1];
    try {
        if (!std::filesystem::exists(dir / "Demo.ply")) {
            tavrel::WriteBenchLeague(dir);
            std::cout << "wrote the demo league into " << dir << "; run again to import it\n";
            return 0;
        }
        std::ofstream("/proc/self/clear_refs") << "5"; // resets VmHWM to the current size
        const long before = MemoryKiB("VmRSS");
        const tavrel::LoadedLeague league =
            tavrel::LoadLeague(dir / "Demo.ply", dir / "Demo.lge", dir / "Tavrel.tmp");
        std::cout << "records " << league.image.RecordCount() << ", teams " << league.teamCount
                  << "\nresident before import " << before << " KiB, peak during import "
                  << MemoryKiB("VmHWM") << " KiB\n";
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
