#pragma once

#include <QString>

namespace velarix {

// Shows a folder in the desktop's file browser.
void openFolderInFileBrowser(const QString& path);

} // namespace velarix
