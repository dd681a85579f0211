#pragma once

#include <QLoggingCategory>

// The desktop library's diagnostics: volumes, settings, the Trash.
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
