#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace velarix {

// Keeps a window from closing silently while its work runs: a close request then asks whether to
// cancel the work and close. Confirmed, the work is cancelled and the window closed without a second
// question; otherwise both stay. An idle window closes as it would without the guard.
class WindowCloseGuard : public QObject {
    Q_OBJECT
public:
    static const QString kMessage;
    static const QString kInformativeText;
    static const QString kCancelWorkAndClose;
    static const QString kKeepWindowOpen;

    // Watches `window`'s close requests; the guard belongs to the window.
    WindowCloseGuard(QWidget* window, std::function<void()> onCancelWork);

    void setBusy(bool busy) { m_isBusy = busy; }
    bool isBusy() const { return m_isBusy; }
    void setOnCancelWork(std::function<void()> onCancelWork) { m_onCancelWork = std::move(onCancelWork); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool askToCancelWork();

    QPointer<QWidget> m_window;
    std::function<void()> m_onCancelWork;
    bool m_isBusy = false;
    bool m_isHandlingClose = false;
};

} // namespace velarix
