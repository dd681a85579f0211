#pragma once

#include <QLoggingCategory>

// The trim's diagnostics: the cut, working folders, the originals freed or kept.
Q_DECLARE_LOGGING_CATEGORY(lcTrimming)
