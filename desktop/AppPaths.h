#pragma once

#include <QString>

namespace velarix {

// Where the application keeps its files; all of them follow the XDG variables at the time of the call.
struct AppPaths {
    // $XDG_DATA_HOME/app.tarnwick.Velarix (not created here).
    static QString dataDirectory();
    // $XDG_DATA_HOME/app.tarnwick.Velarix/default.store
    static QString storeFile();
    // $XDG_CONFIG_HOME/app.tarnwick.Velarix/settings.json
    static QString settingsFile();
    // $XDG_RUNTIME_DIR/app.tarnwick.Velarix (private to the user, emptied at logout), or a per-user
    // folder in the temporary folder when the variable is not set. Not created here.
    static QString runtimeDirectory();
    // The user's Videos folder (XDG_VIDEOS_DIR), the home folder when there is none.
    static QString videosDirectory();
};

} // namespace velarix
