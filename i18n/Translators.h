#pragma once

#include <QLocale>
#include <QString>

namespace velarix {

// Replaces the translations installed before with those for the first of `locale`'s UI languages
// that Velarix has, and Qt's own for its standard dialogs. English needs only its plural forms,
// which are always installed. Returns the language loaded ("de"), empty for English.
QString installTranslators(const QLocale& locale);

// Where the compiled translations are looked for: beside an installed program, then the build tree.
QStringList translationDirectories();

} // namespace velarix
