#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace velarix {

// Calls `done` with the future's result on `context`'s thread once the future has finished, in a
// queued call. If `context` is deleted first, `done` is never called. A watcher owned by `context`
// carries the result over, which, unlike QFuture::then(context, …), is safe when the context is
// deleted while the work is still running. A future without a result (cancelled) calls nothing.
template <class T, class Done> void whenFinished(QObject* context, const QFuture<T>& future, Done done) {
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         const QFuture<T> finished = watcher->future();
                         if constexpr (std::is_void_v<T>) {
                             if (!finished.isCanceled())
                                 done();
                         } else if (finished.resultCount() > 0) {
                             done(finished.result());
                         }
                     });
    watcher->setFuture(future);
}

// The one way to take work off the GUI thread: runs `work` on `pool` and hands its result to `done`
// on `context`'s thread (see whenFinished). Returns the work's own future, for callers that also
// want to wait for it or chain on it. The work must not throw.
template <class Work, class Done>
auto runInBackground(QObject* context, Work&& work, Done&& done,
                     QThreadPool* pool = QThreadPool::globalInstance()) {
    auto future = QtConcurrent::run(pool, std::forward<Work>(work));
    whenFinished(context, future, std::forward<Done>(done));
    return future;
}

// Work that reports through its future alone, or not at all (tidying up on the disk).
template <class Work> auto runInBackground(Work&& work, QThreadPool* pool = QThreadPool::globalInstance()) {
    return QtConcurrent::run(pool, std::forward<Work>(work));
}

} // namespace velarix
