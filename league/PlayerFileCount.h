#pragma once

#include "league/League.h"

#include <cstddef>
#include <filesystem>

namespace tavrel {

// How many player records the player file of `league` holds now, after a save: its length less
// the header and the trailing bytes import read, in whole records. Throws LeagueError naming the
// file when its length cannot be read.
std::size_t PlayerRecordsWritten(const LoadedLeague& league);

} // namespace tavrel
