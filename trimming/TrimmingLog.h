#pragma once

#include <QLoggingCategory>

// The analysis and the trim's diagnostics: stages, decisions, working folders.
Q_DECLARE_LOGGING_CATEGORY(lcTrimming)
