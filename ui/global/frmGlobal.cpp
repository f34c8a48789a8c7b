#include "ui/global/frmGlobal.h"

#include "globaledit/GlobalEditChanges.h"
#include "store/TeamChoices.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/UserPrompts.h"
#include "ui/global/TeamChoiceCombo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <vector>

namespace tavrel {

frmGlobal::frmGlobal(std::filesystem::path workingDb, UserPrompts& prompts, Progress* progress,
                     QWidget* parent)
    : QDialog(parent), workingDb_(std::move(workingDb)), prompts_(prompts), progress_(progress) {
    setObjectName(QStringLiteral("frmGlobal"));
    setWindowTitle(QStringLiteral("Tavrel - Global Edit"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    BuildLayout();

    connect(cboTeam_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            selectedTeam_ = qint16(cboTeam_->itemData(index).toInt());
    });
    connect(cmdOK_, &QPushButton::clicked, this, &frmGlobal::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmGlobal::cmdCancel_Click);
    connect(cmdHelp_, &QPushButton::clicked, this, &frmGlobal::cmdHelp_Click);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &frmGlobal::cmdHelp_Click);
    WatchInputs();

    FillTeamCombo();
    selectedTeam_ = kAllTeams;
}

void frmGlobal::FillTeamCombo() {
    std::vector<TeamChoice> teams;
    teamsStale_ = false;
    try {
        teams = ReadTeamChoices(workingDb_);
    } catch (const std::exception& error) {
        prompts_.ShowFailure(this, QString::fromStdString(error.what()));
    }
    FillTeamChoiceCombo(cboTeam_, teams);
    const QSignalBlocker blocker(cboTeam_);
    cboTeam_->setCurrentIndex(0);
    selectedTeam_ = kAllTeams;
}

void frmGlobal::LeagueOpened() {
    teamsStale_ = true;
    PlayersChanged(); // a preview shown was of the league before
    if (isVisible() && !running_)
        FillTeamCombo();
}

void frmGlobal::SelectPosition(int index) {
    if (index < 0 || index >= kPositionCount)
        return;
    selectedPosition_ = kGlobalEditPositionCodes[index];
    selectedPositionText_ = QString::fromStdString(PositionText(selectedPosition_));
}

void frmGlobal::showEvent(QShowEvent* event) {
    if (teamsStale_ && !running_)
        FillTeamCombo();
    QDialog::showEvent(event);
}

void frmGlobal::closeEvent(QCloseEvent* event) {
    if (running_) { // the run still reads this dialog
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmGlobal::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) { // no button answers to Esc
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<GlobalEditInputs> frmGlobal::ReadInputs() {
    GlobalEditInputs inputs;
    inputs.team = selectedTeam_;
    QLineEdit* invalid = nullptr;
    auto bound = [&invalid](QLineEdit* box, int& target) {
        const std::optional<int> value = ParseBoundText(box->text().toStdString());
        if (value)
            target = *value;
        else if (!invalid)
            invalid = box;
    };
    auto percent = [&invalid](QLineEdit* box, double& target) {
        const std::optional<double> value = ParsePercentText(box->text().toStdString());
        if (value)
            target = *value;
        else if (!invalid)
            invalid = box;
    };
    bound(txtActMax_, inputs.actualMax);
    bound(txtActMin_, inputs.actualMin);
    bound(txtPotMax_, inputs.potentialMax);
    bound(txtPotMin_, inputs.potentialMin);
    // In the order the boxes stand, band by band, so the first bad box on screen is named.
    for (const RatingBand& band : kRatingBands) {
        for (std::string_view code : band) {
            const int k = *RatingIndex(code);
            percent(actualBoxes_[k], inputs.actualPercent[k]);
        }
        for (std::string_view code : band) {
            const int k = *RatingIndex(code);
            percent(potentialBoxes_[k], inputs.potentialPercent[k]);
        }
    }
    if (!invalid)
        return inputs;
    invalid->setFocus();
    invalid->selectAll();
    prompts_.ShowFailure(this, QString::fromLatin1(kInvalidNumberMessage));
    invalid->setFocus();
    return std::nullopt;
}

void frmGlobal::SetRunning(bool running) {
    running_ = running;
    setEnabled(!running); // no second OK and no changed inputs while the engine reads them
    if (!running && teamsStale_ && isVisible())
        FillTeamCombo(); // a league was opened during the run
}

void frmGlobal::cmdOK_Click() {
    if (running_)
        return;
    const std::optional<GlobalEditInputs> inputs = ReadInputs();
    if (!inputs)
        return;
    std::vector<int> ticked;
    for (int index = 0; index < kPositionCount; ++index)
        if (chkPosition_[index]->isChecked())
            ticked.push_back(index);
    if (ticked.empty())
        return;

    emit GlobalEditStarting();
    std::vector<int> codes;
    for (int index : ticked)
        codes.push_back(kGlobalEditPositionCodes[index]);
    SelectPosition(ticked.back()); // where a run position by position would end
    // Locals, because a yield of the progress window may see this dialog deleted with the
    // program's windows.
    const QPointer<frmGlobal> self(this);
    UserPrompts& prompts = prompts_;
    const std::filesystem::path workingDb = workingDb_;
    SetRunning(true);
    GlobalEditStep step;
    try {
        step = ApplyGlobalEditAsStep(workingDb, codes, *inputs, progress_);
    } catch (const std::exception& error) {
        // The LeagueError names the position, the working database and the cause; nothing changed.
        prompts.ShowFailure(self.data(), QString::fromStdString(error.what()));
    }
    if (!self)
        return;
    SetRunning(false);
    if (step.outcomes.empty())
        return;
    PlayersChanged();
    emit GlobalEditRecorded(QString::fromStdString(GlobalEditStepText(codes)), step.changes,
                            QString::fromStdString(GlobalEditSummary(step.outcomes)));
    if (self)
        emit GlobalEditApplied();
}

void frmGlobal::cmdCancel_Click() {
    hide();
}

void frmGlobal::cmdHelp_Click() {
    ShowHelpContext(kHelpGlobalEdit);
}

} // namespace tavrel
