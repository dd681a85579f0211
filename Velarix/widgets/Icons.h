#pragma once

#include <QIcon>

namespace velarix {

// The desktop theme's icon where the theme has one, else our bundled drawing, so that no button is
// ever blank. `fallback` names a file under :/velarix/icons/.
QIcon themedIcon(const char* themeName, const char* fallback);

} // namespace velarix
