#include "import/ImportProgress.h"

#include "core/SetField.h"

#include <QLocale>

#include <cmath>

namespace velarix {

namespace {
constexpr qint64 kPaceWindowMs = 3000;

QString bytesText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString durationText(double seconds) {
    const qint64 s = qint64(std::ceil(seconds));
    if (s < 60)
        return QStringLiteral("%1 s").arg(s);
    if (s < 3600)
        return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
    return QStringLiteral("%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
}
} // namespace

ImportProgress::ImportProgress(qint64 totalUnitCount, qint64 totalBytes, bool verifying, QObject* parent)
    : QObject(parent)
    , m_total(totalUnitCount)
    , m_totalBytes(totalBytes)
    , m_verifying(verifying) {
    m_clock.start();
}

double ImportProgress::fractionCompleted() const {
    if (m_totalBytes <= 0)
        return m_total > 0 ? qMin(1.0, double(m_completed) / double(m_total)) : 0;
    const double work = double(m_totalBytes) * (m_verifying ? 2 : 1);
    const double done = double(m_copy.done()) + (m_verifying ? double(m_verify.done()) : 0);
    return qBound(0.0, done / work, 1.0);
}

// Verifying only once every file has been copied: between two copies the copy stage is briefly idle,
// and the line must not flicker to the read-back then.
ImportProgress::Phase ImportProgress::phase() const {
    return m_verifying && m_copy.ended >= m_total && m_verify.ended < m_total ? Phase::verifying
                                                                              : Phase::copying;
}

const ImportProgress::Stage& ImportProgress::shown() const {
    return phase() == Phase::verifying ? m_verify : m_copy;
}

const QString& ImportProgress::currentFileName() const {
    return shown().fileName;
}

qint64 ImportProgress::currentFileNumber() const {
    // Between two files the last one's name still shows, so its number does too.
    const Stage& stage = shown();
    return qBound<qint64>(1, stage.active ? stage.ended + 1 : stage.ended, qMax<qint64>(1, m_total));
}

QString ImportProgress::phaseText() const {
    const bool verifying = phase() == Phase::verifying;
    const QString& name = currentFileName();
    QString text = name.isEmpty() ? (verifying ? tr("Verifying") : tr("Copying"))
                                  : (verifying ? tr("Verifying %1") : tr("Copying %1")).arg(name);
    if (m_total > 1)
        text = tr("%1 (%2 of %3)").arg(text, QString::number(currentFileNumber()), QString::number(m_total));
    if (!verifying && m_verify.active && m_total > 1)
        text = tr("%1, verifying %2 of %3")
                   .arg(text, QString::number(m_verify.ended + 1), QString::number(m_total));
    return text;
}

std::optional<double> ImportProgress::secondsRemaining() const {
    if (m_workPerSecond <= 0 || m_totalBytes <= 0)
        return std::nullopt;
    const double work = double(m_totalBytes) * (m_verifying ? 2 : 1);
    const double done = double(m_copy.done()) + (m_verifying ? double(m_verify.done()) : 0);
    return qMax(0.0, work - done) / m_workPerSecond;
}

QString ImportProgress::statusText() const {
    if (isCancelled())
        return tr("Cancelling\u2026");
    const bool verifying = phase() == Phase::verifying;
    QString text = phaseText();
    if (m_totalBytes > 0)
        text =
            tr("%1 \u2014 %2 of %3")
                .arg(text, bytesText(verifying ? m_verify.done() : m_copy.done()), bytesText(m_totalBytes));
    if (m_bytesPerSecond > 0)
        //: Copy speed
        text = tr("%1, %2/s").arg(text, bytesText(qint64(m_bytesPerSecond)));
    if (const auto left = secondsRemaining())
        text = tr("%1, about %2 left").arg(text, durationText(*left));
    return text;
}

void ImportProgress::setCompletedUnitCount(qint64 completed) {
    setField(this, m_completed, completed, &ImportProgress::changed);
}

void ImportProgress::setCopying(const QString& fileName, qint64 bytesCopied) {
    m_copy.update(fileName, bytesCopied);
    measure();
}

void ImportProgress::endCopying(qint64 size) {
    m_copy.end(size);
    measure();
}

void ImportProgress::setVerifying(const QString& fileName, qint64 bytesChecked) {
    m_verify.update(fileName, bytesChecked);
    measure();
}

void ImportProgress::endVerifying(qint64 size) {
    m_verify.end(size);
    measure();
}

// The pace over the last few seconds: the shown phase's for the speed, all work for the time left.
void ImportProgress::measure() {
    const qint64 now = m_clock.elapsed();
    m_samples.push_back({now, m_copy.done(), m_verify.done()});
    while (m_samples.size() > 2 && now - m_samples[1].msecs >= kPaceWindowMs)
        m_samples.pop_front();
    const Sample& first = m_samples.front();
    const double seconds = double(now - first.msecs) / 1000.0;
    if (seconds >= 0.5) {
        const bool verifying = phase() == Phase::verifying;
        const qint64 shownBytes = verifying ? m_verify.done() - first.verified : m_copy.done() - first.copied;
        m_bytesPerSecond = double(shownBytes) / seconds;
        const qint64 work =
            m_copy.done() - first.copied + (m_verifying ? m_verify.done() - first.verified : 0);
        m_workPerSecond = double(work) / seconds;
    }
    Q_EMIT changed();
}

void ImportProgress::cancel() {
    if (!m_cancel->cancel())
        return;
    Q_EMIT cancelledChanged();
}

} // namespace velarix
