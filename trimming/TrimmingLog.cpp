#include "trimming/TrimmingLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.trimming.debug=true").
Q_LOGGING_CATEGORY(lcTrimming, "velarix.trimming", QtInfoMsg)
