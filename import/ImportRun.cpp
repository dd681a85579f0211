#include "import/ImportRun.h"

#include "core/Log.h"
#include "desktop/Volumes.h"
#include "import/CardIdentity.h"
#include "import/CopyCompletion.h"
#include "import/FileCopy.h"
#include "import/ImportTemporary.h"
#include "import/RecordingImport.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>

#include <cerrno>

namespace velarix {

QString existingAncestor(QString path) {
    while (!QFileInfo::exists(path) && path != QDir::rootPath())
        path = QFileInfo(path).absolutePath();
    return path;
}

Result<void> makeFolders(const QString& path) {
    if (QFileInfo(path).isDir())
        return {};
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path) {
        if (auto made = makeFolders(parent); !made)
            return made;
    }
    if (auto made = makeFolder(path, 0777); !made && made.error().code != EEXIST)
        return made;
    return {};
}

namespace {

void logCopyFailure(const QString& source, const QString& destination, const QString& reason) {
    qCCritical(lcApp, "failed to copy %s to %s: %s", qUtf8Printable(QUrl::fromLocalFile(source).toString()),
               qUtf8Printable(QUrl::fromLocalFile(destination).toString()), qUtf8Printable(reason));
}

} // namespace

ImportRun::ImportRun(QList<Item> items, const QString& root, QPointer<ImportProgress> progress,
                     std::shared_ptr<const CancelToken> cancel, ImportOptions options, Card card,
                     Verified verified)
    : m_items(std::move(items))
    , m_root(QDir::cleanPath(root))
    , m_progress(std::move(progress))
    , m_cancel(std::move(cancel))
    , m_options(std::move(options))
    , m_card(std::move(card))
    , m_verified(std::move(verified)) {
    for (const Item& item : m_items)
        m_destinations.append(QDir::cleanPath(m_root + u'/' + item.fileName));
}

template <class Step> void ImportRun::post(Step&& step) const {
    QMetaObject::invokeMethod(m_progress, std::forward<Step>(step), Qt::QueuedConnection);
}

void ImportRun::postCopied(const Item& item) const {
    post([progress = m_progress, size = item.size] { progress->endCopying(size); });
}

ImportRun::Outcome ImportRun::run() {
    identifyCard();
    CopyCompletion completion(
        [this](qsizetype index, const Result<QString>& result) { record(index, result); });
    for (qsizetype index = 0; index < m_items.size(); ++index)
        copy(index, completion);
    completion.finish();
    if (m_cancel->isCancelled())
        m_outcome.report.cancelled = true;
    return m_outcome;
}

void ImportRun::identifyCard() {
    if (!m_card.path)
        return;
    // A card whose UUID cannot be read is keyed by the name its first record writes into the
    // manifest: the key its next load reads.
    auto uuid = cardHistoryKey(*m_card.path, *m_card.volumes, m_card.name);
    if (uuid)
        m_outcome.cardUUID = *uuid;
    else
        m_outcome.cardUUIDError = uuid.error();
}

Result<QString> ImportRun::makeFolderOf(qsizetype index) {
    const QString folder = QFileInfo(m_destinations[index]).absolutePath();
    if (!QFileInfo(m_root).isDir()) {
        // Never made, not even for the pattern's subfolders: a drive unplugged during the run
        // leaves its mount point, or nothing, and the copies would fill the system disk.
        return Error::make(QStringLiteral("Import"), ENOENT,
                           QCoreApplication::translate(
                               "velarix::ImportRun", "The destination folder %1 does not exist. Connect its "
                                                     "drive or choose another folder.")
                               .arg(QDir::toNativeSeparators(m_root)));
    }
    if (folder != m_root) {
        if (auto made = makeFolders(folder); !made) {
            const int code = made.error().code;
            m_outcome.destinationUnwritable =
                m_outcome.destinationUnwritable || code == EACCES || code == EPERM || code == EROFS;
            return Error::make(
                QStringLiteral("Import"), made.error().code,
                QCoreApplication::translate("velarix::ImportRun", "The folder %1 could not be created: %2")
                    .arg(folder, made.error().message));
        }
    }
    if (!m_folders.contains(folder)) {
        m_folders.insert(folder);
        m_outcome.folders.append(folder);
        removeStaleTemporaries(folder);
    }
    return folder;
}

