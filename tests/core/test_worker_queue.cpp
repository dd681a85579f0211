#include "core/WorkerQueue.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace velarix;
using namespace std::chrono_literals;

namespace {

// A job that counts its own destruction: dropped jobs must free what they hold.
struct Job {
    int number = 0;
    std::shared_ptr<std::atomic<int>> alive;
    Job(int n, std::shared_ptr<std::atomic<int>> counter)
        : number(n)
        , alive(std::move(counter)) {
        ++*alive;
    }
    Job(Job&& other) noexcept
        : number(other.number)
        , alive(std::exchange(other.alive, nullptr)) {}
    Job& operator=(Job&&) = delete;
    ~Job() {
        if (alive)
            --*alive;
    }
};

} // namespace

class WorkerQueueTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void retiresInPushOrderWhateverOrderTheThreadsEndIn() {
        auto alive = std::make_shared<std::atomic<int>>(0);
        std::vector<int> retired;
        std::atomic<int> running = 0;
        std::atomic<int> mostRunning = 0;
        {
            WorkerQueue<Job> queue(
                2, 3,
                [&](Job& job) {
                    const int now = ++running;
                    mostRunning = std::max(mostRunning.load(), now);
                    // Even jobs take longer, so odd ones overtake them.
                    std::this_thread::sleep_for(job.number % 2 == 0 ? 20ms : 1ms);
                    --running;
                    return Result<void>();
                },
                [&](Job& job) { retired.push_back(job.number); });
            for (int i = 0; i < 8; ++i) {
                auto ticket = queue.push(Job(i, alive));
                QVERIFY(ticket);
                QCOMPARE(*ticket, WorkerQueue<Job>::Ticket(i));
            }
            QVERIFY(queue.waitIdle());
            QVERIFY(queue.isDone(7));
        }
        QCOMPARE(retired, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(mostRunning.load(), 2);
        QCOMPARE(alive->load(), 0);
    }

    void aProducerAheadWaitsForRoom() {
        auto alive = std::make_shared<std::atomic<int>>(0);
        std::mutex gate;
        std::unique_lock closed(gate);
        WorkerQueue<Job> queue(1, 2, [&](Job&) {
            const std::lock_guard pass(gate);
            return Result<void>();
        });
        QVERIFY(queue.push(Job(0, alive))); // running, held at the gate
        QVERIFY(queue.push(Job(1, alive))); // waiting: the queue is full now
        QTRY_VERIFY(!queue.tryPush(Job(2, alive)));
        std::atomic<bool> pushed = false;
        std::thread producer([&] {
            (void)queue.push(Job(3, alive));
            pushed = true;
        });
        std::this_thread::sleep_for(50ms);
        QVERIFY(!pushed);
        closed.unlock();
        producer.join();
        QVERIFY(queue.waitFor(2)); // ticket 2 is job 3: the one refused took none
        QCOMPARE(alive->load(), 0);
    }

    void theFirstFailureDropsTheRestAndIsHandedBack() {
        auto alive = std::make_shared<std::atomic<int>>(0);
        std::vector<int> ran;
        std::vector<int> retired;
        std::mutex gate;
        std::unique_lock closed(gate);
        WorkerQueue<Job> queue(
            1, WorkerQueue<Job>::kUnbounded,
            [&](Job& job) -> Result<void> {
                const std::lock_guard pass(gate);
                ran.push_back(job.number);
                if (job.number == 1)
                    return Error::make(QStringLiteral("Test"), EIO, QStringLiteral("broken"));
                return {};
            },
            [&](Job& job) { retired.push_back(job.number); });
        for (int i = 0; i < 5; ++i)
            QVERIFY(queue.push(Job(i, alive)));
        closed.unlock();
        const auto idle = queue.waitIdle();
        QVERIFY(!idle);
        QCOMPARE(idle.error().code, EIO);
        QVERIFY(!queue.push(Job(9, alive)));
        queue.stop();
        QCOMPARE(ran, (std::vector<int>{0, 1}));
        QCOMPARE(retired, (std::vector<int>{0}));
        QVERIFY(queue.isDone(4)); // dropped counts as done: nobody waits for it
        QCOMPARE(alive->load(), 0);
    }

    void stopDropsWhatHasNotStarted() {
        auto alive = std::make_shared<std::atomic<int>>(0);
        std::atomic<int> started = 0;
        std::atomic<int> ran = 0;
        std::mutex gate;
        std::unique_lock closed(gate);
        WorkerQueue<Job> queue(1, 10, [&](Job&) {
            ++started;
            const std::lock_guard pass(gate);
            ++ran;
            return Result<void>();
        });
        for (int i = 0; i < 4; ++i)
            QVERIFY(queue.push(Job(i, alive)));
        QTRY_COMPARE(started.load(), 1);
        QCOMPARE(alive->load(), 4);
        std::thread stopper([&] { queue.stop(); });
        QTRY_COMPARE(alive->load(), 1); // the waiting three are gone, the running one is not
        closed.unlock();
        stopper.join();
        QCOMPARE(ran.load(), 1);
        QCOMPARE(alive->load(), 0);
        QVERIFY(queue.waitIdle().isCancelled());
    }
};

QTEST_GUILESS_MAIN(WorkerQueueTest)
#include "test_worker_queue.moc"
