#include "Velarix/widgets/AppLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.app.debug=true").
Q_LOGGING_CATEGORY(lcVelarix, "velarix.app", QtInfoMsg)
