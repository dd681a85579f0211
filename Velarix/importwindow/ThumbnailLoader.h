#pragma once

#include "core/CancelToken.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <memory>

namespace velarix {

// Makes video thumbnails in the background, a few at a time, and keeps them while it lives (the
// table's lifetime). Results come back to the GUI thread as `finished`. Destroying the loader cancels
// pending work and waits for the frames being decoded.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    enum class State { none, loading, ready, failed };

    // `pixelSize` is the thumbnail's box in device pixels (point size times the screen's scale).
    explicit ThumbnailLoader(QSize pixelSize, QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // Starts a request unless one was made for this file already.
    void request(const QString& path);
    State state(const QString& path) const;
    QImage image(const QString& path) const;
    // Forgets every result and drops requests not started yet (a new card).
    void clear();
    int maxConcurrent() const { return m_pool.maxThreadCount(); }

Q_SIGNALS:
    void finished(const QString& path);

private:
    struct Entry {
        State state = State::none;
        QImage image;
    };

    QSize m_pixelSize;
    QHash<QString, Entry> m_entries;
    QThreadPool m_pool;
    // Shared with the tasks so that a task outliving a clear() sees that its batch was dropped.
    std::shared_ptr<CancelToken> m_cancel;
};

} // namespace velarix
