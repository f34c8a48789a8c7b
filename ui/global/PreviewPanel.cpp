#include "ui/global/PreviewPanel.h"

#include "ui/charts/HistogramChart.h"

#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrel {
namespace {

const QStringList kFigureHeaders = {QStringLiteral("Position"),
                                    QStringLiteral("Selected"),
                                    QStringLiteral("Changed"),
                                    QStringLiteral("Held at\nactual Max"),
                                    QStringLiteral("Held at\nactual Min"),
                                    QStringLiteral("Potentials\nlifted"),
                                    QStringLiteral("Held at\npotential Max"),
                                    QStringLiteral("Held at\npotential Min")};

// What each figure counts: the players, or the rating values (one per player and edited rating),
// which can be more than the players changed.
const QStringList kFigureTips = {
    QStringLiteral("The position the figures are for."),
    QStringLiteral("Players: how many players of this position (and the chosen team) the edit "
                   "looks at."),
    QStringLiteral("Players: how many of them have at least one rating changed."),
    QStringLiteral("Rating values: how many actual values the actual Max held down, one per "
                   "player and edited rating."),
    QStringLiteral("Rating values: how many actual values the actual Min held up, one per player "
                   "and edited rating."),
    QStringLiteral("Rating values: how many potential values were lifted to the actual value, "
                   "one per player and edited rating."),
    QStringLiteral("Rating values: how many potential values the potential Max held down, one "
                   "per player and edited rating."),
    QStringLiteral("Rating values: how many potential values the potential Min held up, one per "
                   "player and edited rating.")};

const QString kCountsCaption =
    QStringLiteral("Selected and Changed count players; the other columns count rating values, "
                   "one per player and edited rating, so they can be more than the players "
                   "changed.");

const QString kFreshCaption = QStringLiteral("Preview: what OK does with the values above.");
const QString kStaleCaption =
    QStringLiteral("The values or the players have changed since this preview: press Preview "
                   "again to see what OK does now.");

QString BeforeAfterText(const Distribution& before, const Distribution& after) {
    return QStringLiteral("Before: %1\nAfter: %2").arg(SummaryText(before), SummaryText(after));
}

} // namespace

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewPanel"));
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("lblPreview"));
    caption_->setWordWrap(true);
    figures_ = new QTableWidget(0, int(kFigureHeaders.size()), this);
    figures_->setObjectName(QStringLiteral("tblPreview"));
    figures_->setHorizontalHeaderLabels(kFigureHeaders);
    for (int column = 0; column < int(kFigureTips.size()); ++column)
        figures_->horizontalHeaderItem(column)->setToolTip(kFigureTips[column]);
    auto* counts = new QLabel(kCountsCaption, this);
    counts->setObjectName(QStringLiteral("lblPreviewCounts"));
    counts->setWordWrap(true);
    figures_->verticalHeader()->hide();
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The header and three positions; more scroll.
    figures_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    figures_->setFixedHeight(figures_->horizontalHeader()->sizeHint().height() +
                             3 * (fontMetrics().height() + 4) + 4);
    cboRating_ = new QComboBox(this);
    cboRating_->setObjectName(QStringLiteral("cboPreviewRating"));
    actualChart_ = MakeHistogramView(this);
    actualChart_->setObjectName(QStringLiteral("chartPreviewActual"));
    potentialChart_ = MakeHistogramView(this);
    potentialChart_->setObjectName(QStringLiteral("chartPreviewPotential"));
    actualSummary_ = new QLabel(this);
    actualSummary_->setObjectName(QStringLiteral("lblPreviewActual"));
    potentialSummary_ = new QLabel(this);
    potentialSummary_->setObjectName(QStringLiteral("lblPreviewPotential"));

    auto* ratingLine = new QHBoxLayout;
    ratingLine->addWidget(caption_, 1);
    ratingLine->addWidget(new QLabel(QStringLiteral("Rating:"), this));
    ratingLine->addWidget(cboRating_);
    auto* charts = new QGridLayout;
    charts->addWidget(actualChart_, 0, 0);
    charts->addWidget(potentialChart_, 0, 1);
    charts->addWidget(actualSummary_, 1, 0);
    charts->addWidget(potentialSummary_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(ratingLine);
    layout->addWidget(figures_);
    layout->addWidget(counts);
    layout->addLayout(charts);

    connect(cboRating_, &QComboBox::currentIndexChanged, this, &PreviewPanel::ShowRating);
}

