#pragma once

#include "globaledit/Preview.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace tavrel::cli {

// The figures of a Global Edit preview as one JSON document: the team choice, then per position
// the players selected and changed and the bound steps' counts, and per edited rating the same
// counts and the actual and potential values before and after (count, mean, min, max and
// [value, count] pairs).
nlohmann::ordered_json PreviewJson(int team, const std::vector<PositionPreview>& positions);

} // namespace tavrel::cli
