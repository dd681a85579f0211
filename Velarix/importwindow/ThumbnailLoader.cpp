#include "Velarix/importwindow/ThumbnailLoader.h"

#include "Velarix/widgets/AppLog.h"
#include "core/Background.h"
#include "media/VideoThumbnail.h"

namespace velarix {

ThumbnailLoader::ThumbnailLoader(QSize pixelSize, QObject* parent)
    : QObject(parent)
    , m_pixelSize(pixelSize)
    , m_cancel(std::make_shared<CancelToken>()) {
    // A thumbnail decodes one frame; three at once keep the table lively without starving the rest.
    m_pool.setMaxThreadCount(3);
}

ThumbnailLoader::~ThumbnailLoader() {
    m_cancel->cancel();
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailLoader::request(const QString& path) {
    Entry& entry = m_entries[path];
    if (entry.state != State::none)
        return;
    entry.state = State::loading;
    const QSize size = m_pixelSize;
    const std::shared_ptr<CancelToken> cancel = m_cancel;
    // The result is dropped when the loader is gone by then, or was cleared meanwhile.
    runInBackground(
        this,
        [path, size, cancel]() -> Result<QImage> {
            if (cancel->isCancelled())
                return Error::cancellation();
            return makeVideoThumbnail(path, size, cancel.get());
        },
        [this, path, cancel](const Result<QImage>& image) {
            if (cancel != m_cancel)
                return;
            Entry& done = m_entries[path];
            if (image) {
                done.state = State::ready;
                done.image = *image;
            } else {
                done.state = State::failed;
                qCDebug(lcVelarix, "Thumbnail failed: %s", qUtf8Printable(image.error().message));
            }
            Q_EMIT finished(path);
        },
        &m_pool);
}

ThumbnailLoader::State ThumbnailLoader::state(const QString& path) const {
    const auto it = m_entries.constFind(path);
    return it == m_entries.constEnd() ? State::none : it->state;
}

QImage ThumbnailLoader::image(const QString& path) const {
    return m_entries.value(path).image;
}

void ThumbnailLoader::clear() {
    m_cancel->cancel();
    m_pool.clear();
    m_cancel = std::make_shared<CancelToken>();
    m_entries.clear();
}

} // namespace velarix
