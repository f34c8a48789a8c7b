#pragma once

#include <string_view>

namespace tavrel {

// The one style sheet and the one script of every published site. Nothing in them loads from
// elsewhere: the site works opened from disk, and without the script every table still reads.
extern const std::string_view kSiteCss;
extern const std::string_view kSiteScript;

} // namespace tavrel
