#include "media/TelemetryKinds.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TimedMetadataFixtures.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

class TelemetryKindsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void namesTheTracksAClipCarries_data() {
        QTest::addColumn<QList<QByteArray>>("tracks");
        QTest::addColumn<QStringList>("used");
        QTest::addColumn<QStringList>("unused");
        QTest::newRow("camera motion (camm)") << QList<QByteArray>{"camm"} << QStringList{}
                                              << QStringList{QStringLiteral("camera motion metadata (camm)")};
        QTest::newRow("Sony (rtmd)") << QList<QByteArray>{"rtmd"} << QStringList{}
                                     << QStringList{QStringLiteral("Sony real-time metadata (rtmd)")};
        QTest::newRow("DJI (djmd)") << QList<QByteArray>{"djmd"} << QStringList{}
                                    << QStringList{QStringLiteral("DJI flight and camera data (djmd)")};
        QTest::newRow("timed metadata (mebx)") << QList<QByteArray>{"mebx"} << QStringList{}
                                               << QStringList{QStringLiteral("timed metadata (mebx)")};
        QTest::newRow("GPMF beside camm, each named once")
            << QList<QByteArray>{"gpmd", "camm", "camm"} << QStringList{QStringLiteral("GPMF sensors (gpmd)")}
            << QStringList{QStringLiteral("camera motion metadata (camm)")};
        QTest::newRow("none") << QList<QByteArray>{} << QStringList{} << QStringList{};
    }

    // Each kind is named from the track's sample description, as another reader (ffprobe) sees it.
    void namesTheTracksAClipCarries() {
        QFETCH(QList<QByteArray>, tracks);
        QFETCH(QStringList, used);
        QFETCH(QStringList, unused);
        const QString path =
            m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".mp4"));
        QCOMPARE(makeTimedMetadataClip(path, tracks), QString());
        const QStringList tags = readerOutput(QStringLiteral("ffprobe"),
                                              {"-v", "error", "-select_streams", "d", "-show_entries",
                                               "stream=codec_tag_string", "-of", "default=nw=1:nk=1", path})
                                     .split(u'\n', Qt::SkipEmptyParts);
        QStringList expectedTags;
        for (const QByteArray& track : tracks)
            expectedTags.append(QString::fromLatin1(track));
        QCOMPARE(tags, expectedTags);

        const TelemetryKinds kinds = telemetryKinds(path);
        QCOMPARE(kinds.used, used);
        QCOMPARE(kinds.unused, unused);
        for (const QString& kind : used + unused)
            QVERIFY2(kinds.sentence().english.contains(kind), qPrintable(kinds.sentence().english));
        if (!unused.isEmpty())
            QVERIFY2(kinds.sentence().english.contains(QStringLiteral("which Velarix cannot use yet")),
                     qPrintable(kinds.sentence().english));
        QCOMPARE(kinds.sentence().isEmpty(), used.isEmpty() && unused.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TelemetryKindsTest)
#include "test_telemetry_kinds.moc"
