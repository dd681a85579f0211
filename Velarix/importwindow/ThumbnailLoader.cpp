#include "Velarix/importwindow/ThumbnailLoader.h"

#include "platform/Log.h"
#include "platform/VideoThumbnail.h"

namespace velarix {

ThumbnailLoader::ThumbnailLoader(QSize pixelSize, QObject* parent)
    : QObject(parent)
    , m_pixelSize(pixelSize)
    , m_cancel(std::make_shared<std::atomic<bool>>(false)) {
    // A thumbnail decodes one frame; three at once keep the table lively without starving the rest.
    m_pool.setMaxThreadCount(3);
}

ThumbnailLoader::~ThumbnailLoader() {
    m_cancel->store(true);
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailLoader::request(const QString& path) {
    Entry& entry = m_entries[path];
    if (entry.state != State::none)
        return;
    entry.state = State::loading;
    const QSize size = m_pixelSize;
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    // The destructor waits for running tasks, so `self` is alive whenever a task uses it; a queued
    // result is dropped by Qt if the loader is deleted before it arrives.
    ThumbnailLoader* self = this;
    m_pool.start([self, path, size, cancel] {
        if (cancel->load())
            return;
        Result<QImage> image = makeVideoThumbnail(path, size, cancel.get());
        if (cancel->load())
            return;
        // Queued to the loader's thread; dropped with the loader if it is gone by then.
        QMetaObject::invokeMethod(
            self,
            [self, path, cancel, image = std::move(image)] {
                if (cancel != self->m_cancel)
                    return;
                Entry& done = self->m_entries[path];
                if (image) {
                    done.state = State::ready;
                    done.image = *image;
                } else {
                    done.state = State::failed;
                    qCDebug(lcApp, "Thumbnail failed: %s", qUtf8Printable(image.error().message));
                }
                Q_EMIT self->finished(path);
            },
            Qt::QueuedConnection);
    });
}

ThumbnailLoader::State ThumbnailLoader::state(const QString& path) const {
    const auto it = m_entries.constFind(path);
    return it == m_entries.constEnd() ? State::none : it->state;
}

QImage ThumbnailLoader::image(const QString& path) const {
    return m_entries.value(path).image;
}

void ThumbnailLoader::clear() {
    m_cancel->store(true);
    m_pool.clear();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_entries.clear();
}

} // namespace velarix
