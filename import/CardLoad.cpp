#include "import/CardLoad.h"

#include "core/Background.h"
#include "history/HistoryStore.h"
#include "import/ClipXmlDate.h"
#include "import/CompanionChecks.h"
#include "import/ImportLog.h"
#include "media/ChapterGroups.h"
#include "media/MediaOpen.h"
#include "media/RecordingFiles.h"
#include "media/StreamSignature.h"
#include "media/VideoProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

namespace velarix {

namespace {

// A recording's header reads: its length, and what does not fit between it and its proxies or its
// second lens.
struct ProbedRecording {
    VideoProbe total;
    QStringList notes;
};

} // namespace

// The scanned files as the import state reads them: every chapter, with its recording's date, as
// importStateVideos gives them for the rows made from this scan.
QList<ImportState::Video> CardLoad::historyVideos(const QString& volume, const Scan& scan) {
    const QDir root(volume);
    QHash<QString, const ScanCandidate*> byPath;
    for (const ScanCandidate& candidate : scan.candidates)
        byPath.insert(candidate.path, &candidate);
    for (const ScanCandidate& candidate : scan.companionCandidates)
        byPath.insert(candidate.path, &candidate);
    QList<ImportState::Video> videos;
    for (qsizetype i = 0; i < scan.recordings.size(); ++i) {
        const QStringList& recording = scan.recordings[i];
        const QDateTime created =
            byPath.value(recording.first())->created.value_or(VideoFileRow::distantPast());
        // The files that belong to the recording (a second lens, sidecars) count toward its state too.
        QStringList files = recording;
        if (i < scan.companions.size())
            files += scan.companions[i];
        for (const QString& file : std::as_const(files))
            if (const ScanCandidate* candidate = byPath.value(file))
                videos.append({QFileInfo(file).fileName(), created, root.relativeFilePath(file),
                               candidate->fileSize.value_or(0), false});
    }
    return videos;
}

CardLoad::CardLoad(VelarixModel& model, QString volume, HistoryStore& store,
                   VelarixModel::DurationFilter durationsFor)
    : QObject(&model)
    , m_model(model)
    , m_volume(std::move(volume))
    , m_store(store)
    , m_durationsFor(std::move(durationsFor))
    , m_token(QUuid::createUuid()) {}

CardLoad::~CardLoad() {
    m_cancel->cancel();
}

QFuture<Result<void>> CardLoad::start() {
    m_promise.start();
    QFuture<Result<void>> future = m_promise.future();

    for (CardLoad* older : m_model.findChildren<CardLoad*>(Qt::FindDirectChildrenOnly))
        if (older != this)
            older->cancel();

    m_model.setActiveVideoLoadingToken(m_token);
    m_model.setIsLoadingVideos(true);
    m_model.setVideoLoadingPhase(VideoLoadingPhase::scanning);
    m_model.setVideoLoadingCurrent(0);
    m_model.setVideoLoadingTotal(0);
    m_model.setVideoFilesDiscoveredCount(0);
    const bool otherCard = m_model.sdCardPath() != m_volume;
    m_model.setSdCardPath(m_volume);
    m_model.setSdCardSpaceAvailable(0);
    if (otherCard) {
        // The last card's rows must not stand under this card's name while it is scanned.
        m_model.setSdCardVolumeUUID(std::nullopt);
        m_model.setVideoFiles({});
        m_model.setCardHistory({});
        m_model.setSelection(m_model.selectionFor(m_volume));
    }

    auto volumes = m_model.volumeProvider();
    runInBackground(
        this, [volume = m_volume, volumes] { return identifyCard(volume, *volumes); },
        [this](const CardIdentity& identity) { identified(identity); });
    return future;
}

bool CardLoad::isCurrent() const {
    return m_model.activeVideoLoadingToken() == m_token;
}

void CardLoad::identified(const CardIdentity& identity) {
    // Another card was chosen meanwhile: nothing of this one is shown any more.
    if (!isCurrent())
        return finish({});
    m_model.setSdCardSpaceAvailable(identity.spaceAvailable);
    auto name = identity.name(m_store);
    if (!name)
        return finish(name.error());
    m_model.setSdCardName(*name);
    qCDebug(lcImport, "Card at %s identified as %s (volume %s), %llu bytes free", qUtf8Printable(m_volume),
            qUtf8Printable(*name), qUtf8Printable(identity.uuid.value_or(QStringLiteral("unknown"))),
            static_cast<unsigned long long>(identity.spaceAvailable));
    // The card still loads: its history is kept under the fallback key, and the user learns why
    // earlier imports may not be marked.
    if (identity.uuidError)
        m_model.tellUnreadableIdentity(m_volume, *identity.uuidError);
    m_cardID = identity.uuid;

    QPointer<VelarixModel> model(&m_model);
    const QUuid token = m_token;
    auto progress = [model, token](qint64 count) {
        QMetaObject::invokeMethod(
            model,
            [model, token, count] {
                if (model && model->activeVideoLoadingToken() == token)
                    model->setVideoFilesDiscoveredCount(count);
            },
            Qt::QueuedConnection);
    };
    // The result is posted like the progress reports, from the same thread, so it arrives after them.
    runInBackground(
        this,
        [volume = m_volume, progress, cancel = m_cancel, storeFile = m_store.filePath(), cardID = m_cardID] {
            Scan scan;
            QList<ScanCandidate> companions;
            auto candidates = scanVideoFiles(volume, progress, cancel.get(), &companions);
            if (candidates) {
                scan.candidates = *candidates;
                scan.companionCandidates = companions;
                QStringList paths;
                for (const ScanCandidate& candidate : std::as_const(*candidates))
                    paths.append(candidate.path);
                QStringList companionPaths;
                for (const ScanCandidate& candidate : std::as_const(companions))
                    companionPaths.append(candidate.path);
                RecordingFiles files = groupRecordingFiles(paths, companionPaths,
                                                           [&cancel](const QString& path) -> Result<QString> {
                                                               if (cancel->isCancelled())
                                                                   return Error::cancellation();
                                                               return streamSignature(path);
                                                           });
                QHash<QString, QDateTime> fileTimes;
                for (const ScanCandidate& candidate : std::as_const(*candidates))
                    fileTimes.insert(candidate.path, candidate.created.value_or(QDateTime()));
                for (qsizetype i = 0; i < files.recordings.size(); ++i) {
                    const QString& first = files.recordings[i].first();
                    for (const QString& companion : std::as_const(files.companions[i])) {
                        if (!companion.endsWith(QLatin1String(".XML"), Qt::CaseInsensitive))
                            continue;
                        const auto date = clipXmlCreationDate(companion);
                        if (!date)
                            continue;
                        if (auto mismatch =
                                clipXmlDateMismatch(QFileInfo(companion).fileName(), *date,
                                                    QFileInfo(first).fileName(), fileTimes.value(first))) {
                            qCInfo(lcImport, "%s", qUtf8Printable(*mismatch));
                            scan.notes[first].append(*mismatch);
                        } else {
                            scan.recordedAt.insert(first, *date);
                        }
                    }
                }
                scan.recordings = std::move(files.recordings);
                scan.companions = std::move(files.companions);
                if (!cancel->isCancelled())
                    scan.history = readCardHistory(storeFile, cardID, historyVideos(volume, scan));
            } else {
                scan.error = candidates.error();
            }
            return scan;
        },
        [this](const Scan& scan) { scanned(scan); });
}

void CardLoad::scanned(const Scan& scan) {
    // Replaced meanwhile: its rows would never be shown, so their durations are not read either.
    if (!isCurrent())
        return finish({});
    if (scan.error)
        return finish(*scan.error);
    m_model.setVideoFilesDiscoveredCount(scan.candidates.size());
    qCDebug(lcImport, "Card at %s: %lld videos found", qUtf8Printable(m_volume),
            static_cast<long long>(scan.candidates.size()));

    const QDir root(m_volume);
    QHash<QString, const ScanCandidate*> byPath;
    for (const ScanCandidate& candidate : scan.candidates)
        byPath.insert(candidate.path, &candidate);
    for (const ScanCandidate& candidate : scan.companionCandidates)
        byPath.insert(candidate.path, &candidate);
    // A recording in chapters is one row: the first chapter's name and date, the chapters' total size.
    for (qsizetype index = 0; index < scan.recordings.size(); ++index) {
        const QStringList& recording = scan.recordings[index];
        const ScanCandidate& first = *byPath.value(recording.first());
        qint64 size = 0;
        QList<qint64> sizes;
        for (const QString& chapter : recording) {
            sizes.append(byPath.value(chapter)->fileSize.value_or(0));
            size += sizes.last();
        }
        const QDateTime created = scan.recordedAt.value(first.path, first.created.value_or(QDateTime()));
        auto row = VideoFileRowPtr::create(first.path, root.relativeFilePath(first.path), created, size);
        if (recording.size() > 1)
            row->setChapters(recording, sizes);
        const QStringList& companions = scan.companions.value(index);
        QList<qint64> companionSizes;
        for (const QString& companion : companions)
            companionSizes.append(byPath.value(companion)->fileSize.value_or(0));
        row->setCompanions(companions, companionSizes);
        row->addCompanionNotes(scan.notes.value(first.path));
        m_rows.append(row);
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const VideoFileRowPtr& a, const VideoFileRowPtr& b) {
        return a->created() > b->created();
    });

