#pragma once

namespace tavrel {

// How the program names itself in what it writes (the roster files' closing lines) and shows
// (the About box).
inline constexpr const char* kProgramName = "Tavrel";
inline constexpr const char* kHomePageAddress = "https://tavrel.example.org";

} // namespace tavrel
