#include "Velarix/widgets/AccessibleProgress.h"

#include <QProgressBar>

namespace velarix {

void setProgressStatus(QProgressBar* bar, const QString& status) {
    // Every setAccessibleDescription is an event a screen reader may speak: only real changes.
    if (bar->accessibleDescription() != status)
        bar->setAccessibleDescription(status);
}

} // namespace velarix
