#include "platform/Log.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="app.tarnwick.Velarix.App.debug=true").
Q_LOGGING_CATEGORY(lcApp, "app.tarnwick.Velarix.App", QtInfoMsg)

// The same for each library's own channel, e.g. QT_LOGGING_RULES="velarix.platform.debug=true".
Q_LOGGING_CATEGORY(lcPlatform, "velarix.platform", QtInfoMsg)
