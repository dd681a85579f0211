#include "core/Log.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="app.tarnwick.Velarix.App.debug=true").
Q_LOGGING_CATEGORY(lcApp, "app.tarnwick.Velarix.App", QtInfoMsg)
