#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcApp, "app.tarnwick.Velarix.App")
