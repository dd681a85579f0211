#pragma once

#include <QLoggingCategory>

// The application-wide log channel "<bundle identifier>.App": the messages whose wording is fixed
// (failures a user or support reads in the system log) go here, from every library.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
