#include "Velarix/shell/ImportNotifier.h"

#include "desktop/DesktopNotifications.h"
#include "import/VelarixModel.h"

#include <QDir>

#include <cmath>

namespace velarix {

namespace {
// Notification servers animate every replacement: a few updates a second at most.
constexpr qint64 kMinimumIntervalMs = 1500;
} // namespace

ImportNotifier::ImportNotifier(VelarixModel& model, DesktopNotifications& notifications,
                               std::function<bool()> isHidden, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_notifications(notifications)
    , m_isHidden(std::move(isHidden)) {
    connect(&m_model, &VelarixModel::importProgressChanged, this, &ImportNotifier::progressChanged);
}

void ImportNotifier::progressChanged() {
    ImportProgress* progress = m_model.importProgress();
    if (progress == m_progress)
        return;
    if (m_progress && !progress) {
        m_progress = nullptr;
        // The run's outcome lands in the model's error right after the progress goes.
        QMetaObject::invokeMethod(this, &ImportNotifier::finished, Qt::QueuedConnection);
        return;
    }
    m_progress = progress;
    m_total = progress ? progress->totalUnitCount() : 0;
    m_lastPercent = -1;
    m_shownWhileHidden = false;
    if (!progress)
        return;
    connect(progress, &ImportProgress::changed, this, [this] { update(false); });
    update(true);
}

void ImportNotifier::update(bool force) {
    if (!m_progress)
        return;
    const double fraction = std::clamp(m_progress->fractionCompleted(), 0.0, 1.0);
    const int percent = int(std::floor(fraction * 100));
    if (percent == m_lastPercent && !force)
        return;
    m_lastPercent = percent;
    m_notifications.setTaskbarProgress(fraction);
    if (!m_isHidden())
        return;
    if (!force && m_shownWhileHidden && m_sinceLast.isValid() && m_sinceLast.elapsed() < kMinimumIntervalMs)
        return;
    m_sinceLast.start();
    m_shownWhileHidden = true;
    const QString body = m_progress->phaseText();
    const QString what = tr("%n video(s)", nullptr, int(m_total));
    m_notifications.show(QString::fromLatin1(kKey),
                         {tr("Importing %1 \u2014 %2%").arg(what).arg(percent), body, percent});
}

void ImportNotifier::finished() {
    m_notifications.setTaskbarProgress(std::nullopt);
    // The end is told when the run was followed in notifications or nobody sees the window now.
    if (!m_shownWhileHidden && !m_isHidden())
        return;
    m_shownWhileHidden = false;
    const ApplicationError& error = m_model.error();
    DesktopNotifications::Notification done;
    if (error.isEmpty()) {
        done.summary = tr("Import finished");
        done.body = tr("%n video(s) copied to %1", nullptr, int(m_total))
                        .arg(QDir::toNativeSeparators(m_model.outputLocation()));
    } else if (error.isCancellation()) {
        done.summary = tr("Import cancelled");
        done.body = error.errorDescription(); // what was copied and kept
    } else {
        done.summary = tr("Import failed");
        done.body = error.errorDescription();
    }
    m_notifications.show(QString::fromLatin1(kKey), done);
}

} // namespace velarix
