// Faults in the middle of an import: the card pulled, the destination full or read-only, a file-size
// limit, the process killed. After each, what carries a final name is whole, the history holds exactly
// those files, and a re-run with --new brings the rest without duplicating anything.

#include "core/Await.h"
#include "desktop/AppPaths.h"
#include "desktop/Settings.h"
#include "desktop/Volumes.h"
#include "history/HistoryStore.h"
#include "import/VelarixModel.h"
#include "tests/support/CardTest.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

enum class Fault { cardPulled, diskFull, fileSizeLimit, readOnly, killed };

constexpr qint64 MiB = 1024 * 1024;
constexpr int kFiles = 5;
// The third file is the largest, so that a per-file size limit stops only it.
constexpr qint64 kSizes[kFiles] = {3 * MiB + 11, 3 * MiB + 22, 5 * MiB + 33, 3 * MiB + 44, 3 * MiB + 55};

QByteArray randomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

QString sourceName(int i) {
    return QStringLiteral("GX01000%1.MP4").arg(i + 1);
}

QDateTime recorded(int i) {
    return QDateTime(QDate(2024, 5, 1), QTime(10, i));
}

QStringList finalFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList temporaries(const QString& folder) {
    return QDir(folder).entryList({".velarix-import-*"}, QDir::Files | QDir::Hidden);
}

// The third file is in flight: two copies are done and a temporary holds some of the third.
bool thirdInFlight(const QString& dest) {
    const QStringList temps = temporaries(dest);
    return finalFiles(dest).size() == 2 && temps.size() == 1 &&
           QFileInfo(dest + u'/' + temps[0]).size() >= MiB;
}

QJsonObject jsonOf(const QByteArray& out) {
    return QJsonDocument::fromJson(out).object();
}

QStringList names(const QJsonArray& files, const QString& key) {
    QStringList list;
    for (const auto& file : files)
        list.append(QFileInfo(file.toObject()[key].toString()).fileName());
    list.sort();
    return list;
}

} // namespace

class ImportFaultsTest : public CardTest {
    Q_OBJECT

    QByteArray bytes[kFiles];

    void writeSource(int i) { card->addFile("100GOPRO/" + sourceName(i), bytes[i], recorded(i)); }

    // Read from the store itself: quick enough to poll while a copy is in flight.
    qsizetype recordedCount() {
        auto store = HistoryStore::open(AppPaths::storeFile());
        if (!store)
            return -1;
        auto records = (*store)->fetchImportHistory(folderUUID(card->root()));
        return records ? records->size() : -1;
    }

    QStringList historyNames() {
        const auto history = runCli({"history", "--json"});
        return names(jsonOf(history.out)["files"].toArray(), "fileName");
    }

    // Exactly `expected` under final names, each byte for byte its source, at most `temporariesLeft`
    // hidden temporaries, and the history names exactly those files.
    void checkOutcome(const QString& dest, QStringList expected, int temporariesLeft) {
        expected.sort();
        QCOMPARE(finalFiles(dest), expected);
        for (int i = 0; i < kFiles; ++i) {
            if (expected.contains(sourceName(i)))
                QVERIFY2(readFile(dest + u'/' + sourceName(i)) == bytes[i], qPrintable(sourceName(i)));
        }
        QVERIFY(temporaries(dest).size() <= temporariesLeft);
        QCOMPARE(historyNames(), expected);
    }

private Q_SLOTS:
    void init() {
        freshCard();
        for (int i = 0; i < kFiles; ++i) {
            bytes[i] = randomBytes(kSizes[i]);
            writeSource(i);
        }
    }

