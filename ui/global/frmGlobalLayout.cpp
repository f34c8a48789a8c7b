// The widgets of the Global Edit dialog and their arrangement: the team line, the Actual and
// Potential bounds, the position check boxes, the three bands of rating boxes, and the buttons
// on the right. Layouts size everything from the font, so nothing is clipped at any scale.
#include "store/Vocabulary.h"
#include "ui/global/PreviewPanel.h"
#include "ui/global/frmGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace tavrel {
namespace {

// The potential box of Vision has always been named differently from the others.
QString PotentialBoxName(std::string_view code) {
    const QString text = QString::fromLatin1(code.data(), qsizetype(code.size()));
    return text == QLatin1String("VI") ? QStringLiteral("txtp_VI") : QStringLiteral("txtP_") + text;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& text, int width) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setFixedWidth(width);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

} // namespace

void frmGlobal::BuildLayout() {
    const QFontMetrics metrics = fontMetrics();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    // Wide enough for "-100.5" and for "255" with room to spare.
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("-100.5")) + 4 * frame + 8;

    // Widgets are made in the order the Tab key visits them.
    auto* lblTeams = MakeLabel(this, QStringLiteral("Teams:"));
    cboTeam_ = new QComboBox(this);
    cboTeam_->setObjectName(QStringLiteral("cboTeam"));
    cboTeam_->setMinimumContentsLength(24);
    cboTeam_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblTeams->setBuddy(cboTeam_);

    auto* fraActual = new QGroupBox(QStringLiteral("Actual"), this);
    fraActual->setObjectName(QStringLiteral("fraActual"));
    txtActMax_ = MakeBox(fraActual, QStringLiteral("txtActMax"), QStringLiteral("99"), boxWidth);
    txtActMin_ = MakeBox(fraActual, QStringLiteral("txtActMin"), QStringLiteral("0"), boxWidth);
    auto* fraPotential = new QGroupBox(QStringLiteral("Potential"), this);
    fraPotential->setObjectName(QStringLiteral("fraPotential"));
    txtPotMax_ = MakeBox(fraPotential, QStringLiteral("txtPotMax"), QStringLiteral("99"), boxWidth);
    txtPotMin_ = MakeBox(fraPotential, QStringLiteral("txtPotMin"), QStringLiteral("0"), boxWidth);
    for (auto [group, max, min] : {std::tuple{fraActual, txtActMax_, txtActMin_},
                                   std::tuple{fraPotential, txtPotMax_, txtPotMin_}}) {
        auto* bounds = new QHBoxLayout(group);
        bounds->addWidget(MakeLabel(group, QStringLiteral("Max:")));
        bounds->addWidget(max);
        bounds->addSpacing(metrics.averageCharWidth());
        bounds->addWidget(MakeLabel(group, QStringLiteral("Min:")));
        bounds->addWidget(min);
    }

    auto* fraPosition = new QGroupBox(QStringLiteral("Position"), this);
    fraPosition->setObjectName(QStringLiteral("fraPosition"));
    auto* positions = new QGridLayout(fraPosition);
    positions->setHorizontalSpacing(2 * metrics.averageCharWidth());
    for (int index = 0; index < kPositionCount; ++index) {
        const QString caption =
            QString::fromStdString(PositionText(kGlobalEditPositionCodes[index]));
        auto* box = new QCheckBox(caption, fraPosition);
        box->setObjectName(QStringLiteral("chkPosition_%1").arg(index));
        chkPosition_[index] = box;
        positions->addWidget(box, index / 5, index % 5);
    }

    auto* fraRatings = new QGroupBox(QStringLiteral("Ratings %"), this);
    fraRatings->setObjectName(QStringLiteral("fraRatings"));
    auto* ratings = new QGridLayout(fraRatings);
    ratings->setVerticalSpacing(2);
    QPalette red = palette();
    red.setColor(QPalette::Text, QColor(255, 0, 0));
    for (int band = 0; band < int(kRatingBands.size()); ++band) {
        const int row = 4 * band; // a label row, an actual row, a potential row, a gap
        for (int column = 0; column < 8; ++column) {
            const std::string_view code = kRatingBands[band][column];
            const int k = *RatingIndex(code);
            const QString text = QString::fromLatin1(code.data(), qsizetype(code.size()));
            ratings->addWidget(MakeLabel(fraRatings, text + QLatin1Char(':')), row, column);
            auto* actual =
                MakeBox(fraRatings, QStringLiteral("txt") + text, QStringLiteral("0"), boxWidth);
            actual->setToolTip(QString::fromStdString(ActualTooltip(k, TooltipSet::GlobalEdit)));
            actualBoxes_[k] = actual;
            ratings->addWidget(actual, row + 1, column);
        }
        for (int column = 0; column < 8; ++column) {
            const int k = *RatingIndex(kRatingBands[band][column]);
            auto* potential = MakeBox(fraRatings, PotentialBoxName(kRatingBands[band][column]),
                                      QStringLiteral("0"), boxWidth);
            potential->setToolTip(
                QString::fromStdString(PotentialTooltip(k, TooltipSet::GlobalEdit)));
            potential->setPalette(red);
            potentialBoxes_[k] = potential;
            ratings->addWidget(potential, row + 2, column);
        }
        if (band + 1 < int(kRatingBands.size()))
            ratings->setRowMinimumHeight(row + 3, metrics.height() / 2);
    }

    cmdOK_ = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true); // Enter in any box presses OK
    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setAutoDefault(false);
    cmdHelp_ = new QPushButton(QStringLiteral("&Help"), this);
    cmdHelp_->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp_->setAutoDefault(false);
    BuildPreviewButtons();

    auto* teamLine = new QHBoxLayout;
    teamLine->addWidget(lblTeams);
    teamLine->addWidget(cboTeam_, 1);
    auto* boundsLine = new QHBoxLayout;
    boundsLine->addWidget(fraActual);
    boundsLine->addWidget(fraPotential);
    boundsLine->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(teamLine);
    left->addLayout(boundsLine);
    left->addWidget(fraPosition);
    left->addWidget(fraRatings);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(cmdHelp_);
    buttons->addSpacing(metrics.height());
    buttons->addWidget(cmdPreview_);
    buttons->addWidget(cmdSaveRecipe_);
    buttons->addWidget(cmdLoadRecipe_);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addSpacing(metrics.averageCharWidth());
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(previewArea_); // below everything, shown by the first preview
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tavrel
