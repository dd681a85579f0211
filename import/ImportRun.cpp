#include "history/HistoryStore.h"
#include "import/FileCopy.h"
#include "import/VelarixModel.h"
#include "platform/Log.h"
#include "platform/PosixFile.h"
#include "platform/Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QSemaphore>
#include <QtConcurrent>

#include <cerrno>
#include <sys/stat.h>

namespace velarix {

namespace {

struct RunItem {
    QString source;
    QString fileName; // relative to the output root
};

struct RunOutcome {
    ImportReport report;
    QStringList folders;
    std::optional<QString> cardUUID;
    std::optional<Error> cardUUIDError;
};

// statvfs needs something that exists: the output root may still have to be created.
QString existingAncestor(QString path) {
    while (!QFileInfo::exists(path) && path != QDir::rootPath())
        path = QFileInfo(path).absolutePath();
    return path;
}

// Like mkdir -p, but keeps the system's reason for a failure.
Result<void> makeFolders(const QString& path) {
    if (QFileInfo(path).isDir())
        return {};
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path) {
        if (auto made = makeFolders(parent); !made)
            return made;
    }
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST)
        return errnoError(errno);
    return {};
}

QString byteCount(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

void logCopyFailure(const QString& source, const QString& destination, const QString& reason) {
    qCCritical(lcApp, "failed to copy %s to %s: %s", qUtf8Printable(QUrl::fromLocalFile(source).toString()),
               qUtf8Printable(QUrl::fromLocalFile(destination).toString()), qUtf8Printable(reason));
}

// `verified` is called for each copy that reached its final name, so that it is recorded at once: a
// run that is killed later must not leave verified copies unrecorded (a re-run would duplicate them).
RunOutcome copyAll(const QList<RunItem>& items, const QString& root, QPointer<ImportProgress> progress,
                   const ImportOptions& options, const std::optional<QString>& cardPath,
                   const std::shared_ptr<VolumeProvider>& volumes,
                   const std::function<void(const QString& cardUUID, const QString& source)>& verified) {
    RunOutcome outcome;
    if (cardPath) {
        auto uuid = volumes->volumeUUID(*cardPath);
        if (uuid)
            outcome.cardUUID = *uuid;
        else
            outcome.cardUUIDError = uuid.error();
    }
    // Set once on the GUI thread and never replaced during the run; cancel() is thread-safe.
    ImportProgress* const shared = progress.data();
    const auto isCancelled = [shared] {
        return shared->isCancelled();
    };
    const QString cleanRoot = QDir::cleanPath(root);
    for (qsizetype index = 0; index < items.size(); ++index) {
        const RunItem& item = items[index];
        const QString destination = QDir::cleanPath(cleanRoot + u'/' + item.fileName);
        const QString folder = QFileInfo(destination).absolutePath();
        const auto failed = [&](const QString& reason) {
            logCopyFailure(item.source, destination, reason);
            outcome.report.failed.append({item.source, reason});
        };
        if (folder != cleanRoot) {
            if (auto made = makeFolders(folder); !made) {
                failed(QStringLiteral("The folder %1 could not be created: %2")
                           .arg(folder, made.error().message));
                continue;
            }
        }
        if (!outcome.folders.contains(folder)) {
            outcome.folders.append(folder);
            removeStaleTemporaries(folder);
        }

        CopyControl control;
        control.isCancelled = isCancelled;
        control.verify = options.verify;
        const QString name = QFileInfo(item.source).fileName();
        control.progress = [progress, name](qint64 copied, qint64 total) {
            QMetaObject::invokeMethod(
                progress, [progress, name, copied, total] { progress->setCurrentFile(name, copied, total); },
                Qt::QueuedConnection);
        };
        if (options.afterChunk)
            control.afterChunk = [&options, source = item.source](qint64 copied) {
                options.afterChunk(source, copied);
            };

        auto copied = copyFile(item.source, destination, control);
        QMetaObject::invokeMethod(
            progress, [progress, done = index + 1] { progress->setCompletedUnitCount(done); },
            Qt::QueuedConnection);
        if (!copied) {
            failed(copied.error().message);
            if (copied.isCancelled())
                outcome.report.cancelled = true;
            continue;
        }
        outcome.report.imported.append({item.source, *copied});
        if (outcome.cardUUID)
            verified(*outcome.cardUUID, item.source);
        if (isCancelled()) {
            outcome.report.cancelled = true;
            break;
        }
    }
    return outcome;
}

} // namespace

