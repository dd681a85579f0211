#pragma once

#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace velarix {

// The one way to take work off the GUI thread: runs `work` on `pool` and hands its result to `done`
// in a queued call on `context`'s thread. If `context` is gone by then, `done` is not called (the
// returned future is cancelled instead). The future carries what `done` returns, so callers that
// want the outcome of the whole step can chain or await it.
template <class Work, class Done>
auto runInBackground(QObject* context, Work&& work, Done&& done,
                     QThreadPool* pool = QThreadPool::globalInstance()) {
    return QtConcurrent::run(pool, std::forward<Work>(work)).then(context, std::forward<Done>(done));
}

// Work whose result nobody waits for (tidying up, a listing that reports through the context).
template <class Work> QFuture<void> runInBackground(Work&& work, QThreadPool* pool = QThreadPool::globalInstance()) {
    return QtConcurrent::run(pool, std::forward<Work>(work));
}

} // namespace velarix
