#pragma once

#include "base/Progress.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

// The small window the long passes (import, save, Global Edit) show while they run: a message
// line and a bar from 0 to 100. It stands centred above the other windows with the wait cursor
// while shown. The passes call SetValue once per row; the window repaints only when the bar's
// whole-number value changes, and not more than once a frame, so a league of thirty thousand
// players costs a few dozen repaints, not thirty thousand. While it repaints it takes no clicks
// or keys, so no other command can run in the middle of a pass.
class frmStatus : public QWidget, public tavrel::Progress {
    Q_OBJECT
public:
    explicit frmStatus(QWidget* parent = nullptr);
    ~frmStatus() override;

    void Begin(const std::string& caption) override;
    void SetValue(float value) override;
    void End() override;

    // How many times the window let the event loop run since it was made.
    int RepaintCount() const { return repaints_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Repaint();

    QLabel* Label1;
    QLabel* lblFile;
    QProgressBar* ProgressBar1;
    bool waitCursor_ = false;
    int repaints_ = 0;
    QElapsedTimer sinceRepaint_;
};
