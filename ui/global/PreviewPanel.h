#pragma once

#include "globaledit/Preview.h"

#include <QWidget>
#include <vector>

class QChartView;
class QComboBox;
class QLabel;
class QTableWidget;

namespace tavrel {

// The lower part of the Global Edit dialog: what a run with the boxes as they were would do. Per
// position the players selected and changed and how often the bounds acted; for the chosen
// position and rating the actual and potential values before and after, as histograms with
// their mean, min and max. It only shows the figures it is given.
class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    void ShowPreview(std::vector<PositionPreview> previews);
    // The boxes or the players have changed since: the figures no longer tell what OK does.
    void MarkStale();
    bool IsStale() const { return stale_; }
    const std::vector<PositionPreview>& Previews() const { return previews_; }

private:
    void ShowRating(int choice);

    std::vector<PositionPreview> previews_;
    bool stale_ = true;
    QLabel* caption_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QComboBox* cboRating_ = nullptr;
    QChartView* actualChart_ = nullptr;
    QChartView* potentialChart_ = nullptr;
    QLabel* actualSummary_ = nullptr;
    QLabel* potentialSummary_ = nullptr;
};

// The height of the preview's scroll area: what the preview wants, at most the `room` the screen
// leaves below the boxes, but never less than 200 pixels (or what it wants, when that is less):
// on a screen too low for that, the dialog moves up instead.
int PreviewAreaHeight(int wanted, int room);

} // namespace tavrel
