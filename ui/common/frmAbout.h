#pragma once

#include "ui/common/SystemInfo.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class UserPrompts;

namespace tavrel {

// The About box: title, version, what Tavrel is for, its home page, and a System Info button.
// The main window shows it modally; OK closes it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(UserPrompts& prompts, QWidget* parent = nullptr);

    // Where the program's own system-information window takes its lines from; an empty list
    // means there is nothing to show. Tests replace it.
    using SystemInfoSource = std::function<QList<SystemInfoItem>()>;
    void SetSystemInfoSource(SystemInfoSource source);

    // Starts the platform's system information tool where there is one, otherwise shows the
    // program's own window; "System Information Is Unavailable At This Time" when neither can.
    void StartSysInfo();

    // The program's own system-information window while it is open.
    QWidget* OpenSystemInfoWindow() const { return sysInfo_.data(); }

private:
    UserPrompts& prompts_;
    SystemInfoSource systemInfo_;
    QPointer<QWidget> sysInfo_;

    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    QLineEdit* txtHomePage_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;
};

} // namespace tavrel
