#pragma once

#include "core/Result.h"

#include <QString>

namespace velarix {

// Starts a process that removes `folder` (recursively), then `entry`, and goes on after this one
// ends: in a session of its own, so that a Ctrl-C in the terminal or its closing does not stop it,
// with no terminal or pipe of ours open. It inherits `heldDescriptor` (for example one holding a
// lock on the folder), so whatever that descriptor holds lasts until the removal is done.
Result<void> removeInDetachedProcess(const QString& folder, const QString& entry, int heldDescriptor);

} // namespace velarix
