#include "import/VideoFileRow.h"

#include "core/SetField.h"
#include "media/RecordingFiles.h"

#include <QFileInfo>

namespace velarix {

VideoFileRow::VideoFileRow(const QString& path, const QDateTime& created, qint64 fileSize, QObject* parent)
    : VideoFileRow(path, QFileInfo(path).fileName(), created, fileSize, parent) {}

VideoFileRow::VideoFileRow(const QString& path, const QString& relativePath, const QDateTime& created,
                           qint64 fileSize, QObject* parent)
    : QObject(parent)
    , m_url(QUrl::fromLocalFile(path))
    , m_path(path)
    , m_relativePath(relativePath)
    , m_created(created.isValid() ? created : distantPast())
    , m_fileSize(fileSize) {
    // The percent-encoded path: unique within a scan and stable across scans.
    m_id = m_url.path(QUrl::FullyEncoded);
}

QDateTime VideoFileRow::distantPast() {
    static const QDateTime past(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return past;
}

QString VideoFileRow::fileName() const {
    return QFileInfo(m_path).fileName();
}

QStringList VideoFileRow::chapterFileNames() const {
    QStringList names;
    for (const QString& path : chapterPaths())
        names.append(QFileInfo(path).fileName());
    return names;
}

QString VideoFileRow::chapterRelativePath(qsizetype chapter) const {
    if (chapter == 0 || m_chapters.size() < 2)
        return m_relativePath;
    const QString folder = QFileInfo(m_relativePath).path();
    const QString name = QFileInfo(m_chapters.at(chapter)).fileName();
    return folder == QLatin1String(".") ? name : folder + u'/' + name;
}

QString VideoFileRow::companionRelativePath(qsizetype companion) const {
    // Below the card's root, which may be another folder than the video's (Sony's proxies).
    const QString& path = m_companions.at(companion);
    if (m_path.endsWith(m_relativePath)) {
        const QString root = m_path.left(m_path.size() - m_relativePath.size());
        if (!root.isEmpty() && path.startsWith(root))
            return path.mid(root.size());
    }
    const QString folder = QFileInfo(m_relativePath).path();
    const QString name = QFileInfo(m_companions.at(companion)).fileName();
    return folder == QLatin1String(".") ? name : folder + u'/' + name;
}

QString VideoFileRow::displayName() const {
    QStringList notes;
    if (m_chapters.size() > 1)
        notes.append(QStringLiteral("%1 chapters").arg(m_chapters.size()));
    for (const QString& companion : m_companions) {
        if (companionKind(QFileInfo(companion).fileName()) == CompanionKind::lens) {
            notes.append(QStringLiteral("2 lenses"));
            break;
        }
    }
    if (notes.isEmpty())
        return fileName();
    return QStringLiteral("%1 (%2)").arg(fileName(), notes.join(QStringLiteral(", ")));
}

void VideoFileRow::setDuration(double seconds) {
    setField(this, m_duration, seconds, &VideoFileRow::durationChanged);
}

void VideoFileRow::setIsLoadingDuration(bool loading) {
    setField(this, m_isLoadingDuration, loading, &VideoFileRow::isLoadingDurationChanged);
}

void VideoFileRow::addCompanionNotes(const QStringList& notes) {
    qsizetype added = 0;
    for (const QString& note : notes) {
        if (!m_companionNotes.contains(note)) {
            m_companionNotes.append(note);
            ++added;
        }
    }
    if (added > 0)
        Q_EMIT companionNotesChanged();
}

void VideoFileRow::setUnreadableReason(const std::optional<QString>& reason) {
    setField(this, m_unreadableReason, reason, &VideoFileRow::unreadableReasonChanged);
}

} // namespace velarix
