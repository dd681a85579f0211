#include "import/FailureReport.h"

#include "import/VelarixModel.h"

#include <QFutureWatcher>

namespace velarix {

void reportFailure(const QFuture<Result<void>>& operation, QObject* context, VelarixModel& model) {
    auto* watcher = new QFutureWatcher<Result<void>>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, &model] {
        const Result<void> result = watcher->result();
        watcher->deleteLater();
        if (!result && !result.isCancelled())
            model.setError(ApplicationError::internalError(result.error().message));
    });
    watcher->setFuture(operation);
}

} // namespace velarix
