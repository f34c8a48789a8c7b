#include "ui/charts/RatingsChartWindow.h"

#include "globaledit/GlobalEdit.h"
#include "safety/SafeSave.h"
#include "stats/RatingDistribution.h"
#include "store/TeamChoices.h"
#include "ui/charts/ChartImage.h"
#include "ui/charts/HistogramChart.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/UserPrompts.h"
#include "ui/global/TeamChoiceCombo.h"

#include <QChartView>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel {
namespace {

constexpr int kAllPositions = -1;

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

RatingsChartWindow::RatingsChartWindow(std::filesystem::path workingDb, UserPrompts& prompts,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), workingDb_(std::move(workingDb)), prompts_(prompts) {
    setObjectName(QStringLiteral("frmRatingsChart"));
    setWindowTitle(QStringLiteral("Tavrel - Ratings Chart"));
    setAttribute(Qt::WA_DeleteOnClose);

    cboTeam_ = new QComboBox(this);
    cboTeam_->setObjectName(QStringLiteral("cboTeam"));
    cboPosition_ = new QComboBox(this);
    cboPosition_->setObjectName(QStringLiteral("cboPosition"));
    cboPosition_->addItem(QStringLiteral("All"), kAllPositions);
    for (const int code : kGlobalEditPositionCodes)
        cboPosition_->addItem(QString::fromStdString(PositionText(code)), code);
    cboRating_ = new QComboBox(this);
    cboRating_->setObjectName(QStringLiteral("cboRating"));
    for (int k = 0; k < kRatingCount; ++k)
        cboRating_->addItem(
            Latin1(kRatings[k].code) + QStringLiteral(" - ") + Latin1(kRatings[k].longName), k);
    chart_ = MakeHistogramView(this);
    chart_->setObjectName(QStringLiteral("chartRatings"));
    chart_->setMinimumSize(560, 360);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    cmdSaveImage_ = new QPushButton(QStringLiteral("Save &Image..."), this);
    cmdSaveImage_->setObjectName(QStringLiteral("cmdSaveImage"));

    auto* choices = new QHBoxLayout;
    for (auto [caption, combo] :
         {std::pair{"&Team:", cboTeam_}, std::pair{"&Position:", cboPosition_},
          std::pair{"&Rating:", cboRating_}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(combo);
        choices->addWidget(label);
        choices->addWidget(combo);
        connect(combo, &QComboBox::currentIndexChanged, this, &RatingsChartWindow::Draw);
    }
    choices->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(cmdSaveImage_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(chart_, 1);
    layout->addLayout(bottom);
    connect(cmdSaveImage_, &QPushButton::clicked, this, &RatingsChartWindow::SaveImage);
    InstallHelpKey(this, kHelpRatingsChart);

    Refresh();
}

void RatingsChartWindow::Refresh() {
    FillTeams();
    Draw();
}

void RatingsChartWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Refresh(); // the players may have changed while another window was in front
    QWidget::changeEvent(event);
}

void RatingsChartWindow::FillTeams() {
    const QVariant chosen = cboTeam_->currentData();
    std::vector<TeamChoice> teams;
    try {
        teams = ReadTeamChoices(workingDb_);
    } catch (const std::exception&) {
        // Draw() tells why; the list keeps All and Free Agents.
    }
    FillTeamChoiceCombo(cboTeam_, teams);
    const QSignalBlocker blocker(cboTeam_);
    cboTeam_->setCurrentIndex(std::max(0, cboTeam_->findData(chosen)));
}

void RatingsChartWindow::Draw() {
    const int team = cboTeam_->currentData().toInt();
    const int position = cboPosition_->currentData().toInt();
    const int k = cboRating_->currentData().toInt();
    PlayerGroup group;
    if (team != kAllTeams)
        group.team = team;
    if (position != kAllPositions)
        group.positionCode = position;
    const QString title = QStringLiteral("%1, %2, %3")
                              .arg(Latin1(kRatings[k].longName), cboTeam_->currentText(),
                                   position == kAllPositions ? QStringLiteral("all positions")
                                                             : cboPosition_->currentText());
    try {
        const RatingSpread spread = ReadRatingSpread(workingDb_, group, k);
        DrawHistograms(chart_, title, spread.actual, QStringLiteral("Actual"), spread.potential,
                       QStringLiteral("Potential"));
        summary_->setText(QStringLiteral("Actual: %1    Potential: %2")
                              .arg(SummaryText(spread.actual), SummaryText(spread.potential)));
    } catch (const std::exception& error) {
        DrawHistograms(chart_, title, {}, {}, {}, {});
        summary_->setText(QString::fromStdString(error.what()));
    }
}

void RatingsChartWindow::SaveImage() {
    QString file = prompts_.ChooseFileToSave(
        this, QStringLiteral("Save Image"), QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
        !file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        file += QStringLiteral(".png");
    try {
        const QByteArray bytes = WidgetImageBytes(chart_, file);
        SaveFileAtomically(file.toStdString(), std::string_view(bytes.constData(), bytes.size()),
                           "Saving the chart image");
    } catch (const std::exception& error) {
        prompts_.ShowMessage(this, QString::fromStdString(error.what()));
    }
}

} // namespace tavrel
