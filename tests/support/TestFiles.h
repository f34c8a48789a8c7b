#pragma once

#include "base/LeagueError.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::testing {

// The whole content of a file, as bytes. Throws std::runtime_error if it cannot be read.
std::string FileContent(const std::filesystem::path& file);

// Replaces the content of a file, creating it if need be. Throws std::runtime_error if it cannot
// be written.
void WriteFileContent(const std::filesystem::path& file, std::string_view bytes);

// The names of the entries directly in a folder, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// `n` NULs as JSON text writes them: \u0000 each.
std::string JsonNuls(int n);

// The LeagueError `action` throws; one naming no file when it throws none.
inline LeagueError Failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const LeagueError& e) {
        return e;
    }
    return LeagueError("Nothing failed", "", "no failure");
}

} // namespace tavrel::testing
