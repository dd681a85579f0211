#include "import/ImportLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.import.debug=true").
Q_LOGGING_CATEGORY(lcImport, "velarix.import", QtInfoMsg)
