#pragma once

#include <QLoggingCategory>

// The history store's diagnostics: moves aside, schema upgrades.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
