#include "trimming/TrimInPlace.h"

#include "desktop/Trash.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velarix {

Result<QUrl> trimVideoInPlace(VideoTrimExportRequest request, const CancelToken* cancel,
                              const std::function<void(double)>& progress) {
    if (request.keepOriginalInTrash && !request.original.trash) {
        // Through a symbolic link the file it names is trimmed, so its Trash is the one that counts.
        const QFileInfo source(request.url.toLocalFile());
        auto claim = TrashClaim::claim(source.isSymLink() ? source.canonicalFilePath() : source.filePath());
        if (!claim)
            return Error::make(claim.error().domain, claim.error().code,
                               QCoreApplication::translate(
                                   "TrimExport", "Not trimmed, because its original could not be kept in the "
                                                 "Trash: %1 With “Keep originals in the Trash” off it can be "
                                                 "trimmed, and its original deleted.")
                                   .arg(claim.error().message),
                               claim.error().kind);
        request.original.trash = std::make_shared<TrashClaim>(std::move(*claim));
        for (const QString& chapter : request.laterChapters) {
            auto later = TrashClaim::claim(chapter);
            if (!later)
                return Error::make(later.error().domain, later.error().code,
                                   QCoreApplication::translate(
                                       "TrimExport",
                                       "Not trimmed, because the chapter %1 could not be kept in the "
                                       "Trash: %2")
                                       .arg(QFileInfo(chapter).fileName(), later.error().message),
                                   later.error().kind);
            request.original.laterChapterTrash.push_back(std::make_shared<TrashClaim>(std::move(*later)));
        }
    }
    return exportTrimmedVideo(request, cancel, progress);
}

} // namespace velarix
