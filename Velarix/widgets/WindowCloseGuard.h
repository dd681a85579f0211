#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace velarix {

// Keeps a window from closing silently while its work runs: a close request then asks whether to
// cancel the work and close. Confirmed, the work is cancelled and the window closed without a second
// question; otherwise both stay, and the question's default is to keep them. When the work ends
// while the question is shown, the question goes by itself (the window stays, with what the work
// produced). An idle window with unsaved edits asks before they are thrown away; otherwise it closes
// as it would without the guard.
class WindowCloseGuard : public QObject {
    Q_OBJECT
public:
    static const QString kMessage;
    static const QString kInformativeText;
    static const QString kCancelWorkAndClose;
    static const QString kKeepWindowOpen;
    static const QString kDiscardMessage;
    static const QString kDiscardAndClose;

    // Watches `window`'s close requests; the guard belongs to the window.
    WindowCloseGuard(QWidget* window, std::function<void()> onCancelWork);

    void setBusy(bool busy);
    bool isBusy() const { return m_isBusy; }
    void setOnCancelWork(std::function<void()> onCancelWork) { m_onCancelWork = std::move(onCancelWork); }
    // What closing an idle window would throw away, in words ("2 videos have…"); empty for nothing.
    void setUnsavedEdits(const QString& description) { m_unsavedEdits = description; }
    // The question while it is shown.
    QMessageBox* question() const { return m_question; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString translated(const QString& text);
    bool askToCancelWork();
    bool askToDiscardEdits();
    bool ask(const QString& message, const QString& details, const QString& confirm);

    QPointer<QWidget> m_window;
    std::function<void()> m_onCancelWork;
    bool m_isBusy = false;
    bool m_isHandlingClose = false;
    QString m_unsavedEdits;
    QPointer<QMessageBox> m_question;
};

} // namespace velarix
