#pragma once

#include "trimming/VideoTrimmingModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace velarix::test {

// Holds background work until released (or cancelled), so that tests can look at a window while
// analysis or trimming is running.
struct Gate {
    std::atomic<bool> open{false};
    bool wait(const CancelToken* cancel) const {
        while (!open) {
            if (isCancelled(cancel))
                return false;
            QThread::msleep(5);
        }
        return true;
    }
};
using GatePtr = std::shared_ptr<Gate>;

// An analysis that waits for the gate and then finds a 300 s clip of 1 GB with the range 40-150.
inline VideoTrimmingModel::AnalyzeFunction heldAnalysis(GatePtr gate) {
    return [gate](const QString&, const CancelToken* cancel,
                  const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
        if (!gate->wait(cancel))
            return Error::cancellation();
        VideoTrimAnalysisResult result;
        result.duration = 300;
        result.fileSize = 1'000'000'000;
        result.suggestedStart = 40;
        result.suggestedEnd = 150;
        result.summary = QStringLiteral("Keep 00:40-02:30");
        result.levels = std::vector<double>(600, -30.0);
        result.exitTime = 50;
        result.audioOpeningTime = 140;
        return result;
    };
}

// An export that waits for the gate and then reports the file trimmed in place.
inline VideoTrimmingModel::ExportFunction heldExport(GatePtr gate) {
    return [gate](const VideoTrimExportRequest& request, const CancelToken* cancel,
                  const VideoTrimmingModel::Progress&) -> Result<QUrl> {
        if (!gate->wait(cancel))
            return Error::cancellation();
        return request.url;
    };
}

// Answers the next modal message box with the button of that text, and keeps what it asked.
class AlertAnswer : public QObject {
public:
    explicit AlertAnswer(const QString& button)
        : m_button(button) {
        auto* timer = new QTimer(this);
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, this, [this, timer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (box == m_last)
                return;
            m_last = box;
            ++shown;
            buttons.clear();
            text = box->text();
            informativeText = box->informativeText();
            title = box->windowTitle();
            defaultButton =
                box->defaultButton() ? box->defaultButton()->text().remove(QLatin1Char('&')) : QString();
            for (QAbstractButton* b : box->buttons()) {
                const QString label = b->text().remove(QLatin1Char('&'));
                buttons << label;
                if (label == m_button) {
                    timer->stop();
                    b->click();
                    return;
                }
            }
        });
        timer->start();
    }

    int shown = 0;
    QString text;
    QString informativeText;
    QString title;
    QString defaultButton;
    QStringList buttons;

private:
    QString m_button;
    QPointer<QMessageBox> m_last;
};

} // namespace velarix::test
