#pragma once

namespace tavrel {

// The web address of Tavrel's home page: the last line of every roster file and the About box.
inline constexpr const char* kHomePageAddress = "https://tavrel.example.org/";

} // namespace tavrel