void PreviewPanel::ShowPreview(std::vector<PositionPreview> previews) {
    previews_ = std::move(previews);
    stale_ = false;
    caption_->setText(kFreshCaption);
    figures_->setRowCount(int(previews_.size()));
    for (int row = 0; row < int(previews_.size()); ++row) {
        const PositionPreview& p = previews_[std::size_t(row)];
        const RuleTally& t = p.tally;
        const QStringList cells = {QString::fromStdString(PositionText(p.positionCode)),
                                   QString::number(p.playersSelected),
                                   QString::number(p.playersChanged),
                                   QString::number(t.heldAtActualMax),
                                   QString::number(t.heldAtActualMin),
                                   QString::number(t.liftedToActual),
                                   QString::number(t.heldAtPotentialMax),
                                   QString::number(t.heldAtPotentialMin)};
        for (int column = 0; column < cells.size(); ++column)
            figures_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    const QSignalBlocker blocker(cboRating_);
    cboRating_->clear();
    for (std::size_t i = 0; i < previews_.size(); ++i)
        for (std::size_t j = 0; j < previews_[i].ratings.size(); ++j) {
            const Rating& rating = kRatings[previews_[i].ratings[j].ratingIndex];
            cboRating_->addItem(
                QStringLiteral("%1 %2 (%3)")
                    .arg(QString::fromStdString(PositionText(previews_[i].positionCode)),
                         QString::fromLatin1(rating.code.data(), qsizetype(rating.code.size())),
                         QString::fromLatin1(rating.longName.data(),
                                             qsizetype(rating.longName.size()))),
                QPoint(int(i), int(j)));
        }
    ShowRating(cboRating_->count() > 0 ? 0 : -1);
}

void PreviewPanel::MarkStale() {
    if (stale_)
        return;
    stale_ = true;
    caption_->setText(kStaleCaption);
}

void PreviewPanel::ShowRating(int choice) {
    if (choice < 0) {
        DrawHistograms(actualChart_, QStringLiteral("Actual"), {}, {}, {}, {});
        DrawHistograms(potentialChart_, QStringLiteral("Potential"), {}, {}, {}, {});
        actualSummary_->clear();
        potentialSummary_->clear();
        return;
    }
    const QPoint at = cboRating_->itemData(choice).toPoint();
    const RatingPreview& r = previews_[std::size_t(at.x())].ratings[std::size_t(at.y())];
    const QString longName =
        QString::fromLatin1(kRatings[r.ratingIndex].longName.data(),
                            qsizetype(kRatings[r.ratingIndex].longName.size()));
    DrawHistograms(actualChart_, QStringLiteral("Actual ") + longName, r.actualBefore,
                   QStringLiteral("Before"), r.actualAfter, QStringLiteral("After"));
    DrawHistograms(potentialChart_, QStringLiteral("Potential ") + longName, r.potentialBefore,
                   QStringLiteral("Before"), r.potentialAfter, QStringLiteral("After"));
    actualSummary_->setText(BeforeAfterText(r.actualBefore, r.actualAfter));
    potentialSummary_->setText(BeforeAfterText(r.potentialBefore, r.potentialAfter));
}

int PreviewAreaHeight(int wanted, int room) {
    constexpr int kLeast = 200;
    return std::max(std::min(kLeast, wanted), std::min(wanted, room));
}

} // namespace tavrel
