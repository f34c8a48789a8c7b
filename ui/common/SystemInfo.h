#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace tavrel {

inline constexpr const char* kSysInfoUnavailableMessage =
    "System Information Is Unavailable At This Time";

struct SystemInfoItem {
    QString name;
    QString value;
};

// What the program's own system-information window lists: Tavrel's version, the operating
// system, the CPU architecture, the Qt and SQLite versions.
QList<SystemInfoItem> CollectSystemInformation();

// The program's own system-information window, for platforms without a system tool to start.
class SystemInfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit SystemInfoWindow(const QList<SystemInfoItem>& items, QWidget* parent = nullptr);
};

#ifdef Q_OS_WIN
// Reads a text (or 32-bit number, as decimal text) value of the registry. False, with `value`
// emptied, when the key or the value cannot be read.
bool GetKeyValue(HKEY root, const QString& keyName, const QString& valueName, QString& value);

// Starts the system's information tool where the registry says it is; false when it cannot.
bool StartWindowsSystemInformation();
#endif

} // namespace tavrel
