#include "import/VelarixModel.h"

#include "core/Background.h"
#include "core/Log.h"
#include "desktop/AppPaths.h"
#include "desktop/Volumes.h"
#include "history/HistoryStore.h"
#include "import/CardImportLock.h"
#include "import/ImportLog.h"
#include "import/ImportPattern.h"
#include "import/ImportRecorder.h"
#include "import/ImportRun.h"
#include "import/RecordingImport.h"
#include "media/RecordingFiles.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>

// Starting an import of the selected videos and taking its outcome back into the model.
namespace velarix {

namespace {

QString byteCount(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

} // namespace

std::optional<QString> VelarixModel::importPatternProblem() const {
    // A mistyped placeholder would be written into every name as it stands.
    if (const QList<PatternRange> unknown = unknownPlaceholders(m_importPattern); !unknown.isEmpty()) {
        QStringList valid;
        for (Placeholder placeholder : allPlaceholders())
            if (placeholder != Placeholder::folderSeparator)
                valid << placeholderToken(placeholder);
        return tr("%1 is not a placeholder. Use %2, or remove the braces.")
            .arg(m_importPattern.mid(unknown.first().start, unknown.first().length),
                 valid.join(QStringLiteral(", ")));
    }
    for (const QChar c : m_importPattern) {
        if (!c.isSpace() && c != u'/')
            return std::nullopt;
    }
    // Nothing would be left of a name but its extension: a hidden ".MP4".
    return tr("The filename pattern is empty. Enter a pattern such as %1 to import.")
        .arg(kDefaultImportPattern);
}

Result<void> VelarixModel::reserveCardForImport() {
    if (!m_sdCardPath)
        return {};
    if (m_cardImportLock && m_cardImportLockPath == *m_sdCardPath)
        return {};
    m_cardImportLock.reset();
    auto lock = lockCardForImport(m_sdCardVolumeUUID, *m_sdCardPath);
    if (!lock) {
        if (lock.error().code == kCardImportBusy && lock.error().domain == QLatin1String("Import"))
            return lock.error();
        // Without a runtime folder there is no lock to take; the import itself is still safe.
        qCWarning(lcImport, "The card could not be locked for import: %s",
                  qUtf8Printable(lock.error().message));
        return {};
    }
    m_cardImportLock = std::move(*lock);
    m_cardImportLockPath = *m_sdCardPath;
    return {};
}

QFuture<ImportReport> VelarixModel::importSelectedVideos(HistoryStore& context,
                                                         const ImportOptions& options) {
    if (m_importProgress) {
        ImportReport busy;
        busy.notStarted = tr("An import is already running.");
        return QtFuture::makeReadyFuture(busy);
    }
    const auto refuse = [this](const QString& reason) {
        ImportReport report;
        report.notStarted = reason;
        setError(ApplicationError::userError(reason));
        return QtFuture::makeReadyFuture(report);
    };
    if (auto problem = importPatternProblem())
        return refuse(*problem);
    // Before anything is copied: a second import of the same card would copy every file again.
    if (auto reserved = reserveCardForImport(); !reserved)
        return refuse(reserved.error().message);

    const QList<ResolvedOutputFile> plan = resolvedOutputFiles();
    const QString root = m_outputLocation;

    qint64 needed = 0;
    QList<ImportRun::Item> items;
    // What the history records of each source, and which row it is, by source path.
    auto cardFiles = std::make_shared<QHash<QString, ImportedFile>>();
    // A jump's day is the day its first clip began.
    QHash<qint64, QDate> jumpDays;
    for (const auto& planned : plan) {
        if (!jumpDays.contains(planned.jump))
            jumpDays.insert(planned.jump, planned.video->created().date());
    }
    QHash<QString, QString> rowIds;
    for (const auto& planned : plan) {
        const VideoFileRow& video = *planned.video;
        const QStringList chapters = video.chapterPaths();
        const QList<qint64> sizes = video.chapterSizes();
        if (chapters.size() > 1 && m_joinChapters) {
            items.append({video.path(), planned.fileName, qMax<qint64>(0, video.fileSize()), chapters});
        } else {
            for (qsizetype i = 0; i < chapters.size(); ++i)
                items.append({chapters[i],
                              chapterDestination(planned.fileName, chapters.first(), chapters[i]),
                              qMax<qint64>(0, sizes.value(i)),
                              {}});
        }
        needed += qMax<qint64>(0, video.fileSize());
        // Each chapter is its own record, so that the history knows every file that was copied.
        // The first chapter carries the recording's place in the jump log.
        const bool dated = video.created() != VideoFileRow::distantPast();
        for (qsizetype i = 0; i < chapters.size(); ++i) {
            ImportedFile file{
                CardFile{QFileInfo(chapters[i]).fileName(), video.chapterRelativePath(i), sizes.value(i)},
                options.verify, std::nullopt};
            if (i == 0 && dated)
                file.jump = JumpClip{planned.jump, jumpDays.value(planned.jump), video.created(),
                                     video.created().addMSecs(qint64(video.duration() * 1000))};
            cardFiles->insert(chapters[i], file);
            rowIds.insert(chapters[i], video.id());
        }
        // The files beside it follow the file they belong to, each copied and recorded on its own.
        const QStringList& companions = video.companionPaths();
        for (qsizetype i = 0; i < companions.size(); ++i) {
            const CompanionKind kind = companionKind(companions[i]);
            if (kind != CompanionKind::lens &&
                (!m_copySidecars || (kind == CompanionKind::proxy && !m_copyProxies)))
                continue;
            const QString owner = companionOwner(chapters, companions[i]);
            const QString ownerName = owner == chapters.first()
                                          ? planned.fileName
                                          : chapterDestination(planned.fileName, chapters.first(), owner);
            const qint64 size = qMax<qint64>(0, video.companionSizes().value(i));
            items.append({companions[i], companionDestination(ownerName, owner, companions[i]), size, {}});
            needed += size;
            cardFiles->insert(companions[i], ImportedFile{CardFile{QFileInfo(companions[i]).fileName(),
                                                                   video.companionRelativePath(i), size},
                                                          options.verify, std::nullopt});
            rowIds.insert(companions[i], video.id());
        }
    }
    // An unplugged drive leaves its mount point missing, or an empty folder of the system disk: the
    // destination must exist, only the pattern's subfolders are made. The user's own Videos folder
    // is the exception, made when missing.
    if (!plan.isEmpty() && !QFileInfo(root).isDir() &&
        (QDir::cleanPath(root) != QDir::cleanPath(AppPaths::videosDirectory()) || !makeFolders(root))) {
        m_cardImportLock.reset();
        const QString reason =
            QFileInfo::exists(root)
                ? tr("The destination %1 is not a folder. Choose another folder.")
                      .arg(QDir::toNativeSeparators(root))
                : tr("The destination folder %1 does not exist. Connect its drive or choose "
                     "another folder.")
                      .arg(QDir::toNativeSeparators(root));
        ImportReport report;
        report.notStarted = reason;
        setError(ApplicationError::userError(reason, ApplicationError::Recovery::changeDestination));
        return QtFuture::makeReadyFuture(report);
    }
    // A destination we may not write to fails every copy: say so before starting, and offer another.
    if (const QString existing = existingAncestor(root); !plan.isEmpty() && QFileInfo(existing).isDir()) {
        if (auto writable = checkWritableFolder(existing); !writable) {
            const QString reason = writable.error().message;
            ImportReport report;
            report.notStarted = tr("Velarix cannot write to the destination folder %1 (%2). "
                                   "Choose another folder to import into.")
                                    .arg(QDir::toNativeSeparators(root), reason);
            m_cardImportLock.reset();
            setError(ApplicationError::userError(*report.notStarted,
                                                 ApplicationError::Recovery::changeDestination));
            return QtFuture::makeReadyFuture(report);
        }
    }
    const std::optional<quint64> available = m_volumes->freeSpace(existingAncestor(root));
    if (available && quint64(needed) > *available) {
        m_cardImportLock.reset();
        return refuse(tr("Not enough free space in %1: %2 needed, %3 available.")
                          .arg(root, byteCount(needed), byteCount(qint64(*available))));
    }

    const std::optional<qint64> nextJump = nextJumpNumber(plan);
    setHistoryFile(context.filePath());
    setImportProgress(new ImportProgress(items.size(), needed, options.verify));
    QPointer<ImportProgress> progress(m_importProgress.data());

    auto promise = std::make_shared<QPromise<ImportReport>>();
    promise->start();
    QFuture<ImportReport> future = promise->future();

    // Only copies that completed count as imported, and only verified ones are recorded as verified: a
    // user may format the card trusting that mark. Each is recorded as soon as it has its final name, and the
    // copying thread waits for that before it goes on, so a process killed mid-run has recorded what it
    // finished. Once the store has refused a record, the rest wait for one last try at the end of the run
    // rather than each waiting out a busy store.
    auto recorder = std::make_shared<ImportRecorder>(
        this,
        [this, &context](const QString& cardUUID, const QList<ImportedFile>& files, bool writeManifest) {
            return recordImport(cardUUID, files, context, writeManifest);
        },
        [this] { return m_sdCardPath.has_value(); });
    const std::shared_ptr<const CancelToken> cancel = m_importProgress->cancelToken();
    auto verified = [recorder, cardFiles, cancel](const QString& cardUUID, const QString& source) {
        recorder->recordVerified(cardUUID, cardFiles->value(source), cancel.get());
    };
    // "Trim after import": the copies' bytes also feed their analysis.
    ImportOptions runOptions = options;
    if (!runOptions.feedFor && m_trimAfterImport) {
        runOptions.feedFor = m_copyFeeds;
        runOptions.samplesFor = m_joinedSamples;
    }
    const auto copy = [=, card = ImportRun::Card{m_sdCardPath, m_sdCardName, m_volumes}] {
        return ImportRun(items, root, progress, cancel, runOptions, card, verified).run();
    };
    // Runs once: when the copying ends, or at once from the destructor (finishImportNow).
    auto finished = std::make_shared<bool>(false);
    auto finishStep = [this, promise, nextJump, itemCount = items.size(), recorder, &context, rowIds, root,
                       cardPath = m_sdCardPath, finished](const ImportRun::Outcome& outcome) {
        if (*finished)
            return;
        *finished = true;
        m_finishImportNow = nullptr;
        setImportProgress(nullptr);
        m_cardImportLock.reset();
        ImportReport report = outcome.report;

        recorder->finish();
        qsizetype unrecorded = recorder->unrecordedCount();
        if (recorder->failure()) {
            report.historyError = recorder->failure()->message;
        } else if (m_sdCardPath && !report.imported.isEmpty() && outcome.cardUUIDError) {
            report.historyError = tr("The card's identity could not be read, so the import history could not "
                                     "record the copies: %1")
                                      .arg(outcome.cardUUIDError->message);
            unrecorded = report.imported.size();
        }
        // A fallback key follows the name just written into the manifest: the rows are marked under it.
        if (outcome.cardUUID && m_sdCardPath == cardPath)
            setSdCardVolumeUUID(outcome.cardUUID);
        if (recorder->recordedAny())
            setImportStateRefreshID(QUuid::createUuid());

        // What was copied is done: it is not imported again by pressing Import once more.
        QSet<QString> remaining = m_selection;
        for (const auto& file : report.imported)
            remaining.remove(rowIds.value(file.source));
        // A row whose video or companion failed stays selected, to be imported again.
        for (const auto& file : report.failed)
            if (m_selection.contains(rowIds.value(file.source)))
                remaining.insert(rowIds.value(file.source));
        setSelection(remaining);

        const QString failures = tr("%1 of %2 videos could not be imported: %3")
                                     .arg(report.failed.size())
                                     .arg(itemCount)
                                     .arg(report.failed.isEmpty() ? QString() : report.failed.first().error);
        if (report.historyError) {
            QString text = tr("%1 copied videos are in place, but Velarix could not record them "
                              "as imported. %2")
                               .arg(unrecorded)
                               .arg(*report.historyError);
            if (report.cancelled)
                text.prepend(tr("The import was cancelled. "));
            else if (!report.failed.isEmpty())
                text.prepend(failures + QStringLiteral(". "));
            setError(ApplicationError::userError(text));
        } else if (report.cancelled) {
            setError(ApplicationError::cancelled(ImportRun::cancelledText(report, itemCount, root)));
        } else if (!report.failed.isEmpty()) {
            // The first failure by name and full path: the user can look for it and act.
            const ImportReport::Failed& first = report.failed.first();
            QString text =
                tr("%1 could not be copied to %2: %3")
                    .arg(QFileInfo(first.source).fileName(),
                         QDir::toNativeSeparators(outcome.destinations.value(first.source)), first.error);
            if (itemCount > 1)
                text =
                    tr("%1 of %2 videos could not be imported. ").arg(report.failed.size()).arg(itemCount) +
                    text;
            setError(ApplicationError::userError(text, outcome.destinationUnwritable
                                                           ? ApplicationError::Recovery::changeDestination
                                                           : ApplicationError::Recovery::none));
        }

        if (m_autoIncrementJumpNumber && nextJump && !report.imported.isEmpty())
            setJumpNumber(*nextJump);

        // Only a run that did everything shows its folder: after a failure the user has to read
        // the message first, not look at a folder that seems complete.
        const bool succeeded = !report.cancelled && report.failed.isEmpty() && !report.historyError;
        if (succeeded && !report.imported.isEmpty() && m_openFolderAferImport && m_folderOpener)
            m_folderOpener(outcome.folders.size() == 1 ? outcome.folders.first() : m_outputLocation);

        Q_EMIT importFinished(report);
        promise->addResult(report);
        promise->finish();
    };
    auto run = runInBackground(this, copy, finishStep);
    m_finishImportNow = [this, run, finishStep, cancel]() mutable {
        // Stops at the next piece; every copy verified by then is recorded before the model goes.
        if (m_importProgress)
            m_importProgress->cancel();
        run.waitForFinished();
        // The records the copying thread posted come first, in their order, as the event loop would.
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        if (run.resultCount() > 0)
            finishStep(run.result());
    };
    return future;
}

} // namespace velarix