QFuture<ImportReport> VelarixModel::importSelectedVideos(HistoryStore& context,
                                                         const ImportOptions& options) {
    if (m_importProgress) {
        ImportReport busy;
        busy.notStarted = QStringLiteral("An import is already running.");
        return QtFuture::makeReadyFuture(busy);
    }
    const QList<ResolvedOutputFile> plan = resolvedOutputFiles();
    const QString root = m_outputLocation;

    qint64 needed = 0;
    QList<RunItem> items;
    for (const auto& planned : plan) {
        items.append({planned.video->path(), planned.fileName});
        needed += qMax<qint64>(0, planned.video->fileSize());
    }
    const std::optional<quint64> available = m_volumes->freeSpace(existingAncestor(root));
    if (available && quint64(needed) > *available) {
        ImportReport report;
        report.notStarted = QStringLiteral("Not enough free space in %1: %2 needed, %3 available.")
                                .arg(root, byteCount(needed), byteCount(qint64(*available)));
        setError(ApplicationError::userError(*report.notStarted));
        return QtFuture::makeReadyFuture(report);
    }

    const std::optional<qint64> nextJump =
        plan.isEmpty() ? std::nullopt : std::optional<qint64>(plan.last().jump + 1);
    setImportProgress(new ImportProgress(items.size()));
    QPointer<ImportProgress> progress(m_importProgress.data());

    auto promise = std::make_shared<QPromise<ImportReport>>();
    promise->start();
    QFuture<ImportReport> future = promise->future();

    // Only copies that completed and were verified count as imported: a user may format the card
    // trusting that mark. Each is recorded as soon as it has its final name, and the copying thread
    // waits for that before it goes on, so a process killed mid-run has recorded what it finished.
    auto recordError = std::make_shared<std::optional<ApplicationError>>();
    auto recordedAny = std::make_shared<bool>(false);
    QPointer<VelarixModel> self(this);
    ImportProgress* const run = progress.data(); // lives until the finish step; cancel() is thread-safe
    auto verified = [self, &context, recordError, recordedAny, run](const QString& cardUUID,
                                                                    const QString& source) {
        // Released when the record step has run, or when it was dropped unrun with the model.
        auto recorded = std::make_shared<QSemaphore>();
        auto done =
            std::shared_ptr<QSemaphore>(recorded.get(), [recorded](QSemaphore*) { recorded->release(); });
        QMetaObject::invokeMethod(
            self,
            [self, &context, recordError, recordedAny, cardUUID, name = QFileInfo(source).fileName(), done] {
                if (!self->sdCardPath())
                    return;
                // The manifest once per run: a write-protected card would complain for every file.
                if (auto written = self->recordImport(cardUUID, {name}, context, !*recordedAny); written)
                    *recordedAny = true;
                else if (!*recordError)
                    *recordError = ApplicationError::internalError(
                        QStringLiteral("failed to save sd card name: ") + written.error().message);
            },
            Qt::QueuedConnection);
        done.reset();
        // Bounded, so that a GUI thread that no longer handles events cannot stall the run.
        for (int tries = 0; tries < 50 && !recorded->tryAcquire(1, 100); ++tries) {
            if (run->isCancelled())
                break;
        }
    };
    QtConcurrent::run(copyAll, items, root, progress, options, m_sdCardPath, m_volumes, verified)
        .then(this, [this, promise, nextJump, itemCount = items.size(), recordError,
                     recordedAny](const RunOutcome& outcome) {
            setImportProgress(nullptr);
            const ImportReport& report = outcome.report;

            if (m_sdCardPath && !report.imported.isEmpty() && outcome.cardUUIDError && !*recordError)
                *recordError = ApplicationError::internalError(
                    QStringLiteral("failed to save sd card name: ") + outcome.cardUUIDError->message);
            if (*recordedAny)
                setImportStateRefreshID(QUuid::createUuid());

            if (report.cancelled) {
                setError(ApplicationError::userError(QStringLiteral("Cancelled")));
            } else if (!report.failed.isEmpty()) {
                setError(
                    ApplicationError::userError(QStringLiteral("%1 of %2 videos could not be imported: %3")
                                                    .arg(report.failed.size())
                                                    .arg(itemCount)
                                                    .arg(report.failed.first().error)));
            } else if (*recordError) {
                setError(**recordError);
            }

            if (m_autoIncrementJumpNumber && nextJump && !report.imported.isEmpty())
                setJumpNumber(*nextJump);

            if (m_openFolderAferImport && m_folderOpener)
                m_folderOpener(outcome.folders.size() == 1 ? outcome.folders.first() : m_outputLocation);

            Q_EMIT importFinished(report);
            promise->addResult(report);
            promise->finish();
        });
    return future;
}

} // namespace velarix
