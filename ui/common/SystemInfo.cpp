#include "ui/common/SystemInfo.h"

#include "ui/common/ProgramVersion.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSysInfo>
#include <QVBoxLayout>
#include <SQLiteCpp/Database.h>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QProcess>
#include <cstring>
#endif

namespace tavrel {

QList<SystemInfoItem> CollectSystemInformation() {
    QList<SystemInfoItem> items;
    items.append({QStringLiteral("Tavrel"), VersionText()});
    items.append({QStringLiteral("Operating system"), QSysInfo::prettyProductName()});
    items.append({QStringLiteral("Kernel"),
                  QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()});
    items.append({QStringLiteral("CPU architecture"), QSysInfo::currentCpuArchitecture()});
    items.append({QStringLiteral("Qt version"), QString::fromLatin1(qVersion())});
    items.append({QStringLiteral("SQLite version"), QString::fromLatin1(SQLite::getLibVersion())});
    return items;
}

SystemInfoWindow::SystemInfoWindow(const QList<SystemInfoItem>& items, QWidget* parent)
    : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("frmSysInfo"));
    setWindowTitle(QStringLiteral("System Information"));
    auto* form = new QFormLayout;
    for (const SystemInfoItem& item : items) {
        auto* value = new QLabel(item.value, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(item.name + QLatin1Char(':'), value);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

#ifdef Q_OS_WIN
bool GetKeyValue(HKEY root, const QString& keyName, const QString& valueName, QString& value) {
    HKEY key = nullptr;
    // Reading is all this needs; asking for write access to a machine-wide key fails for
    // ordinary users.
    if (RegOpenKeyExW(root, reinterpret_cast<const wchar_t*>(keyName.utf16()), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, reinterpret_cast<const wchar_t*>(valueName.utf16()),
                                         nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    if (type == REG_SZ) {
        qsizetype n = qsizetype(size / sizeof(wchar_t));
        if (n > 0 && buffer[n - 1] == L'\0')
            --n;
        value = QString::fromWCharArray(buffer, n);
    } else if (type == REG_DWORD && size >= sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, buffer, sizeof number);
        value = QString::number(number);
    }
    return true;
}

bool StartWindowsSystemInformation() {
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        return QProcess::startDetached(path, {});
    if (GetKeyValue(HKEY_LOCAL_MACHINE,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), path)) {
        const QString program = path + QStringLiteral("\\MSINFO32.EXE");
        return QFileInfo::exists(program) && QProcess::startDetached(program, {});
    }
    return false;
}
#endif

} // namespace tavrel
