#pragma once

#include "cli/Command.h"

namespace velarix::cli {

// Analyses the files with the trimming model and trims each to its suggestion (or, with `dryRun`,
// says what it would do), printing a line per file and the completion text. Suggestions marked "check
// before trimming" are skipped unless `trustSuggestions`. Returns the exit status.
int trimSuggested(Invocation& invocation, const QStringList& files, bool dryRun, bool keepOriginal,
                  bool trustSuggestions = false);

// The saved choice of keeping replaced originals in the Trash.
bool keepOriginalsSetting();

} // namespace velarix::cli
