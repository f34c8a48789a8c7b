#pragma once

#include <filesystem>
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

} // namespace tavrel::testing
