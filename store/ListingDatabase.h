#pragma once

#include <SQLiteCpp/Database.h>
#include <filesystem>

namespace tavrel {

// Opens a database read-only for filling a list, with the SQL function UNPADDED(text): the text
// without its leading spaces and its trailing NULs and spaces (other values unchanged), so that
// names padded either way sort as the lists show them. SQLite's own trimming functions stop at a
// NUL and cannot do this. Throws SQLite::Exception.
SQLite::Database OpenForListing(const std::filesystem::path& database);

} // namespace tavrel
