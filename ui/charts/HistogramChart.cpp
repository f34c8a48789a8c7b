#include "ui/charts/HistogramChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>

namespace tavrel {
namespace {

// Enough bars to see a shape, few enough for their labels to stay readable side by side.
constexpr int kMaxBins = 14;

// A bar is labelled with the lowest value it counts; the next label says where it ends.
QString BinLabel(const HistogramBin& bin) {
    return QString::number(bin.low);
}

} // namespace

QChartView* MakeHistogramView(QWidget* parent) {
    auto* view = new QChartView(new QChart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    view->chart()->setAnimationOptions(QChart::NoAnimation);
    view->setMinimumSize(320, 180);
    view->chart()->setMargins(QMargins(2, 2, 2, 2));
    return view;
}

void DrawHistograms(QChartView* view, const QString& title, const Distribution& first,
                    const QString& firstName, const Distribution& second,
                    const QString& secondName) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    chart->setTitle(title);
    const std::vector<HistogramBin> bins = SharedBins(first, second, kMaxBins);
    if (bins.empty())
        return;

    auto* firstSet = new QBarSet(firstName);
    auto* secondSet = new QBarSet(secondName);
    QStringList labels;
    long long highest = 1;
    for (const HistogramBin& bin : bins) {
        *firstSet << qreal(bin.first);
        *secondSet << qreal(bin.second);
        labels << BinLabel(bin);
        highest = std::max({highest, bin.first, bin.second});
    }
    auto* series = new QBarSeries;
    series->append(firstSet);
    series->append(secondSet);
    series->setBarWidth(0.9);
    chart->addSeries(series);

    auto* values = new QBarCategoryAxis;
    values->append(labels);
    values->setTruncateLabels(false);
    QFont small = values->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    values->setLabelsFont(small);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    auto* players = new QValueAxis;
    players->setRange(0, qreal(highest));
    players->applyNiceNumbers();
    players->setLabelFormat(QStringLiteral("%d"));
    players->setTitleText(QStringLiteral("Players"));
    chart->addAxis(players, Qt::AlignLeft);
    series->attachAxis(players);
}

QString SummaryText(const Distribution& d) {
    if (d.count == 0)
        return QStringLiteral("no players");
    return QStringLiteral("mean %1, min %2, max %3").arg(d.mean, 0, 'f', 2).arg(d.min).arg(d.max);
}

} // namespace tavrel
