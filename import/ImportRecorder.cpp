#include "import/ImportRecorder.h"

#include <QSemaphore>

#include <memory>

namespace velarix {

ImportRecorder::ImportRecorder(QObject* context, Write write, std::function<bool()> cardPresent)
    : m_context(context)
    , m_write(std::move(write))
    , m_cardPresent(std::move(cardPresent)) {}

void ImportRecorder::recordVerified(const QString& cardUUID, const ImportedFile& file,
                                    const CancelToken* cancel) {
    // Released when the record step has run, or when it was dropped unrun with the context.
    auto recorded = std::make_shared<QSemaphore>();
    auto done = std::shared_ptr<QSemaphore>(recorded.get(), [recorded](QSemaphore*) { recorded->release(); });
    QMetaObject::invokeMethod(
        m_context, [self = shared_from_this(), cardUUID, file, done] { self->record(cardUUID, file); },
        Qt::QueuedConnection);
    done.reset();
    for (int tries = 0; tries < 50 && !recorded->tryAcquire(1, 100); ++tries) {
        if (isCancelled(cancel))
            break;
    }
}

void ImportRecorder::record(const QString& cardUUID, const ImportedFile& file) {
    if (!m_cardPresent())
        return;
    m_cardUUID = cardUUID;
    if (m_failure) {
        m_unrecorded.append(file);
        return;
    }
    auto written = m_write(cardUUID, {file}, !m_manifestWritten);
    m_manifestWritten = true;
    if (written) {
        m_recordedAny = true;
    } else {
        m_failure = written.error();
        m_unrecorded.append(file);
    }
}

void ImportRecorder::finish() {
    if (m_failure && !m_unrecorded.isEmpty() && m_cardPresent() && m_write(m_cardUUID, m_unrecorded, false)) {
        m_failure.reset();
        m_unrecorded.clear();
        m_recordedAny = true;
    }
}

} // namespace velarix
