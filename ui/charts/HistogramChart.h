#pragma once

#include "stats/Distribution.h"

#include <QString>

class QChartView;
class QWidget;

namespace tavrel {

// A chart view with no series yet, sized for two histograms side by side in a dialog.
QChartView* MakeHistogramView(QWidget* parent);

// Draws two spreads of the same rating over each other as bars on shared bins, `firstName` and
// `secondName` in the legend; an empty pair draws an empty chart with the title alone.
void DrawHistograms(QChartView* view, const QString& title, const Distribution& first,
                    const QString& firstName, const Distribution& second,
                    const QString& secondName);

// "mean 52.25, min 30, max 90", or "no players" for an empty spread.
QString SummaryText(const Distribution& d);

} // namespace tavrel
