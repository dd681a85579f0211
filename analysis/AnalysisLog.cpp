#include "analysis/AnalysisLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.analysis.debug=true").
Q_LOGGING_CATEGORY(lcAnalysis, "velarix.analysis", QtInfoMsg)
