#pragma once

#include <QtGlobal>

namespace velarix {

// Registers the bundled icons; widgets that use them call this so that they work without the shell.
void ensureAppResources();

} // namespace velarix
