#include "import/ImportProgress.h"

namespace velarix {

ImportProgress::ImportProgress(qint64 totalUnitCount, QObject* parent)
    : QObject(parent)
    , m_total(totalUnitCount) {}

double ImportProgress::fractionCompleted() const {
    if (m_total <= 0)
        return 0;
    double current = 0;
    if (m_fileBytesTotal > 0)
        current = double(m_fileBytesCopied) / double(m_fileBytesTotal);
    return qMin(1.0, (double(m_completed) + current) / double(m_total));
}

void ImportProgress::setCompletedUnitCount(qint64 completed) {
    if (m_completed == completed)
        return;
    m_completed = completed;
    m_fileBytesCopied = 0;
    m_fileBytesTotal = 0;
    Q_EMIT changed();
}

void ImportProgress::setCurrentFile(const QString& fileName, qint64 bytesCopied, qint64 bytesTotal) {
    m_currentFileName = fileName;
    m_fileBytesCopied = bytesCopied;
    m_fileBytesTotal = bytesTotal;
    Q_EMIT changed();
}

void ImportProgress::cancel() {
    if (m_cancelled.exchange(true))
        return;
    Q_EMIT cancelledChanged();
}

} // namespace velarix
