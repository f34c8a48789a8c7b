#pragma once

#include <QString>

namespace tavrel {

// The program's version, from the project version CMake sets.
inline constexpr int kVersionMajor = TAVREL_VERSION_MAJOR;
inline constexpr int kVersionMinor = TAVREL_VERSION_MINOR;
inline constexpr int kVersionRevision = TAVREL_VERSION_PATCH;

// "2.0.0"
inline QString VersionText() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace tavrel
