#pragma once

#include <QLoggingCategory>

// The one application-wide log channel: "<bundle identifier>.App".
Q_DECLARE_LOGGING_CATEGORY(lcApp)
