#include "desktop/FolderOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace velarix {

void openFolderInFileBrowser(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace velarix
