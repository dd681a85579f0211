#pragma once

class QProgressBar;
class QString;

namespace velarix {

// A progress bar tells screen readers its value by itself; this gives it the words around it: what
// runs ("Copying GX010102.MP4 (2 of 9)") as its description, announced when it changes.
void setProgressStatus(QProgressBar* bar, const QString& status);

} // namespace velarix
