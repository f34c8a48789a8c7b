#pragma once

#include "publish/PageLayout.h"

class QPrinter;

namespace tavrel {
struct LeagueData;
}

// Draws the core's page layout on a printer (the print preview, a printer, a PDF file): the same
// texts and boxes the command line's PDF has, at the printer's resolution.
void PaintPages(const tavrel::PageLayout& layout, QPrinter& printer);

// The printer's paper as the layout's page size, in points.
tavrel::PageSize PrinterPageSize(const QPrinter& printer);
