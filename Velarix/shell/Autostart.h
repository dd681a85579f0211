#pragma once

#include "core/Result.h"

#include <QString>

namespace velarix {

// Starting at login through an XDG autostart entry that launches the application in the background.
class Autostart {
public:
    // $XDG_CONFIG_HOME/autostart/app.tarnwick.Velarix.desktop
    static QString entryPath();
    static bool isEnabled();
    // Writes the entry for the given program (by default this one) or removes it.
    static Result<void> setEnabled(bool enabled, const QString& program = {});
};

} // namespace velarix
