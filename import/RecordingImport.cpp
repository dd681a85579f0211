#include "import/RecordingImport.h"

#include "import/ImportTemporary.h"

#include "import/ChapterJoin.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"
#include "storage/RegionVerifier.h"

#include <QCoreApplication>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <optional>

namespace velarix {

QString chapterDestination(const QString& plannedName, const QString& firstChapter, const QString& chapter) {
    const qsizetype slash = plannedName.lastIndexOf(u'/');
    const QString folder = plannedName.left(slash + 1);
    QString name = plannedName.mid(slash + 1);
    const QString firstBase = QFileInfo(firstChapter).completeBaseName();
    const qsizetype at = name.lastIndexOf(firstBase);
    if (at < 0)
        return plannedName; // the no-replace naming numbers them
    name.replace(at, firstBase.size(), QFileInfo(chapter).completeBaseName());
    return folder + name;
}

Result<QString> importRecording(const QStringList& chapters, const QString& destination,
                                const CopyControl& control) {
    const auto isCancelled = [&] {
        return velarix::isCancelled(control.cancel);
    };
    if (isCancelled())
        return Error::cancellation();
    qint64 lastModifiedNs = 0;
    qint64 lastAccessedNs = 0;
    for (const QString& chapter : chapters) {
        auto status = fileStatus(chapter);
        if (!status)
            return Error::make(
                kCopyErrorDomain, 1,
                QStringLiteral("%1: %2").arg(QFileInfo(chapter).fileName(), status.error().message));
        if (status->type != FileStatus::Type::regular || status->size < 1)
            return Error::make(kCopyErrorDomain, 1,
                               QCoreApplication::translate("Import", "%1: Invalid file size")
                                   .arg(QFileInfo(chapter).fileName()));
        lastModifiedNs = status->modifiedNs;
        lastAccessedNs = status->accessedNs;
    }

    const QFileInfo target(destination);
    const QString folder = target.absolutePath();
    auto openedDir = openPath(folder, O_RDONLY | O_DIRECTORY);
    if (!openedDir)
        return openedDir.error();
    const UniqueFd dir = std::move(*openedDir);
    // Named and locked like the temporaries of copies, so that the sweep of a later run removes it
    // when this process dies.
    auto created = createTemporary(dir.get());
    if (!created)
        return created.error();
    const std::unique_ptr<TemporaryFile> temporary = std::move(*created);
    const QString temporaryPath = folder + u'/' + QFile::decodeName(temporary->name());

    JoinControl join;
    join.cancel = control.cancel;
    join.samples = control.samples.get();
    // The samples are read back behind the writer; the index, written last, is read at the end.
    std::optional<RegionVerifier> readBack;
    if (control.verify)
        join.verifier = &readBack.emplace(temporary->fd(), control.cancel);
    join.progress = [&](qint64 done, qint64 total) {
        if (control.afterChunk)
            control.afterChunk(done);
        if (control.progress)
            control.progress(done, total);
    };
    auto joined = joinChapters(chapters, temporary->fd(), temporaryPath, join);
    if (!joined)
        return joined.error();
    if (auto kept = setFileTimes(temporary->fd(), lastAccessedNs, lastModifiedNs); !kept)
        return kept.error();
    if (auto synced = syncToDisk(temporary->fd()); !synced)
        return synced.error();
    if (readBack) {
        auto verdict = readBack->finish();
        if (!verdict)
            return verdict.error();
        if (*verdict == RegionVerifier::Verdict::differs)
            return Error::make(kCopyErrorDomain, 3,
                               QCoreApplication::translate("velarix::RecordingImport",
                                                           "The joined video %1 does not match its chapters "
                                                           "(the bytes read back differ from those written).")
                                   .arg(target.fileName()));
        const bool samplesReadBack = *verdict == RegionVerifier::Verdict::matches;
        if (auto verified =
                verifyJoin(temporary->fd(), temporaryPath, *joined, control.cancel, samplesReadBack);
            !verified)
            return verified.error();
    }
    if (isCancelled())
        return Error::cancellation();
    if (auto closed = temporary->close(); !closed)
        return closed.error();

    auto named = nameWithoutReplacing(dir.get(), temporary->name(), folder, target.fileName());
    if (named)
        temporary->published();
    return named;
}

} // namespace velarix
