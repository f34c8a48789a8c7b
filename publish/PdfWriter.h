#pragma once

#include "publish/PageLayout.h"

#include <filesystem>
#include <string>

namespace tavrel {

// The layout as a PDF 1.4 document: the standard Helvetica fonts (not embedded) with
// WinAnsiEncoding, the texts' characters in Windows-1252, uncompressed content streams.
std::string PdfDocument(const PageLayout& layout);

// Writes PdfDocument to `file`, replacing it whole or not at all. Throws LeagueError.
void WritePdf(const PageLayout& layout, const std::filesystem::path& file);

} // namespace tavrel
