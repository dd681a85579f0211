#include "Velarix/WindowCloseGuard.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

namespace velarix {

const QString WindowCloseGuard::kMessage = QStringLiteral("Cancel current work and close?");
const QString WindowCloseGuard::kInformativeText = QStringLiteral("Analysis or trimming is still running.");
const QString WindowCloseGuard::kCancelWorkAndClose = QStringLiteral("Cancel Work and Close");
const QString WindowCloseGuard::kKeepWindowOpen = QStringLiteral("Keep Window Open");

WindowCloseGuard::WindowCloseGuard(QWidget* window, std::function<void()> onCancelWork)
    : QObject(window)
    , m_window(window)
    , m_onCancelWork(std::move(onCancelWork)) {
    setObjectName(QStringLiteral("windowCloseGuard"));
    window->installEventFilter(this);
}

bool WindowCloseGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::Close || !m_isBusy || m_isHandlingClose)
        return QObject::eventFilter(watched, event);
    // The window stays open for now in any case; a confirmed close is carried out afterwards.
    event->ignore();
    if (askToCancelWork()) {
        m_isHandlingClose = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_onCancelWork)
                    m_onCancelWork();
                // The repeated request passes even if the work has not reported that it stopped yet.
                QPointer<WindowCloseGuard> self(this);
                if (m_window)
                    m_window->close();
                if (self)
                    m_isHandlingClose = false;
            },
            Qt::QueuedConnection);
    }
    return true;
}

bool WindowCloseGuard::askToCancelWork() {
    QMessageBox alert(m_window);
    alert.setObjectName(QStringLiteral("closeGuardAlert"));
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(m_window ? m_window->windowTitle() : QString());
    alert.setText(kMessage);
    alert.setInformativeText(kInformativeText);
    QPushButton* cancelWork = alert.addButton(kCancelWorkAndClose, QMessageBox::AcceptRole);
    QPushButton* keepOpen = alert.addButton(kKeepWindowOpen, QMessageBox::RejectRole);
    alert.setDefaultButton(cancelWork);
    alert.setEscapeButton(keepOpen);
    alert.exec();
    return alert.clickedButton() == cancelWork;
}

} // namespace velarix
