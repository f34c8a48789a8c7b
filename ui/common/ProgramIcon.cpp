#include "ui/common/ProgramIcon.h"

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icons/tavrel.svg"));
}
