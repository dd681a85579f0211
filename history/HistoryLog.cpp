#include "history/HistoryLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.history.debug=true").
Q_LOGGING_CATEGORY(lcHistory, "velarix.history", QtInfoMsg)
