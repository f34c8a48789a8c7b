// The Global Edit dialog's preview and recipes: Preview shows what OK would do, Save Recipe...
// and Load Recipe... keep every box, tick and the team choice in a file.
#include "globaledit/Recipe.h"
#include "ui/common/UserPrompts.h"
#include "ui/global/PreviewPanel.h"
#include "ui/global/frmGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace tavrel {
namespace {

const QString kRecipeFilter = QStringLiteral("Global Edit recipes (*.json);;All files (*)");

QString PercentText(double percent) {
    return QString::number(percent, 'g', QLocale::FloatingPointShortest);
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

void frmGlobal::BuildPreviewButtons() {
    cmdPreview_ = MakeButton(this, QStringLiteral("Pre&view"), QStringLiteral("cmdPreview"));
    cmdSaveRecipe_ =
        MakeButton(this, QStringLiteral("&Save Recipe..."), QStringLiteral("cmdSaveRecipe"));
    cmdLoadRecipe_ =
        MakeButton(this, QStringLiteral("&Load Recipe..."), QStringLiteral("cmdLoadRecipe"));
    preview_ = new PreviewPanel;
    previewArea_ = new QScrollArea(this);
    previewArea_->setObjectName(QStringLiteral("previewArea"));
    previewArea_->setWidget(preview_);
    previewArea_->setWidgetResizable(true);
    previewArea_->setFrameShape(QFrame::NoFrame);
    previewArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    previewArea_->hide();
}

void frmGlobal::ShowPreviewArea() {
    const QSize wanted = preview_->sizeHint();
    const int scrollBar = previewArea_->verticalScrollBar()->sizeHint().width();
    int room = wanted.height();
    if (const QScreen* screen = this->screen()) {
        const QMargins margins = layout()->contentsMargins();
        const int frame = frameGeometry().height() - geometry().height();
        const int above = layout()->itemAt(0)->sizeHint().height() + layout()->spacing();
        room =
            screen->availableGeometry().height() - frame - margins.top() - margins.bottom() - above;
    }
    previewArea_->setFixedSize(wanted.width() + scrollBar,
                               PreviewAreaHeight(wanted.height(), room));
    previewArea_->show();
    adjustSize();
    // A dialog grown past the bottom of the screen moves up so that the preview shows whole.
    if (const QScreen* screen = this->screen()) {
        const QRect free = screen->availableGeometry();
        const int overhang = frameGeometry().bottom() - free.bottom();
        if (overhang > 0)
            move(x(), std::max(free.top(), y() - overhang));
    }
}

void frmGlobal::WatchInputs() {
    connect(cmdPreview_, &QPushButton::clicked, this, &frmGlobal::cmdPreview_Click);
    connect(cmdSaveRecipe_, &QPushButton::clicked, this, &frmGlobal::cmdSaveRecipe_Click);
    connect(cmdLoadRecipe_, &QPushButton::clicked, this, &frmGlobal::cmdLoadRecipe_Click);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textChanged, preview_, &PreviewPanel::MarkStale);
    for (QCheckBox* box : chkPosition_)
        connect(box, &QCheckBox::toggled, preview_, &PreviewPanel::MarkStale);
    connect(cboTeam_, &QComboBox::currentIndexChanged, preview_, &PreviewPanel::MarkStale);
}

void frmGlobal::PlayersChanged() {
    preview_->MarkStale();
}

std::vector<int> frmGlobal::TickedPositionCodes() const {
    std::vector<int> codes;
    for (int index = 0; index < kPositionCount; ++index)
        if (chkPosition_[index]->isChecked())
            codes.push_back(kGlobalEditPositionCodes[index]);
    return codes;
}

void frmGlobal::cmdPreview_Click() {
    if (running_)
        return;
    const std::optional<GlobalEditInputs> inputs = ReadInputs();
    if (!inputs)
        return;
    emit PreviewStarting();
    try {
        preview_->ShowPreview(
            PreviewGlobalEditPositions(workingDb_, TickedPositionCodes(), *inputs));
        ShowPreviewArea();
    } catch (const std::exception& error) {
        prompts_.ShowMessage(this, QString::fromStdString(error.what()));
    }
}

void frmGlobal::cmdSaveRecipe_Click() {
    const std::optional<GlobalEditInputs> inputs = ReadInputs();
    if (!inputs)
        return;
    const QString file =
        prompts_.ChooseFileToSave(this, QStringLiteral("Save Recipe"), kRecipeFilter);
    if (file.isEmpty())
        return;
    try {
        SaveRecipe(file.toStdString(), {TickedPositionCodes(), *inputs});
    } catch (const std::exception& error) {
        prompts_.ShowMessage(this, QString::fromStdString(error.what()));
    }
}

void frmGlobal::cmdLoadRecipe_Click() {
    if (running_)
        return;
    const QString file =
        prompts_.ChooseFileToOpen(this, QStringLiteral("Load Recipe"), kRecipeFilter);
    if (file.isEmpty())
        return;
    try {
        ShowRecipe(LoadRecipe(file.toStdString()), file);
    } catch (const std::exception& error) {
        prompts_.ShowMessage(this, QString::fromStdString(error.what()));
    }
}

bool frmGlobal::ShowRecipe(const GlobalEditRecipe& recipe, const QString& file) {
    const GlobalEditInputs& in = recipe.inputs;
    const int team = cboTeam_->findData(in.team);
    if (team < 0) {
        prompts_.ShowMessage(this, QStringLiteral("Loading the Global Edit recipe \"%1\": team: "
                                                  "this league has no team %2")
                                       .arg(file)
                                       .arg(in.team));
        return false;
    }
    cboTeam_->setCurrentIndex(team);
    txtActMax_->setText(QString::number(in.actualMax));
    txtActMin_->setText(QString::number(in.actualMin));
    txtPotMax_->setText(QString::number(in.potentialMax));
    txtPotMin_->setText(QString::number(in.potentialMin));
    for (int k = 0; k < kRatingCount; ++k) {
        actualBoxes_[k]->setText(PercentText(in.actualPercent[k]));
        potentialBoxes_[k]->setText(PercentText(in.potentialPercent[k]));
    }
    for (int index = 0; index < kPositionCount; ++index)
        chkPosition_[index]->setChecked(
            std::find(recipe.positionCodes.begin(), recipe.positionCodes.end(),
                      kGlobalEditPositionCodes[index]) != recipe.positionCodes.end());
    return true;
}

} // namespace tavrel
