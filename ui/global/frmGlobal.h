#pragma once

#include "globaledit/GlobalEdit.h"
#include "store/CellChanges.h"

#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class UserPrompts;

namespace tavrel {

class PreviewPanel;
class Progress;
struct GlobalEditRecipe;

// The Global Edit dialog: positions, a team, a percentage for the actual and the potential value
// of each rating, and Min and Max bounds. OK checks every box, then runs the engine over the
// ticked positions, one after the other in the order of the boxes; the dialog stays open and is
// disabled during a run. Cancel only hides it, so everything typed stays for the next showing.
// Closing it through its frame deletes it (it is created with Qt::WA_DeleteOnClose), and the next
// one starts afresh.
class frmGlobal : public QDialog {
    Q_OBJECT
public:
    // Messages go through `prompts`; `progress` is where the engine shows its progress (may be
    // null).
    frmGlobal(std::filesystem::path workingDb, UserPrompts& prompts, Progress* progress = nullptr,
              QWidget* parent = nullptr);

    // Fills cboTeam: "All" (1001), each distinct team name in name order, "Free Agents" (0), and
    // selects "All". A working database that cannot be read is reported, leaving "All" and
    // "Free Agents".
    void FillTeamCombo();

    // A league has been opened anew: its teams replace the old ones in cboTeam now if the
    // dialog is showing, otherwise when it is next shown. Everything else is kept.
    void LeagueOpened();
    // Each league has its own working database: the one the next run and preview use.
    void SetWorkingDatabase(std::filesystem::path workingDb) { workingDb_ = std::move(workingDb); }

    // Sets SelectedPosition and SelectedPositionText from a check-box index 0..14; any other
    // index changes nothing.
    void SelectPosition(int index);

    int SelectedTeam() const { return selectedTeam_; }
    int SelectedPosition() const { return selectedPosition_; }
    QString SelectedPositionText() const { return selectedPositionText_; }
    bool IsRunning() const { return running_; }

    // The players changed elsewhere (the main window's fields): a preview shown no longer holds.
    void PlayersChanged();
    PreviewPanel* Preview() const { return preview_; }

    QCheckBox* chkPosition(int index) const { return chkPosition_.at(index); }
    QLineEdit* ActualBox(int ratingIndex) const { return actualBoxes_.at(ratingIndex); }
    QLineEdit* PotentialBox(int ratingIndex) const { return potentialBoxes_.at(ratingIndex); }

signals:
    // Before the first position runs: the main window stores its pending edits now, so they
    // neither overwrite nor miss the new values.
    void GlobalEditStarting();
    // After a run changed the working database (a run that fails changes nothing).
    void GlobalEditApplied();
    // Before a preview reads the players: the main window stores its pending edits now.
    void PreviewStarting();
    // Just before GlobalEditApplied, when what the run changed is known: the changed cells as
    // one step named `text` ("Global Edit of QB, WR"), and `summary`, the players changed per
    // position.
    void GlobalEditRecorded(const QString& text, const tavrel::CellChanges& changes,
                            const QString& summary);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    // Every box converted once; nothing, after "Please Enter a Valid Number" with the focus on
    // the first box that does not hold a valid number.
    std::optional<GlobalEditInputs> ReadInputs();
    void SetRunning(bool running);

    // Preview and recipes (frmGlobalPreview.cpp).
    void BuildPreviewButtons();
    void WatchInputs();
    // Shows the preview below the rest, as high as it needs or as the screen leaves room for.
    void ShowPreviewArea();
    std::vector<int> TickedPositionCodes() const;
    void cmdPreview_Click();
    void cmdSaveRecipe_Click();
    void cmdLoadRecipe_Click();
    // Puts every value of the recipe into the boxes, ticks and team list; false, after a message,
    // when the recipe's team is not in this league (nothing is changed then).
    bool ShowRecipe(const GlobalEditRecipe& recipe, const QString& file);

    std::filesystem::path workingDb_;
    UserPrompts& prompts_;
    Progress* progress_;

    int selectedTeam_ = kAllTeams;
    int selectedPosition_ = 0;
    QString selectedPositionText_;
    bool teamsStale_ = false;
    bool running_ = false;

    QComboBox* cboTeam_ = nullptr;
    QLineEdit* txtActMax_ = nullptr;
    QLineEdit* txtActMin_ = nullptr;
    QLineEdit* txtPotMax_ = nullptr;
    QLineEdit* txtPotMin_ = nullptr;
    std::array<QCheckBox*, kPositionCount> chkPosition_{};
    std::array<QLineEdit*, kRatingCount> actualBoxes_{};
    std::array<QLineEdit*, kRatingCount> potentialBoxes_{};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdHelp_ = nullptr;
    QPushButton* cmdPreview_ = nullptr;
    QPushButton* cmdSaveRecipe_ = nullptr;
    QPushButton* cmdLoadRecipe_ = nullptr;
    PreviewPanel* preview_ = nullptr;
    QScrollArea* previewArea_ = nullptr; // scrolls the preview when the screen is too low for it
};

} // namespace tavrel
