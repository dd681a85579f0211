#include "demo/DemoCard.h"
#include "media/MediaOpen.h"
#include "tests/support/MediaFixtures.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

class DemoCardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void makesACardOfTwoJumps() {
        QTemporaryDir dir;
        const QDate day(2026, 11, 28);
        int lastDone = 0;
        auto card = DemoCard::make(dir.path(), day, nullptr, [&](int done, int total) {
            QCOMPARE(done, lastDone + 1);
            QCOMPARE(total, 6);
            lastDone = done;
        });
        QVERIFY2(card, qPrintable(card ? QString() : card.error().message));
        QCOMPARE(card->volumePath, dir.filePath(QStringLiteral("VELARIX DEMO")));
        QVERIFY(QFileInfo(card->volumePath + QStringLiteral("/DCIM")).isDir());

        QStringList names;
        for (const QString& file : card->files)
            names.append(QFileInfo(file).fileName());
        QCOMPARE(names, (QStringList{"GX010041.MP4", "GX010042.MP4", "GL010042.LRV", "GX010043.MP4",
                                     "GX010044.MP4", "GX010045.MP4"}));

        // Real, playable clips of the planned lengths, dated as the camera would.
        const QList<double> durations{40, 24, 24, 36, 20, 150};
        const QList<QTime> starts{QTime(10, 12, 5),  QTime(10, 13, 20), QTime(10, 13, 20),
                                  QTime(13, 47, 40), QTime(13, 48, 50), QTime(16, 5, 10)};
        for (int i = 0; i < card->files.size(); ++i) {
            const auto duration = loadDuration(card->files[i]);
            QVERIFY2(duration, qPrintable(card->files[i]));
            QVERIFY2(qAbs(*duration - durations[i]) < 0.1, qPrintable(QString::number(*duration)));
            QCOMPARE(QFileInfo(card->files[i]).lastModified(), QDateTime(day, starts[i]));
        }
        // The last jump carries the camera's telemetry.
        QCOMPARE(test::summarizeStreams(card->files[5]).telemetry, 1);
        QCOMPARE(test::summarizeStreams(card->files[0]).telemetry, 0);
        // Clips of one jump follow within the first clip's length plus five minutes; the jumps do not.
        const auto firstJumpGap = QDateTime(day, starts[0]).secsTo(QDateTime(day, starts[1]));
        QVERIFY(firstJumpGap < 40 + 300);
        QVERIFY(QDateTime(day, starts[1]).secsTo(QDateTime(day, starts[3])) > 24 + 300);

        // A second run keeps what is there.
        const QDateTime born = QFileInfo(card->files[0]).birthTime();
        auto again = DemoCard::make(dir.path(), day);
        QVERIFY(again);
        QCOMPARE(QFileInfo(card->files[0]).birthTime(), born);
        QVERIFY(QDir(card->volumePath + QStringLiteral("/DCIM/100GOPRO"))
                    .entryList(QDir::Hidden | QDir::Files)
                    .size() == 6);
    }
};

QTEST_GUILESS_MAIN(DemoCardTest)
#include "test_demo_card.moc"
