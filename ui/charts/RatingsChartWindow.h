#pragma once

#include <QWidget>
#include <filesystem>

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class UserPrompts;

namespace tavrel {

// View > Ratings Chart: how one rating (actual and potential) is spread over the players of a
// team, the league or the free agents, at one position or all. It draws what the core reads and
// reads again whenever it is told the players changed and whenever it is activated.
class RatingsChartWindow : public QWidget {
    Q_OBJECT
public:
    RatingsChartWindow(std::filesystem::path workingDb, UserPrompts& prompts,
                       QWidget* parent = nullptr);

    // Reads the team list and the chosen rating again, keeping the choices.
    void Refresh();
    // Each league has its own working database: the one Refresh reads next.
    void SetWorkingDatabase(std::filesystem::path workingDb) { workingDb_ = std::move(workingDb); }

    QChartView* Chart() const { return chart_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void FillTeams();
    void Draw();
    void SaveImage();

    std::filesystem::path workingDb_;
    UserPrompts& prompts_;
    QComboBox* cboTeam_ = nullptr;
    QComboBox* cboPosition_ = nullptr;
    QComboBox* cboRating_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* cmdSaveImage_ = nullptr;
};

} // namespace tavrel
