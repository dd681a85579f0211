#include "desktop/DesktopLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.desktop.debug=true").
Q_LOGGING_CATEGORY(lcDesktop, "velarix.desktop", QtInfoMsg)
