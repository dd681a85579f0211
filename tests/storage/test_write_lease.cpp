#include "storage/WriteLease.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velarix;

class WriteLeaseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writerFoundOrKeptWaiting() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QFile writer(path);
        QVERIFY(writer.open(QIODevice::WriteOnly));
        ReadLease refused = ReadLease::take(path);
        if (!refused.unknownReason().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no leases here: ") + refused.unknownReason()));
        QVERIFY(refused.beingWritten());
        QVERIFY(!refused.held());
        writer.close();

        ReadLease lease = ReadLease::take(path);
        QVERIFY(lease.held());
        QVERIFY(!lease.broken());
        // A writer arriving now waits for the lease, and its arrival neither kills us (the kernel
        // signals the holder) nor goes unnoticed.
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
            ::_exit(fd >= 0 ? 0 : 1);
        }
        QTRY_VERIFY(lease.broken());
        int status = 0;
        QCOMPARE(::waitpid(child, &status, WNOHANG), 0);
        lease.release();
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
};

QTEST_GUILESS_MAIN(WriteLeaseTest)
#include "test_write_lease.moc"
