#include "Velarix/widgets/Icons.h"

namespace velarix {

QIcon themedIcon(const char* themeName, const char* fallback) {
    const QIcon bundled(QStringLiteral(":/velarix/icons/") + QLatin1String(fallback));
    return QIcon::fromTheme(QLatin1String(themeName), bundled);
}

} // namespace velarix
