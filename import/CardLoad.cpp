#include "import/CardLoad.h"

#include "history/HistoryStore.h"
#include "platform/MediaOpen.h"
#include "platform/VideoProbe.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>

namespace velarix {

CardLoad::CardLoad(VelarixModel& model, QString volume, HistoryStore& store,
                   VelarixModel::DurationFilter durationsFor)
    : QObject(&model)
    , m_model(model)
    , m_volume(std::move(volume))
    , m_store(store)
    , m_durationsFor(std::move(durationsFor))
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
    const bool otherCard = m_model.sdCardPath() != m_volume;
    m_model.setSdCardPath(m_volume);
    m_model.setSdCardSpaceAvailable(0);
    if (otherCard) {
        // The last card's rows must not stand under this card's name while it is scanned.
        m_model.setSdCardVolumeUUID(std::nullopt);
        m_model.setVideoFiles({});
        m_model.setSelection(m_model.selectionFor(m_volume));
    }

    auto volumes = m_model.volumeProvider();
    QtConcurrent::run([volume = m_volume, volumes] {
        return identifyCard(volume, *volumes);
    }).then(this, [this](const CardIdentity& identity) { identified(identity); });
    return future;
}

bool CardLoad::isCurrent() const {
    return m_model.activeVideoLoadingToken() == m_token;
}

void CardLoad::identified(const CardIdentity& identity) {
    // Another card was chosen meanwhile: nothing of this one is shown any more.
    if (!isCurrent())
        return succeed();
    m_model.setSdCardSpaceAvailable(identity.spaceAvailable);
    if (identity.uuidError)
        return fail(*identity.uuidError);
    auto name = identity.name(m_store);
    if (!name)
        return fail(name.error());
    m_model.setSdCardName(*name);
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
        if (candidates)
            scan.candidates = *candidates;
        else
            scan.error = candidates.error();
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

    const QDir root(m_volume);
    for (const ScanCandidate& candidate : scan.candidates) {
        m_rows.append(VideoFileRowPtr::create(candidate.path, root.relativeFilePath(candidate.path),
                                              candidate.created.value_or(QDateTime()),
                                              candidate.fileSize.value_or(0)));
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const VideoFileRowPtr& a, const VideoFileRowPtr& b) {
        return a->created() > b->created();
    });

    if (isCurrent()) {
        QSet<QString> ids;
        for (const auto& row : m_rows)
            ids.insert(row->id());
        m_model.setVideoFiles(m_rows);
        m_model.setSelection(m_model.selectionFor(m_volume) & ids);
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
    // An empty file has no duration; opening thousands of them would only slow the scan down. Nor
    // are the files opened that the caller does not need.
    if (row->fileSize() == 0)
        row->setUnreadableReason(QStringLiteral("The file is empty."));
    if (row->isLoadingDuration() || row->duration() > 0 || row->fileSize() == 0 ||
        (m_durationsFor && !m_durationsFor(*row))) {
        QMetaObject::invokeMethod(this, &CardLoad::durationFinished, Qt::QueuedConnection);
        return;
    }
    row->setIsLoadingDuration(true);
    QtConcurrent::run([path = row->path()] {
        return probeVideoFile(path);
    }).then(this, [this, row](const VideoProbe& probe) {
        row->setDuration(probe.duration);
        row->setUnreadableReason(probe.unreadable);
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
