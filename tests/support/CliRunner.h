#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::testing {

// What a run of the command-line program gave: its exit status (-1 where it did not finish
// normally) and everything it wrote.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Where the program runs: the folder it starts in and the TMPDIR it sees. An empty path leaves
// that of the test.
struct CliPlace {
    std::filesystem::path workingFolder = {};
    std::filesystem::path tmpDir = {};
};

// Runs `program` with `args` and waits for it to end. A run that does not end normally within
// five minutes is a test failure. Needs a QCoreApplication.
CliResult RunCli(const std::string& program, const std::vector<std::string>& args,
                 const CliPlace& place = {});

} // namespace tavrel::testing
