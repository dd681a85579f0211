#pragma once

#include "core/Result.h"
#include "storage/FileLock.h"

#include <QString>

#include <memory>
#include <optional>

namespace velarix {

// The error code when another process (a window or velarix-cli) is importing the same card.
constexpr int kCardImportBusy = 1;

// Takes the lock that lets one import at a time copy from a card, across all Velarix processes of
// the user: a file named after the card's UUID (or its folder, when it has none) in the runtime
// folder. Fails at once, without waiting, when another import holds it.
Result<std::shared_ptr<FileLock>> lockCardForImport(const std::optional<QString>& volumeUUID,
                                                    const QString& cardPath);

} // namespace velarix
