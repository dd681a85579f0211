#pragma once

#include <QObject>

#include <atomic>

namespace velarix {

// Overall progress of an import run: one unit per file, plus the byte fraction of the file being
// copied. Counts are set on the GUI thread; cancel() may be called from any thread, and the copy
// loop polls isCancelled() between chunks.
class ImportProgress : public QObject {
    Q_OBJECT
    Q_PROPERTY(qint64 totalUnitCount READ totalUnitCount NOTIFY changed)
    Q_PROPERTY(qint64 completedUnitCount READ completedUnitCount NOTIFY changed)
    Q_PROPERTY(double fractionCompleted READ fractionCompleted NOTIFY changed)
    Q_PROPERTY(bool cancelled READ isCancelled NOTIFY cancelledChanged)
public:
    explicit ImportProgress(qint64 totalUnitCount, QObject* parent = nullptr);

    qint64 totalUnitCount() const { return m_total; }
    qint64 completedUnitCount() const { return m_completed; }
    // Completed files plus the copied share of the current one, over all files.
    double fractionCompleted() const;
    const QString& currentFileName() const { return m_currentFileName; }

    void setCompletedUnitCount(qint64 completed);
    void setCurrentFile(const QString& fileName, qint64 bytesCopied, qint64 bytesTotal);

    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    void cancel();

Q_SIGNALS:
    void changed();
    void cancelledChanged();

private:
    qint64 m_total;
    qint64 m_completed = 0;
    QString m_currentFileName;
    qint64 m_fileBytesCopied = 0;
    qint64 m_fileBytesTotal = 0;
    std::atomic<bool> m_cancelled{false};
};

} // namespace velarix
