#pragma once

#include <QLoggingCategory>

// The import's diagnostics: cards found and identified, copies and joins.
Q_DECLARE_LOGGING_CATEGORY(lcImport)
