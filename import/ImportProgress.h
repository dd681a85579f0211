#pragma once

#include "core/CancelToken.h"

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <memory>
#include <optional>

namespace velarix {

// Overall progress of an import run, in files and in bytes. A file is copied, then (when verifying)
// read back, while the next file is already being copied; the phase is "verifying" when only the
// read-back is under way. Counts are set on the GUI thread; cancel() may be called from any thread,
// and the copy and verify loops poll its cancel token between chunks.
class ImportProgress : public QObject {
    Q_OBJECT
    Q_PROPERTY(qint64 totalUnitCount READ totalUnitCount NOTIFY changed)
    Q_PROPERTY(qint64 completedUnitCount READ completedUnitCount NOTIFY changed)
    Q_PROPERTY(double fractionCompleted READ fractionCompleted NOTIFY changed)
    Q_PROPERTY(velarix::ImportProgress::Phase phase READ phase NOTIFY changed)
    Q_PROPERTY(QString currentFileName READ currentFileName NOTIFY changed)
    Q_PROPERTY(qint64 totalBytes READ totalBytes NOTIFY changed)
    Q_PROPERTY(qint64 copiedBytes READ copiedBytes NOTIFY changed)
    Q_PROPERTY(qint64 verifiedBytes READ verifiedBytes NOTIFY changed)
    Q_PROPERTY(double bytesPerSecond READ bytesPerSecond NOTIFY changed)
    Q_PROPERTY(std::optional<double> secondsRemaining READ secondsRemaining NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(bool cancelled READ isCancelled NOTIFY cancelledChanged)
public:
    enum class Phase { copying, verifying };
    Q_ENUM(Phase)

    // `totalBytes` is the size of all files; with `verifying` each is also read back.
    explicit ImportProgress(qint64 totalUnitCount, qint64 totalBytes = 0, bool verifying = false,
                            QObject* parent = nullptr);

    qint64 totalUnitCount() const { return m_total; }
    qint64 completedUnitCount() const { return m_completed; }
    // The bytes copied and read back over all the bytes to copy and read back.
    double fractionCompleted() const;
    Phase phase() const;
    // The file being copied, or in the verifying phase the one being read back.
    const QString& currentFileName() const;
    // Which of the files that is, counting from 1: copies and read-backs run one file apart, so each
    // phase counts its own files.
    qint64 currentFileNumber() const;
    // The phase with its file and number: "Copying B.MP4 (2 of 3)", and while the copy before is read
    // back, ", verifying 1 of 3"; at the end "Verifying C.MP4 (3 of 3)".
    QString phaseText() const;
    qint64 totalBytes() const { return m_totalBytes; }
    qint64 copiedBytes() const { return m_copy.done(); }
    qint64 verifiedBytes() const { return m_verify.done(); }
    // The current phase's pace over the last few seconds (0 until there is one).
    double bytesPerSecond() const { return m_bytesPerSecond; }
    // At the pace of the last few seconds; absent until there is one.
    std::optional<double> secondsRemaining() const;
    // One line for people: "Copying A.MP4 (2 of 3) — 1.2 GB of 3.0 GB, 150 MB/s, 20 s left".
    QString statusText() const;

    void setCompletedUnitCount(qint64 completed);
    // Bytes of the file `fileName` copied so far.
    void setCopying(const QString& fileName, qint64 bytesCopied);
    // The file being copied is done with (copied, failed or cancelled): all its `size` bytes count.
    void endCopying(qint64 size);
    // Bytes of the file `fileName` read back so far.
    void setVerifying(const QString& fileName, qint64 bytesChecked);
    void endVerifying(qint64 size);

    bool isCancelled() const { return m_cancel->isCancelled(); }
    // Shared with the run's threads: the progress is deleted on the GUI thread, which must not pull
    // the token out from under a copy loop that is still checking it.
    std::shared_ptr<const CancelToken> cancelToken() const { return m_cancel; }
    void cancel();

Q_SIGNALS:
    void changed();
    void cancelledChanged();

private:
    struct Stage {
        QString fileName;
        qint64 finished = 0; // bytes of the files done with
        qint64 current = 0;  // bytes of the file under way
        qint64 ended = 0;    // files done with
        bool active = false;
        qint64 done() const { return finished + current; }
        void update(const QString& name, qint64 bytes) {
            fileName = name;
            current = bytes;
            active = true;
        }
        void end(qint64 size) {
            finished += size;
            current = 0;
            ++ended;
            active = false;
        }
    };
    struct Sample {
        qint64 msecs;
        qint64 copied;
        qint64 verified;
    };
    void measure();
    const Stage& shown() const;

    qint64 m_total;
    qint64 m_completed = 0;
    qint64 m_totalBytes;
    bool m_verifying;
    Stage m_copy;
    Stage m_verify;
    QElapsedTimer m_clock;
    std::deque<Sample> m_samples; // over the last few seconds
    double m_bytesPerSecond = 0;
    double m_workPerSecond = 0; // bytes copied and read back
    std::shared_ptr<CancelToken> m_cancel = std::make_shared<CancelToken>();
};

} // namespace velarix
