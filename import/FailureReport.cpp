#include "import/FailureReport.h"

#include "core/Background.h"
#include "import/VelarixModel.h"

namespace velarix {

void reportFailure(const QFuture<Result<void>>& operation, QObject* context, VelarixModel& model) {
    whenFinished(context, operation, [&model](const Result<void>& result) {
        if (!result && !result.isCancelled())
            model.setError(ApplicationError::internalError(result.error().message));
    });
}

} // namespace velarix
