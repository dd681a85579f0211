#include "Velarix/widgets/WindowCloseGuard.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

namespace velarix {

const QString WindowCloseGuard::kMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Cancel current work and close?"));
const QString WindowCloseGuard::kInformativeText =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Analysis or trimming is still running."));
const QString WindowCloseGuard::kCancelWorkAndClose =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Cancel Work and Close"));
const QString WindowCloseGuard::kKeepWindowOpen =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Keep Window Open"));
const QString WindowCloseGuard::kDiscardMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Close and discard your adjusted ranges?"));
const QString WindowCloseGuard::kDiscardAndClose =
    QStringLiteral(QT_TRANSLATE_NOOP("velarix::WindowCloseGuard", "Discard and Close"));

// The texts above are the English ones, kept for the tests; the user reads them translated.
QString WindowCloseGuard::translated(const QString& text) {
    return tr(qUtf8Printable(text));
}

WindowCloseGuard::WindowCloseGuard(QWidget* window, std::function<void()> onCancelWork)
    : QObject(window)
    , m_window(window)
    , m_onCancelWork(std::move(onCancelWork)) {
    setObjectName(QStringLiteral("windowCloseGuard"));
    window->installEventFilter(this);
}

void WindowCloseGuard::setBusy(bool busy) {
    const bool ended = m_isBusy && !busy;
    m_isBusy = busy;
    // The question was whether to stop the work; with the work done it has no answer to wait for.
    if (ended && m_question)
        m_question->reject();
}

bool WindowCloseGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::Close || m_isHandlingClose)
        return QObject::eventFilter(watched, event);
    if (!m_isBusy) {
        if (m_unsavedEdits.isEmpty() || askToDiscardEdits())
            return QObject::eventFilter(watched, event);
        event->ignore();
        return true;
    }
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
    return ask(translated(kMessage), translated(kInformativeText), translated(kCancelWorkAndClose));
}

bool WindowCloseGuard::askToDiscardEdits() {
    return ask(translated(kDiscardMessage), m_unsavedEdits, translated(kDiscardAndClose));
}

bool WindowCloseGuard::ask(const QString& message, const QString& details, const QString& confirm) {
    QMessageBox alert(m_window);
    alert.setObjectName(QStringLiteral("closeGuardAlert"));
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(m_window ? m_window->windowTitle() : QString());
    alert.setText(message);
    alert.setInformativeText(details);
    QPushButton* confirmButton = alert.addButton(confirm, QMessageBox::AcceptRole);
    QPushButton* keepOpen = alert.addButton(translated(kKeepWindowOpen), QMessageBox::RejectRole);
    // Return, or a hurried click on the highlighted button, must not throw work away.
    alert.setDefaultButton(keepOpen);
    alert.setEscapeButton(keepOpen);
    m_question = &alert;
    alert.exec();
    m_question = nullptr;
    return alert.clickedButton() == confirmButton;
}

} // namespace velarix
