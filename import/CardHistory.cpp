#include "import/CardHistory.h"

#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "import/ImportLog.h"
#include "import/VelarixModel.h"
#include "platform/Background.h"
#include "platform/Log.h"

#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace velarix {

CardHistory readCardHistory(const QString& storeFile, const std::optional<QString>& volumeUUID,
                            const QList<ImportState::Video>& videos) {
    CardHistory history;
    if (storeFile.isEmpty())
        return history;
    auto reader = HistoryReader::open(storeFile);
    if (!reader) {
        qCCritical(lcApp, "failed to load import history state: %s", qUtf8Printable(reader.error().message));
        return history;
    }
    history.importState.refresh(**reader, volumeUUID, videos);
    // The jumps of the clips' days only (and the days either side, for clocks set wrong around
    // midnight): a log of years is not read for one card.
    QSet<QDate> days;
    for (const ImportState::Video& video : videos) {
        if (video.created == VideoFileRow::distantPast())
            continue;
        for (int offset : {-1, 0, 1})
            days.insert(video.created.date().addDays(offset));
    }
    if (days.isEmpty())
        return history;
    if (auto log = (*reader)->fetchJumpLog(days.values()))
        history.jumpLog = *log;
    else
        qCCritical(lcImport, "failed to load the jump log: %s", qUtf8Printable(log.error().message));
    return history;
}

void VelarixModel::setCardHistory(const CardHistory& history) {
    // A newer read replaces any still under way.
    ++m_cardHistoryGeneration;
    m_cardHistory = history;
    Q_EMIT cardHistoryChanged();
}

void VelarixModel::refreshCardHistory(HistoryStore& context) {
    setHistoryFile(context.filePath());
    refreshCardHistory();
}

void VelarixModel::setHistoryFile(const QString& file) {
    if (file == m_historyFile)
        return;
    m_historyFile = file;
    if (!m_historyWatch) {
        m_historyWatch = new QFileSystemWatcher(this);
        // One read for a burst of writes (an import records file by file).
        m_historyChanged = new QTimer(this);
        m_historyChanged->setSingleShot(true);
        m_historyChanged->setInterval(300);
        connect(m_historyWatch, &QFileSystemWatcher::fileChanged, m_historyChanged,
                qOverload<>(&QTimer::start));
        connect(m_historyChanged, &QTimer::timeout, this, [this] {
            // A file moved aside and made anew is watched anew.
            if (!m_historyWatch->files().contains(m_historyFile) && QFileInfo::exists(m_historyFile))
                m_historyWatch->addPath(m_historyFile);
            if (m_sdCardVolumeUUID)
                refreshCardHistory();
        });
    }
    if (!m_historyWatch->files().isEmpty())
        m_historyWatch->removePaths(m_historyWatch->files());
    if (QFileInfo::exists(file))
        m_historyWatch->addPath(file);
}

void VelarixModel::refreshCardHistory() {
    const quint64 generation = ++m_cardHistoryGeneration;
    const auto read = [file = m_historyFile, uuid = m_sdCardVolumeUUID,
                       videos = importStateVideos(m_videoFiles)] {
        return readCardHistory(file, uuid, videos);
    };
    runInBackground(this, read, [this, generation, uuid = m_sdCardVolumeUUID](const CardHistory& history) {
        // Another card, or a newer read: this one is out of date.
        if (generation != m_cardHistoryGeneration || uuid != m_sdCardVolumeUUID)
            return;
        m_cardHistory = history;
        Q_EMIT cardHistoryChanged();
    });
}

} // namespace velarix
