#include "import/VelarixModel.h"

#include "core/Background.h"
#include "history/HistoryStore.h"
#include "import/CardHistory.h"
#include "import/CardManifest.h"

#include <QFileInfo>
#include <QTimer>

// What the history knows of the card shown: its import marks and jump log, clearing them, and
// recording an import.
namespace velarix {

namespace {
Result<void> writeRecords(HistoryStore& context, const QString& cardID, const QString& cardName,
                          const QList<ImportedFile>& files) {
    auto card = context.fetchCard(cardID);
    if (!card)
        return card.error();
    if (!*card) {
        if (auto inserted = context.insertCard(cardID, cardName); !inserted)
            return inserted.error();
    } else if ((*card)->name != cardName) {
        if (auto renamed = context.setCardName(**card, cardName); !renamed)
            return renamed;
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (const ImportedFile& file : files) {
        if (auto inserted = context.insertImportHistory(file.file, cardID, now, file.verified); !inserted)
            return inserted.error();
        if (file.jump) {
            if (auto logged = context.insertJumpClip(cardID, cardName, *file.jump); !logged)
                return logged;
        }
    }
    return {};
}
} // namespace

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

QFuture<Result<int>> VelarixModel::clearImportHistory(HistoryStore& context) {
    const auto uuid = m_sdCardVolumeUUID;
    const auto path = m_sdCardPath;
    if (!uuid || !path)
        return QtFuture::makeReadyFuture(Result<int>(Error::make(
            QStringLiteral("ImportHistory"), 1, tr("There is no card whose history could be cleared."))));
    auto cleared = clearCardHistory(context, *uuid);
    if (!cleared) {
        // The card stays as it is shown; the alert says why nothing changed.
        setError(ApplicationError::internalError(
            tr("The import history could not be cleared. %1").arg(cleared.error().message)));
        return QtFuture::makeReadyFuture(Result<int>(cleared.error()));
    }
    const int removed = *cleared;
    return loadSDCard(*path, context).then([removed](const Result<void>& loaded) -> Result<int> {
        if (!loaded)
            return loaded.error();
        return removed;
    });
}

Result<void> VelarixModel::recordImport(const QString& cardID, const QList<ImportedFile>& files,
                                        HistoryStore& context, bool rewriteManifest) {
    auto written = writeRecords(context, cardID, m_sdCardName, files);
    if (m_sdCardPath && rewriteManifest)
        writeManifest(*m_sdCardPath, m_sdCardName);
    if (written)
        written = context.save();
    // Half-written records must not ride along with a later save.
    if (!written)
        context.rollback();
    return written;
}

} // namespace velarix