CopyControl ImportRun::controlFor(const Item& item) const {
    CopyControl control;
    control.cancel = m_cancel.get();
    control.verify = m_options.verify;
    const QString name = QFileInfo(item.source).fileName();
    control.progress = [this, progress = m_progress, name](qint64 copied, qint64) {
        post([progress, name, copied] { progress->setCopying(name, copied); });
    };
    control.verifyProgress = [this, progress = m_progress, name](qint64 checked, qint64) {
        post([progress, name, checked] { progress->setVerifying(name, checked); });
    };
    if (m_options.afterChunk)
        control.afterChunk = [this, source = item.source](qint64 copied) {
            m_options.afterChunk(source, copied);
        };
    return control;
}

void ImportRun::copy(qsizetype index, CopyCompletion& completion) {
    const Item& item = m_items[index];
    if (m_cancel->isCancelled()) { // every file left is reported as not imported
        postCopied(item);
        completion.push(index, Error::cancellation(), {});
        return;
    }
    if (auto folder = makeFolderOf(index); !folder) {
        postCopied(item);
        completion.push(index, folder.error(), {});
        return;
    }
    CopyControl control = controlFor(item);
    if (item.chapters.size() > 1) {
        // A join reads, writes and verifies on its own; its result takes its turn for recording.
        if (m_options.samplesFor)
            control.samples = m_options.samplesFor(item.chapters.first());
        auto joined = importRecording(item.chapters, m_destinations[index], control);
        if (control.samples)
            control.samples->end(joined);
        postCopied(item);
        completion.pushDone(index, std::move(joined));
        return;
    }
    if (m_options.feedFor)
        control.feed = m_options.feedFor(item.source);
    auto written = writeCopy(item.source, m_destinations[index], control);
    postCopied(item);
    completion.push(index, std::move(written), std::move(control));
}

// On the completion thread, in the order of the items.
void ImportRun::record(qsizetype index, const Result<QString>& result) {
    const Item& item = m_items[index];
    // Counted once it is recorded, or known to have failed.
    auto counted = qScopeGuard([&] {
        post([progress = m_progress, done = index + 1, verify = m_options.verify, size = item.size] {
            if (verify)
                progress->endVerifying(size);
            progress->setCompletedUnitCount(done);
        });
    });
    if (!result) {
        logCopyFailure(item.source, m_destinations[index], result.error().message);
        m_outcome.report.failed.append({item.source, result.error().message});
        m_outcome.destinations.insert(item.source, m_destinations[index]);
        if (result.isCancelled())
            m_outcome.report.cancelled = true;
        return;
    }
    m_outcome.report.imported.append({item.source, *result});
    if (m_outcome.cardUUID) {
        for (const QString& source : item.chapters.size() > 1 ? item.chapters : QStringList{item.source})
            m_verified(*m_outcome.cardUUID, source);
    }
}

QString ImportRun::cancelledText(const ImportReport& report, qsizetype itemCount, const QString& root) {
    const int kept = int(report.imported.size());
    const QString folder = QDir::toNativeSeparators(root);
    if (kept == 0)
        return QCoreApplication::translate("velarix::ImportRun",
                                           "The import was cancelled before a video was copied. Nothing "
                                           "was added to %1.")
            .arg(folder);
    return QCoreApplication::translate("velarix::ImportRun",
                                       "The import was cancelled. %n video(s) copied and verified before "
                                       "that stay in %1 and count as imported; ",
                                       nullptr, kept)
               .arg(folder) +
           QCoreApplication::translate("velarix::ImportRun", "the other %n were not copied.", nullptr,
                                       int(itemCount - kept));
}

} // namespace velarix
