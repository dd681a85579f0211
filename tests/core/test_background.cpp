#include "core/Background.h"
#include "core/CancelToken.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>

using namespace velarix;
using namespace std::chrono_literals;

class BackgroundTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tokenCancelsByHandOrByDeadline() {
        CancelToken plain;
        QVERIFY(!plain.isCancelled() && !isCancelled(nullptr));
        QVERIFY(plain.cancel());
        QVERIFY(!plain.cancel()); // only the first call sets it
        QVERIFY(plain.isCancelled() && !plain.timedOut());
        QCOMPARE(CancelToken::interruptCallback(&plain), 1);
        QCOMPARE(CancelToken::interruptCallback(nullptr), 0);

        // A child sees its parent's cancel; a deadline reads as cancelled and says it timed out.
        CancelToken parent;
        const CancelToken child(&parent);
        QVERIFY(!child.isCancelled());
        parent.cancel();
        QVERIFY(child.isCancelled() && !child.timedOut());

        const CancelToken timed(nullptr, 30ms);
        QVERIFY(!timed.isCancelled() && !timed.timedOut());
        QTRY_VERIFY_WITH_TIMEOUT(timed.isCancelled(), 2000);
        QVERIFY(timed.timedOut());

        // Cancelled by hand before the deadline: not a time-out, even once the deadline has passed.
        CancelToken early(nullptr, 20ms);
        early.cancel();
        std::this_thread::sleep_for(40ms);
        QVERIFY(early.isCancelled() && !early.timedOut());
    }

    void resultComesBackOnTheContextThread() {
        QObject context;
        Qt::HANDLE workThread = nullptr;
        Qt::HANDLE doneThread = nullptr;
        int got = 0;
        const QFuture<int> future = runInBackground(
            &context,
            [&] {
                workThread = QThread::currentThreadId();
                return 42;
            },
            [&](int value) {
                doneThread = QThread::currentThreadId();
                got = value;
            });
        QTRY_COMPARE(got, 42);
        QCOMPARE(future.result(), 42);
        QCOMPARE(doneThread, QThread::currentThreadId());
        QVERIFY(workThread != QThread::currentThreadId());
    }

    void resultIsDroppedWhenTheContextIsGone() {
        auto context = std::make_unique<QObject>();
        std::atomic<bool> release{false};
        bool called = false;
        const QFuture<void> future = runInBackground(
            context.get(),
            [&] {
                while (!release)
                    std::this_thread::sleep_for(1ms);
            },
            [&] { called = true; });
        context.reset();
        release = true;
        QTRY_VERIFY(future.isFinished());
        QTest::qWait(20); // a queued call would have come by now
        QVERIFY(!called);
    }
};

QTEST_GUILESS_MAIN(BackgroundTest)
#include "test_background.moc"
