#pragma once

#include <QWidget>
#include <functional>

class QTimer;

// The splash window shown at start: product name and version above the other windows, with the
// wait cursor. About a second after it is shown it makes the main window visible (Timer1); about
// three seconds after, it closes itself and gives the cursor back (Timer2).
class frmSplash2 : public QWidget {
    Q_OBJECT
public:
    // `showMainWindow` makes the main window visible, creating it the first time.
    explicit frmSplash2(std::function<void()> showMainWindow, QWidget* parent = nullptr);
    ~frmSplash2() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer1_Timer();
    void Timer2_Timer();

    std::function<void()> showMainWindow_;
    QTimer* Timer1;
    QTimer* Timer2;
    bool waitCursor_ = false;
};
