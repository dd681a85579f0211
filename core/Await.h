#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>

namespace velarix {

// Runs the calling thread's event loop until the future is finished (for the command line and tests,
// which have no window to return to), then gives its result.
template <class T> T awaitFuture(QFuture<T> future) {
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<T> watcher;
        QObject::connect(&watcher, &QFutureWatcher<T>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        if (!future.isFinished())
            loop.exec();
    }
    if constexpr (!std::is_void_v<T>)
        return future.result();
}

} // namespace velarix
