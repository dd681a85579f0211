#pragma once

#include <QString>

namespace velarix {

inline const QString kBundleIdentifier = QStringLiteral("app.tarnwick.Velarix");
inline const QString kApplicationName = QStringLiteral("Velarix");
inline const QString kApplicationVersion = QStringLiteral(VELARIX_VERSION);

} // namespace velarix
