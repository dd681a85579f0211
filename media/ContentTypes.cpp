#include "media/ContentTypes.h"

#include "media/MediaOpen.h"

#include <QMimeDatabase>

namespace velarix {

bool isMovieFileName(const QString& fileName) {
    if (isThreeSixtyFile(fileName))
        return true;
    // QMimeDatabase is thread-safe; by name only, so no file is opened.
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    return type.isValid() && type.name().startsWith(QLatin1String("video/"));
}

} // namespace velarix
