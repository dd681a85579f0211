#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>

namespace velarix {

class DesktopNotifications;
class ImportProgress;
class VelarixModel;

// Tells about a running import where the user can see it while Velarix has no window open: a
// desktop notification that follows the progress and then says how the import ended. The taskbar
// entry shows the progress whether a window is open or not.
class ImportNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kKey = "import";

    // `isHidden` tells whether the user cannot see the main window now.
    ImportNotifier(VelarixModel& model, DesktopNotifications& notifications, std::function<bool()> isHidden,
                   QObject* parent = nullptr);

private:
    void progressChanged();
    void update(bool force);
    void finished();

    VelarixModel& m_model;
    DesktopNotifications& m_notifications;
    std::function<bool()> m_isHidden;
    QPointer<ImportProgress> m_progress;
    qint64 m_total = 0;
    int m_lastPercent = -1;
    bool m_shownWhileHidden = false;
    QElapsedTimer m_sinceLast;
};

} // namespace velarix
