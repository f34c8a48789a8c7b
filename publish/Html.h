#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Text of a league put into a page: names come from files anyone may have made, so nothing of
// them may become markup.

// Appends `text` (UTF-8) with & < > " ' as character references, so it stays text both between
// tags and in a quoted attribute. Control characters (which HTML does not allow) and bytes that
// are no UTF-8 become U+FFFD.
void AppendHtml(std::string& out, std::string_view text);
std::string Html(std::string_view text);

// Appends `text` as a JSON string literal, quotes included, that is also safe inside a <script>
// element: < > & are written as \u escapes, so no "</script>" can end it.
void AppendJsonString(std::string& out, std::string_view text);

} // namespace tavrel
