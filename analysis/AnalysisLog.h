#pragma once

#include <QLoggingCategory>

// The analysis's diagnostics: its stages, what each source found, and the decision.
Q_DECLARE_LOGGING_CATEGORY(lcAnalysis)