    void faultInTheThirdFile_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("card pulled") << Fault::cardPulled;
        QTest::newRow("destination full (tmpfs)") << Fault::diskFull;
        QTest::newRow("file size limit") << Fault::fileSizeLimit;
        QTest::newRow("destination turns read-only") << Fault::readOnly;
        QTest::newRow("killed") << Fault::killed;
    }

    void faultInTheThirdFile() {
        QFETCH(Fault, fault);
        QString dest = home->destination();
        QString mountPoint;
        auto unmount = qScopeGuard([&] {
            if (!mountPoint.isEmpty())
                ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        });
        auto writable = qScopeGuard([&] {
            if (fault == Fault::readOnly)
                runProcess("chattr", {"-i", dest});
        });
        if (fault == Fault::diskFull) {
            mountPoint = home->path() + "/small";
            QDir().mkpath(mountPoint);
            if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=24m") != 0) {
                mountPoint.clear();
                QSKIP("cannot mount a tmpfs here (needs root); the file-size-limit row still runs");
            }
            dest = mountPoint + "/dest";
        }
        QDir().mkpath(dest);
        if (fault == Fault::readOnly && runProcess("chattr", {"-i", dest}).exitCode != 0)
            QSKIP("chattr cannot change this file system's flags, so the destination cannot be frozen");

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (fault == Fault::fileSizeLimit) {
            // SIGXFSZ keeps its default action: velarix-cli itself must turn it into a write error.
            process.setChildProcessModifier([] {
                const struct rlimit limit = {4 * MiB, 4 * MiB};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        } else {
            // Slower for the kill, which also waits for the history below, and for the full disk: the
            // copies before are completed quickly now, and a busy machine must not let the next one
            // take its space before the filler does.
            const bool slow = fault == Fault::killed || fault == Fault::diskFull;
            environment.insert("VELARIX_CLI_CHUNK_DELAY_MS", slow ? "300" : "100");
        }
        process.setProcessEnvironment(environment);
        process.start(VELARIX_CLI_PATH, {"import", "--json", "--pattern", "{filename}", "--dest", dest});
        QVERIFY(process.waitForStarted());

        if (fault != Fault::fileSizeLimit) {
            QTRY_VERIFY2_WITH_TIMEOUT(thirdInFlight(dest), "the third copy never started", 20'000);
            switch (fault) {
            case Fault::cardPulled: {
                const QString moved = card->root() + "-pulled";
                QVERIFY(QDir().rename(card->root(), moved));
                // What is still open stops yielding data, as a card that is gone would.
                QVERIFY(QFile::resize(moved + "/DCIM/100GOPRO/" + sourceName(2), MiB));
                break;
            }
            case Fault::diskFull: {
                struct statvfs space {};
                QVERIFY(::statvfs(QFile::encodeName(mountPoint).constData(), &space) == 0);
                QFile filler(mountPoint + "/filler");
                QVERIFY(filler.open(QIODevice::WriteOnly));
                filler.write(QByteArray(qint64(space.f_bavail * space.f_frsize) - MiB / 2, 'x'));
                break;
            }
            case Fault::readOnly:
                QCOMPARE(runProcess("chattr", {"+i", dest}).exitCode, 0);
                break;
            case Fault::killed:
                // The second copy is recorded just after it is named, while the third is written.
                QTRY_COMPARE_WITH_TIMEOUT(recordedCount(), qsizetype(2), 20'000);
                QVERIFY(thirdInFlight(dest));
                ::kill(pid_t(process.processId()), SIGKILL);
                break;
            case Fault::fileSizeLimit:
                break;
            }
        }
        QVERIFY(process.waitForFinished(30'000));
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();

        QStringList copied{sourceName(0), sourceName(1)};
        if (fault == Fault::killed) {
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        } else {
            QVERIFY2(process.exitStatus() == QProcess::NormalExit, err.constData());
            QCOMPARE(process.exitCode(), 1);
            if (fault == Fault::fileSizeLimit)
                copied << sourceName(3) << sourceName(4);
            // A copy takes its space when it starts: the one in flight is safe, the next cannot start.
            if (fault == Fault::diskFull)
                copied << sourceName(2);
            const QJsonObject report = jsonOf(out);
            QCOMPARE(names(report["imported"].toArray(), "destination"), copied);
            QCOMPARE(report["failed"].toArray().size(), kFiles - copied.size());
            const QString failedName = sourceName(fault == Fault::diskFull ? 3 : 2);
            const char* reason = fault == Fault::cardPulled      ? "was the card removed?"
                                 : fault == Fault::diskFull      ? "No space left on device"
                                 : fault == Fault::fileSizeLimit ? "File too large"
                                                                 : "Operation not permitted";
            QVERIFY2(err.contains(QByteArray(failedName.toUtf8() + ": ")) && err.contains(reason),
                     err.constData());
        }

        // Put things right again: the card back, space freed, the folder writable.
        if (fault == Fault::cardPulled) {
            QVERIFY(QDir().rename(card->root() + "-pulled", card->root()));
            writeSource(2);
        } else if (fault == Fault::diskFull) {
            QVERIFY(QFile::remove(mountPoint + "/filler"));
        } else if (fault == Fault::readOnly) {
            QCOMPARE(runProcess("chattr", {"-i", dest}).exitCode, 0);
        }
        // A folder that turned read-only, or a killed process, can keep one temporary until the next run.
        const bool mayLeaveTemporary = fault == Fault::readOnly || fault == Fault::killed;
        checkOutcome(dest, copied, mayLeaveTemporary ? 1 : 0);
        if (QTest::currentTestFailed())
            return;

        const auto rerun = runCli({"import", "--new", "--json", "--pattern", "{filename}", "--dest", dest});
        QVERIFY2(rerun.exitCode == 0, rerun.err.constData());
        QStringList missing;
        for (int i = 0; i < kFiles; ++i) {
            if (!copied.contains(sourceName(i)))
                missing.append(sourceName(i));
        }
        QCOMPARE(names(jsonOf(rerun.out)["imported"].toArray(), "destination"), missing);
        checkOutcome(dest, copied + missing, 0);
    }

    // A temporary that a copy is still writing (locked) survives the sweep of a concurrent run; one
    // whose process died does not.
    void sweepSparesLiveCopies() {
        Settings settings(home->path() + "/settings.json");
        auto store = std::move(HistoryStore::open(home->path() + "/default.store").value());
        VelarixModel model(settings);
        model.setFolderOpener([](const QString&) {});
        model.setOutputLocation(home->destination());
        model.setImportPattern("{filename}");
        QVERIFY(awaitFuture(model.loadSDCard(card->root(), *store)).ok());
        model.setSelection({model.videoFiles().first()->id()});

        QDir().mkpath(home->destination());
        const QString dead = home->destination() + "/.velarix-import-dead.tmp";
        const QString live = home->destination() + "/.velarix-import-live.tmp";
        for (const QString& path : {dead, live}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("partial");
        }
        const int liveFd = ::open(QFile::encodeName(live).constData(), O_RDWR | O_CLOEXEC);
        auto closeLive = qScopeGuard([liveFd] { ::close(liveFd); });
        QCOMPARE(::flock(liveFd, LOCK_EX), 0);

        const ImportReport report = awaitFuture(model.importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 1);
        QVERIFY(!QFileInfo::exists(dead));
        QVERIFY(QFileInfo::exists(live));
        QCOMPARE(readFile(report.imported[0].destination), bytes[kFiles - 1]);
    }
};

QTEST_GUILESS_MAIN(ImportFaultsTest)
#include "test_import_faults.moc"
