#include "import/CardLoad.h"

#include "history/HistoryStore.h"
#include "import/CardManifest.h"
#include "import/ChapterGroups.h"
#include "platform/MediaOpen.h"
#include "platform/StreamSignature.h"

#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>

namespace velarix {

CardLoad::CardLoad(VelarixModel& model, QString volume, HistoryStore& store)
    : QObject(&model)
    , m_model(model)
    , m_volume(std::move(volume))
    , m_store(store)
    , m_token(QUuid::createUuid()) {}

QFuture<Result<void>> CardLoad::start() {
    m_promise.start();
    QFuture<Result<void>> future = m_promise.future();

    m_model.setActiveVideoLoadingToken(m_token);
    m_model.setIsLoadingVideos(true);
    m_model.setVideoLoadingPhase(VideoLoadingPhase::scanning);
    m_model.setVideoLoadingCurrent(0);
    m_model.setVideoLoadingTotal(0);
    m_model.setVideoFilesDiscoveredCount(0);
    m_model.setSdCardPath(m_volume);
    m_model.setSdCardSpaceAvailable(m_model.volumeProvider()->freeSpace(m_volume).value_or(0));

    auto volumes = m_model.volumeProvider();
    QtConcurrent::run([volume = m_volume, volumes] {
        Identity identity;
        identity.manifestName = readManifest(volume);
        auto uuid = volumes->volumeUUID(volume);
        if (uuid)
            identity.uuid = *uuid;
        else
            identity.uuidError = uuid.error();
        return identity;
    }).then(this, [this](const Identity& identity) { identified(identity); });
    return future;
}

bool CardLoad::isCurrent() const {
    return m_model.activeVideoLoadingToken() == m_token;
}

void CardLoad::identified(const Identity& identity) {
    if (identity.uuidError)
        return fail(*identity.uuidError);
    if (identity.manifestName) {
        m_model.setSdCardName(*identity.manifestName);
    } else {
        QString name = QFileInfo(m_volume).fileName();
        if (identity.uuid) {
            auto card = m_store.fetchCard(*identity.uuid);
            if (!card)
                return fail(card.error());
            if (*card)
                name = (*card)->name;
        }
        m_model.setSdCardName(name);
    }
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
    QPointer<CardLoad> self(this);
    (void)QtConcurrent::run([volume = m_volume, progress, self] {
        Scan scan;
        auto candidates = scanVideoFiles(volume, progress);
        if (candidates) {
            scan.candidates = *candidates;
            QStringList paths;
            for (const ScanCandidate& candidate : scan.candidates)
                paths.append(candidate.path);
            scan.recordings = groupChapters(paths, [](const QString& path) { return streamSignature(path); });
        } else {
            scan.error = candidates.error();
        }
        QMetaObject::invokeMethod(
            self,
            [self, scan] {
                if (self)
                    self->scanned(scan);
            },
            Qt::QueuedConnection);
    });
}

void CardLoad::scanned(const Scan& scan) {
    if (scan.error)
        return fail(*scan.error);
    if (isCurrent())
        m_model.setVideoFilesDiscoveredCount(scan.candidates.size());

    QHash<QString, const ScanCandidate*> byPath;
    for (const ScanCandidate& candidate : scan.candidates)
        byPath.insert(candidate.path, &candidate);
    // A recording in chapters is one row: the first chapter's name and date, the chapters' total size.
    for (const QStringList& recording : scan.recordings) {
        const ScanCandidate& first = *byPath.value(recording.first());
        qint64 size = 0;
        for (const QString& chapter : recording)
            size += byPath.value(chapter)->fileSize.value_or(0);
        auto row = VideoFileRowPtr::create(first.path, first.created.value_or(QDateTime()), size);
        row->setChapters(recording);
        m_rows.append(row);
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const VideoFileRowPtr& a, const VideoFileRowPtr& b) {
        return a->created() > b->created();
    });

    if (isCurrent()) {
        QSet<QString> ids;
        for (const auto& row : m_rows)
            ids.insert(row->id());
        m_model.setVideoFiles(m_rows);
        m_model.setSelection(m_model.selection() & ids);
        m_model.setSdCardVolumeUUID(m_cardID);
        m_model.setVideoLoadingPhase(VideoLoadingPhase::loadingMetadata);
        m_model.setVideoLoadingCurrent(0);
        m_model.setVideoLoadingTotal(m_rows.size());
    }
    if (m_rows.isEmpty())
        return succeed();
    for (int i = 0; i < kMaxDurationLoads && m_nextRow < m_rows.size(); ++i)
        startNextDuration();
}

void CardLoad::startNextDuration() {
    const VideoFileRowPtr row = m_rows.at(m_nextRow++);
    // An empty file has no duration; opening thousands of them would only slow the scan down.
    if (row->isLoadingDuration() || row->duration() > 0 || row->fileSize() == 0) {
        QMetaObject::invokeMethod(this, &CardLoad::durationFinished, Qt::QueuedConnection);
        return;
    }
    row->setIsLoadingDuration(true);
    QtConcurrent::run([chapters = row->chapterPaths()] {
        double total = 0;
        for (const QString& chapter : chapters) {
            auto seconds = loadDuration(chapter);
            if (!seconds)
                return std::optional<double>();
            total += *seconds;
        }
        return std::optional<double>(total);
    }).then(this, [this, row](std::optional<double> seconds) {
        row->setDuration(seconds.value_or(0));
        row->setIsLoadingDuration(false);
        durationFinished();
    });
}

void CardLoad::durationFinished() {
    ++m_finishedRows;
    if (isCurrent())
        m_model.setVideoLoadingCurrent(m_finishedRows);
    if (m_nextRow < m_rows.size())
        startNextDuration();
    else if (m_finishedRows == m_rows.size())
        succeed();
}

void CardLoad::fail(const Error& error) {
    if (isCurrent()) {
        m_model.setIsLoadingVideos(false);
        m_model.setVideoLoadingPhase(VideoLoadingPhase::idle);
        m_model.setVideoLoadingCurrent(0);
        m_model.setVideoLoadingTotal(0);
        m_model.setVideoFilesDiscoveredCount(0);
    }
    m_promise.addResult(Result<void>(error));
    m_promise.finish();
    deleteLater();
}

void CardLoad::succeed() {
    if (isCurrent()) {
        m_model.setIsLoadingVideos(false);
        m_model.setVideoLoadingPhase(VideoLoadingPhase::idle);
        m_model.setVideoLoadingCurrent(0);
        m_model.setVideoLoadingTotal(0);
        m_model.setVideoFilesDiscoveredCount(0);
    }
    m_promise.addResult(Result<void>());
    m_promise.finish();
    deleteLater();
}

} // namespace velarix
