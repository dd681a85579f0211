#pragma once

#include <QLoggingCategory>

// The desktop application's diagnostics: windows, previews, updates, its single instance.
Q_DECLARE_LOGGING_CATEGORY(lcVelarix)