    QSet<QString> ids;
    for (const auto& row : m_rows)
        ids.insert(row->id());
    m_model.setVideoFiles(m_rows);
    m_model.setSelection(m_model.selectionFor(m_volume) & ids);
    m_model.setCardHistory(scan.history);
    m_model.setSdCardVolumeUUID(m_cardID);
    m_model.setVideoLoadingPhase(VideoLoadingPhase::loadingMetadata);
    m_model.setVideoLoadingCurrent(0);
    m_model.setVideoLoadingTotal(m_rows.size());
    if (m_rows.isEmpty())
        return finish({});
    for (int i = 0; i < kMaxDurationLoads && m_nextRow < m_rows.size(); ++i)
        startNextDuration();
}

void CardLoad::startNextDuration() {
    const VideoFileRowPtr row = m_rows.at(m_nextRow++);
    // An empty file has no duration; opening thousands of them would only slow the scan down. Nor
    // are the files opened that the caller does not need.
    if (row->fileSize() == 0)
        row->setUnreadableReason(QCoreApplication::translate("Import", "The file is empty."));
    if (row->isLoadingDuration() || row->duration() > 0 || row->fileSize() == 0 ||
        (m_durationsFor && !m_durationsFor(*row))) {
        QMetaObject::invokeMethod(this, &CardLoad::durationFinished, Qt::QueuedConnection);
        return;
    }
    row->setIsLoadingDuration(true);
    const auto read = [chapters = row->chapterPaths(), sizes = row->chapterSizes(),
                       companions = row->companionPaths(), companionSizes = row->companionSizes(),
                       probe = m_model.durationProbe(),
                       cancel = m_cancel]() -> std::optional<ProbedRecording> {
        // A recording's duration is its chapters' together; any chapter unreadable makes it so.
        if (cancel->isCancelled())
            return std::nullopt;
        ProbedRecording probed;
        VideoProbe& total = probed.total;
        total = probe(chapters.first());
        QList<double> durations{total.duration};
        for (qsizetype i = 1; i < chapters.size() && !total.unreadable; ++i) {
            if (cancel->isCancelled())
                return std::nullopt;
            const VideoProbe next = probe(chapters.at(i));
            durations.append(next.duration);
            total.duration += next.duration;
            if (next.unreadable)
                total.unreadable =
                    QStringLiteral("%1: %2").arg(QFileInfo(chapters.at(i)).fileName(), *next.unreadable);
        }
        // Each proxy and second lens against the chapter it belongs to: a header read each.
        for (qsizetype i = 0; i < companions.size() && !total.unreadable; ++i) {
            const CompanionKind kind = companionKind(companions[i]);
            if (kind == CompanionKind::sidecar || cancel->isCancelled())
                continue;
            const qsizetype owner = chapters.indexOf(companionOwner(chapters, companions[i]));
            const VideoProbe other = probe(companions[i]);
            const QString name = QFileInfo(companions[i]).fileName();
            const QString ownerName = QFileInfo(chapters.value(owner)).fileName();
            const double seconds = other.unreadable ? 0 : other.duration;
            if (auto mismatch = kind == CompanionKind::lens
                                    ? lensMismatch(name, seconds, ownerName, durations.value(owner))
                                    : proxyMismatch(name, seconds, companionSizes.value(i), ownerName,
                                                    durations.value(owner), sizes.value(owner)))
                probed.notes.append(*mismatch);
        }
        return probed;
    };
    runInBackground(this, read, [this, row](const std::optional<ProbedRecording>& probe) {
        if (probe) {
            row->setDuration(probe->total.duration);
            row->setUnreadableReason(probe->total.unreadable);
            for (const QString& note : probe->notes)
                qCInfo(lcImport, "%s", qUtf8Printable(note));
            row->addCompanionNotes(probe->notes);
        }
        row->setIsLoadingDuration(false);
        durationFinished();
    });
}

void CardLoad::durationFinished() {
    ++m_finishedRows;
    if (!isCurrent()) {
        // Replaced: no further file is opened; the load ends once the reads under way are back.
        if (m_finishedRows == m_nextRow)
            finish({});
        return;
    }
    m_model.setVideoLoadingCurrent(m_finishedRows);
    if (m_nextRow < m_rows.size())
        startNextDuration();
    else if (m_finishedRows == m_rows.size())
        finish({});
}

void CardLoad::finish(Result<void> outcome) {
    if (isCurrent()) {
        m_model.setIsLoadingVideos(false);
        m_model.setVideoLoadingPhase(VideoLoadingPhase::idle);
        m_model.setVideoLoadingCurrent(0);
        m_model.setVideoLoadingTotal(0);
        m_model.setVideoFilesDiscoveredCount(0);
    }
    m_promise.addResult(std::move(outcome));
    m_promise.finish();
    deleteLater();
}

} // namespace velarix
