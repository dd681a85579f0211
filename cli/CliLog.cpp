#include "cli/CliLog.h"

// Debug messages are off unless asked for (QT_LOGGING_RULES="velarix.cli.debug=true").
Q_LOGGING_CATEGORY(lcCli, "velarix.cli", QtInfoMsg)
