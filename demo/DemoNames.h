#pragma once

#include <span>
#include <string_view>

namespace tavrel {

// The word lists the demo league draws its names from, in UTF-8. Every entry fits its field in
// Windows-1252: first names 15 characters, last names 25, colleges 31; a city, a space and a
// nickname of a demo team fit in 20 when chosen together (the generator checks).
std::span<const std::string_view> DemoFirstNames();
std::span<const std::string_view> DemoLastNames();
std::span<const std::string_view> DemoColleges();
std::span<const std::string_view> DemoCities();
std::span<const std::string_view> DemoNicknames();

} // namespace tavrel
