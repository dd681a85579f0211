#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QUrl>

namespace velarix {

// One video on the card. Rows are shared between the model's list and the views; `duration` and
// `isLoadingDuration` change after construction and notify, the other fields are fixed.
class VideoFileRow : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString id READ id CONSTANT)
    Q_PROPERTY(QUrl url READ url CONSTANT)
    Q_PROPERTY(QDateTime created READ created CONSTANT)
    Q_PROPERTY(qint64 fileSize READ fileSize CONSTANT)
    Q_PROPERTY(double duration READ duration WRITE setDuration NOTIFY durationChanged)
    Q_PROPERTY(bool isLoadingDuration READ isLoadingDuration WRITE setIsLoadingDuration NOTIFY
                   isLoadingDurationChanged)
public:
    // `created` invalid means the file system gave none: it then reads as the distant past.
    VideoFileRow(const QString& path, const QDateTime& created, qint64 fileSize, QObject* parent = nullptr);

    // The distant past stands in for a missing creation date, so that such files sort last.
    static QDateTime distantPast();

    const QString& id() const { return m_id; }
    const QUrl& url() const { return m_url; }
    const QString& path() const { return m_path; }
    QString fileName() const;
    const QDateTime& created() const { return m_created; }
    qint64 fileSize() const { return m_fileSize; }
    double duration() const { return m_duration; }
    bool isLoadingDuration() const { return m_isLoadingDuration; }

    // A recording the camera split into chapters is one row: the first chapter's path is the row's,
    // its size and duration are the recording's. Set before the row is shared.
    void setChapters(const QStringList& paths) { m_chapters = paths; }
    // The chapters in order; just the row's own path for an ordinary video.
    QStringList chapterPaths() const { return m_chapters.size() > 1 ? m_chapters : QStringList{m_path}; }
    QStringList chapterFileNames() const;
    // The file name, with the number of chapters of a split recording: "GX010042.MP4 (3 chapters)".
    QString displayName() const;

    void setDuration(double seconds);
    void setIsLoadingDuration(bool loading);

Q_SIGNALS:
    void durationChanged();
    void isLoadingDurationChanged();

private:
    QString m_id;
    QUrl m_url;
    QString m_path;
    QStringList m_chapters;
    QDateTime m_created;
    qint64 m_fileSize;
    double m_duration = 0;
    bool m_isLoadingDuration = false;
};

using VideoFileRowPtr = QSharedPointer<VideoFileRow>;
using VideoFileList = QList<VideoFileRowPtr>;

} // namespace velarix
