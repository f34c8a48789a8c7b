#pragma once

#include <string>

namespace tavrel {

// The player file and its backup lie beside the league file: the last three characters of the
// league path are replaced, whatever they are ("pro.lge" gives "pro.ply" and "pro.sw$").
// A path of fewer than three characters loses all of them.
std::string PlayerFilePath(const std::string& leaguePath);
std::string BackupFilePath(const std::string& leaguePath);

} // namespace tavrel
