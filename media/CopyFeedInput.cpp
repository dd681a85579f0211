#include "media/CopyFeedInput.h"

#include <cerrno>

namespace velarix {

namespace {

// The copy's bytes as the I/O adapter reads them.
class FeedBytes final : public ByteAccess {
public:
    FeedBytes(std::shared_ptr<CopyFeed> feed, qint64 size)
        : m_feed(std::move(feed))
        , m_size(size) {}

    qint64 readAt(qint64 position, char* buffer, qint64 size) override {
        const auto n = m_feed->read(position, buffer, size);
        if (!n)
            return n.isCancelled() ? -ECANCELED : -EIO;
        return *n;
    }
    qint64 size() override { return m_size; }

private:
    std::shared_ptr<CopyFeed> m_feed;
    qint64 m_size;
};

} // namespace

Result<MediaInput> openCopyFeed(std::shared_ptr<CopyFeed> feed, const QString& name,
                                const OpenOptions& options) {
    const std::optional<qint64> size = feed->waitForSize();
    if (!size) // the copy never started: nothing to read
        return Error::cancellation();
    return openVideoAsset(name, std::make_shared<FeedBytes>(std::move(feed), *size), options);
}

} // namespace velarix
