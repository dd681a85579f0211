#pragma once

#include <QLoggingCategory>

// The command line's diagnostics.
Q_DECLARE_LOGGING_CATEGORY(lcCli)
