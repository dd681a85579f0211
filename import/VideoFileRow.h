#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace velarix {

// One video on the card. Rows are shared between the model's list and the views; `duration`,
// `isLoadingDuration` and `unreadableReason` change after construction and notify, the other fields
// are fixed.
class VideoFileRow : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString id READ id CONSTANT)
    Q_PROPERTY(QUrl url READ url CONSTANT)
    Q_PROPERTY(QDateTime created READ created CONSTANT)
    Q_PROPERTY(qint64 fileSize READ fileSize CONSTANT)
    Q_PROPERTY(double duration READ duration WRITE setDuration NOTIFY durationChanged)
    Q_PROPERTY(bool isLoadingDuration READ isLoadingDuration WRITE setIsLoadingDuration NOTIFY
                   isLoadingDurationChanged)
    Q_PROPERTY(std::optional<QString> unreadableReason READ unreadableReason WRITE setUnreadableReason NOTIFY
                   unreadableReasonChanged)
    Q_PROPERTY(QStringList companionNotes READ companionNotes NOTIFY companionNotesChanged)
public:
    // `created` invalid means the file system gave none: it then reads as the distant past.
    VideoFileRow(const QString& path, const QDateTime& created, qint64 fileSize, QObject* parent = nullptr);
    // `relativePath`: the file's path below the card's root, which identifies it in the history.
    VideoFileRow(const QString& path, const QString& relativePath, const QDateTime& created, qint64 fileSize,
                 QObject* parent = nullptr);

    // The distant past stands in for a missing creation date, so that such files sort last.
    static QDateTime distantPast();

    const QString& id() const { return m_id; }
    const QUrl& url() const { return m_url; }
    const QString& path() const { return m_path; }
    QString fileName() const;
    // Below the card's root, e.g. "DCIM/100GOPRO/GX010001.MP4"; the file name when not known.
    const QString& relativePath() const { return m_relativePath; }
    const QDateTime& created() const { return m_created; }
    qint64 fileSize() const { return m_fileSize; }
    double duration() const { return m_duration; }
    bool isLoadingDuration() const { return m_isLoadingDuration; }
    // Why the file cannot be read as a video (empty, cut short, not a video); absent when it can,
    // or before its details were loaded. Such a file can still be copied as it is.
    const std::optional<QString>& unreadableReason() const { return m_unreadableReason; }
    // What does not fit between the video and the files beside it (a proxy of another length, clip
    // metadata with another date), each a sentence for the user. The video is imported all the same.
    const QStringList& companionNotes() const { return m_companionNotes; }
    void addCompanionNotes(const QStringList& notes);

    // A recording the camera split into chapters is one row: the first chapter's path is the row's,
    // its size and duration are the recording's. Set before the row is shared.
    void setChapters(const QStringList& paths, const QList<qint64>& sizes) {
        m_chapters = paths;
        m_chapterSizes = sizes;
    }
    // The chapters in order; just the row's own path for an ordinary video.
    QStringList chapterPaths() const { return m_chapters.size() > 1 ? m_chapters : QStringList{m_path}; }
    // Each chapter's own size, in the order of chapterPaths().
    QList<qint64> chapterSizes() const {
        return m_chapters.size() > 1 ? m_chapterSizes : QList<qint64>{m_fileSize};
    }
    // The files that belong to the recording (second lens, proxies, sidecars), in the chapters' folder
    // or, for a camera's proxy folder, beside it; imported with it. Set before the row is shared.
    void setCompanions(const QStringList& paths, const QList<qint64>& sizes) {
        m_companions = paths;
        m_companionSizes = sizes;
    }
    const QStringList& companionPaths() const { return m_companions; }
    const QList<qint64>& companionSizes() const { return m_companionSizes; }
    // A companion's path below the card's root.
    QString companionRelativePath(qsizetype companion) const;
    // A chapter's path below the card's root: chapters share their first chapter's folder.
    QString chapterRelativePath(qsizetype chapter) const;
    QStringList chapterFileNames() const;
    // The file name, with the number of chapters of a split recording and the second lens of a 360
    // clip: "GX010042.MP4 (3 chapters)", "VID_20261207_101500_00_001.insv (2 lenses)".
    QString displayName() const;

    void setDuration(double seconds);
    void setIsLoadingDuration(bool loading);
    void setUnreadableReason(const std::optional<QString>& reason);

Q_SIGNALS:
    void durationChanged();
    void isLoadingDurationChanged();
    void unreadableReasonChanged();
    void companionNotesChanged();

private:
    QString m_id;
    QUrl m_url;
    QString m_path;
    QString m_relativePath;
    QStringList m_chapters;
    QList<qint64> m_chapterSizes;
    QStringList m_companions;
    QList<qint64> m_companionSizes;
    QDateTime m_created;
    qint64 m_fileSize;
    double m_duration = 0;
    bool m_isLoadingDuration = false;
    std::optional<QString> m_unreadableReason;
    QStringList m_companionNotes;
};

using VideoFileRowPtr = QSharedPointer<VideoFileRow>;
using VideoFileList = QList<VideoFileRowPtr>;

} // namespace velarix
