#include "import/ClipXmlDate.h"
#include "import/CompanionChecks.h"
#include "media/Mp4Trailer.h"
#include "media/RecordingFiles.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace velarix;
using namespace velarix::test;

namespace {

QStringList at(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names)
        paths.append(folder + name);
    return paths;
}

StreamSignatureProbe sameSignature() {
    return [](const QString&) -> Result<QString> {
        return QStringLiteral("h264");
    };
}

} // namespace

class RecordingFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each layout's companions find their video in the same folder; a second lens leaves the
    // videos; what has no video beside it is left out, and so is a video's name in another folder.
    void companionsJoinTheirRecording() {
        const QString gopro = QStringLiteral("/c/DCIM/100GOPRO/");
        const QString insta = QStringLiteral("/c/DCIM/Camera01/");
        const QString sony = QStringLiteral("/c/PRIVATE/M4ROOT/CLIP/");
        const QStringList videos =
            at(gopro, {"GX010042.MP4", "GX020042.MP4", "GOPR0007.MP4"}) +
            at(insta, {"VID_20261207_101500_00_001.insv", "VID_20261207_101500_10_001.insv",
                       "VID_20261207_110000_10_002.insv"}) +
            at(sony, {"C0001.MP4"});
        const QStringList companions =
            at(gopro, {"GL010042.LRV", "GL020042.LRV", "GX010042.THM", "gopr0007.thm", "GL010099.LRV"}) +
            at(insta, {"LRV_20261207_101500_11_001.lrv", "LRV_20261207_110000_11_002.insv"}) +
            at(sony, {"C0001M01.XML", "C0002M01.XML"}) +
            at(QStringLiteral("/c/PRIVATE/M4ROOT/SUB/"), {"C0001S03.MP4", "C0002S03.MP4"}) +
            at(QStringLiteral("/c/DCIM/101GOPRO/"), {"GX010042.THM"});
        const RecordingFiles files = groupRecordingFiles(videos, companions, sameSignature());
        QCOMPARE(files.recordings.size(), 5);
        QCOMPARE(files.recordings[0], at(gopro, {"GX010042.MP4", "GX020042.MP4"}));
        QCOMPARE(files.companions[0], at(gopro, {"GL010042.LRV", "GL020042.LRV", "GX010042.THM"}));
        QCOMPARE(files.companions[1], at(gopro, {"gopr0007.thm"}));
        QCOMPARE(files.recordings[2], at(insta, {"VID_20261207_101500_00_001.insv"}));
        QCOMPARE(files.companions[2],
                 at(insta, {"LRV_20261207_101500_11_001.lrv", "VID_20261207_101500_10_001.insv"}));
        // An outer lens recorded alone is a video of its own, with its proxy.
        QCOMPARE(files.recordings[3], at(insta, {"VID_20261207_110000_10_002.insv"}));
        QCOMPARE(files.companions[3], at(insta, {"LRV_20261207_110000_11_002.insv"}));
        // Sony's proxy lies in a folder of its own beside the clip's.
        QCOMPARE(files.companions[4],
                 at(sony, {"C0001M01.XML"}) + at(QStringLiteral("/c/PRIVATE/M4ROOT/SUB/"), {"C0001S03.MP4"}));
        QCOMPARE(companionKind(QStringLiteral("/c/PRIVATE/M4ROOT/SUB/C0001S03.MP4")), CompanionKind::proxy);
        QVERIFY(!isCompanionFileName(sony + QStringLiteral("C0001S03.MP4")));

        QCOMPARE(companionKind(QStringLiteral("VID_20261207_101500_10_001.insv")), CompanionKind::lens);
        QCOMPARE(companionKind(QStringLiteral("LRV_20261207_110000_11_002.insv")), CompanionKind::proxy);
        QCOMPARE(companionKind(QStringLiteral("GX010042.THM")), CompanionKind::sidecar);
        QVERIFY(!isCompanionFileName(QStringLiteral("MEDIAPRO.XML")));
    }

    void companionsFollowTheirVideosName() {
        QCOMPARE(companionDestination(QStringLiteral("2026-12-07/3 Cam GX020042.MP4"),
                                      QStringLiteral("/c/GX020042.MP4"), QStringLiteral("/c/GL020042.LRV")),
                 QStringLiteral("2026-12-07/3 Cam GL020042.LRV"));
        QCOMPARE(companionDestination(QStringLiteral("3 C0001.MP4"), QStringLiteral("C0001.MP4"),
                                      QStringLiteral("C0001M01.XML")),
                 QStringLiteral("3 C0001M01.XML"));
        QCOMPARE(companionDestination(QStringLiteral("Jump 3.MP4"), QStringLiteral("GX010042.MP4"),
                                      QStringLiteral("GX010042.THM")),
                 QStringLiteral("Jump 3.THM"));
        QCOMPARE(companionDestination(QStringLiteral("Jump 3.MP4"), QStringLiteral("GX010042.MP4"),
                                      QStringLiteral("GL010042.LRV")),
                 QStringLiteral("Jump 3 GL010042.LRV"));
        QCOMPARE(companionOwner({QStringLiteral("/c/GX010042.MP4"), QStringLiteral("/c/GX020042.MP4")},
                                QStringLiteral("/c/GL020042.LRV")),
                 QStringLiteral("/c/GX020042.MP4"));
    }

    void clipXmlDate_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime nine(QDate(2026, 12, 7), QTime(10, 15), QTimeZone(3600));
        QTest::newRow("camera's own")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<NonRealTimeMeta xmlns=\"urn:schemas-professionalDisc:nonRealTimeMeta:ver.2.00\">"
                          "<Duration value=\"300\"/><CreationDate value=\"2026-12-07T10:15:00+01:00\"/>"
                          "</NonRealTimeMeta>")
            << nine;
        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY e SYSTEM "
                          "\"file:///etc/hostname\">]><m><CreationDate value=\"&e;\"/></m>")
            << QDateTime();
        QTest::newRow("entity bomb")
            << QByteArray("<!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;"
                          "&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                          "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                          "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
                          "<m><x>&e;</x><CreationDate value=\"2026-12-07T10:15:00+01:00\"/></m>")
            << QDateTime();
        QTest::newRow("date beyond the first 64 KiB")
            << QByteArray("<m><!--" + QByteArray(70 * 1024, 'x') +
                          "--><CreationDate value=\"2026-12-07T10:15:00+01:00\"/></m>")
            << QDateTime();
        QTest::newRow("no offset") << QByteArray("<m><CreationDate value=\"2026-12-07T10:15:00\"/></m>")
                                   << QDateTime();
        QTest::newRow("not XML") << QByteArray("\xff\xfe garbage <CreationDate") << QDateTime();
    }

    // Only the date is read, and only when the file is well-formed up to it; nothing is fetched.
    void clipXmlDate() {
        QFETCH(QByteArray, xml);
        QFETCH(QDateTime, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("C0001M01.XML"));
        QVERIFY(writeFile(path, xml));
        const auto date = clipXmlCreationDate(path);
        QCOMPARE(date.value_or(QDateTime()), expected);
    }

    void clipXmlDateAgainstFileTime_data() {
        QTest::addColumn<QDateTime>("fileTime");
        QTest::addColumn<bool>("fits");
        QTest::newRow("local time in the FAT times")
            << QDateTime(QDate(2026, 12, 7), QTime(10, 15), Qt::UTC) << true;
        QTest::newRow("the true instant") << QDateTime(QDate(2026, 12, 7), QTime(9, 15), Qt::UTC) << true;
        QTest::newRow("the end of a long recording")
            << QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC) << true;
        QTest::newRow("another day") << QDateTime(QDate(2026, 12, 8), QTime(10, 15), Qt::UTC) << false;
        QTest::newRow("hours before") << QDateTime(QDate(2026, 12, 7), QTime(5, 0), Qt::UTC) << false;
    }

    // Clip metadata whose start fits the file's time neither as an instant nor read as local time is
    // named; the file's time then stands.
    void clipXmlDateAgainstFileTime() {
        QFETCH(QDateTime, fileTime);
        QFETCH(bool, fits);
        const QDateTime stated(QDate(2026, 12, 7), QTime(10, 15), QTimeZone(3600));
        const auto mismatch = clipXmlDateMismatch(QStringLiteral("C0001M01.XML"), stated,
                                                  QStringLiteral("C0001.MP4"), fileTime);
        QCOMPARE(!mismatch.has_value(), fits);
        if (mismatch)
            QVERIFY2(mismatch->startsWith(QStringLiteral("C0001M01.XML says the recording began at "
                                                         "2026-12-07T10:15:00+01:00")),
                     qPrintable(*mismatch));
    }

    // Bytes after the last box are found, and a 360 camera's by its signature; a file cut short is
    // not taken for one with a trailer.
    void trailerAfterTheLastBox() {
        QTemporaryDir dir;
        const QByteArray boxes = QByteArray("\0\0\0\x10"
                                            "ftypisom\0\0\0\0",
                                            16) +
                                 QByteArray("\0\0\0\x08"
                                            "free",
                                            8);
        const QString plain = dir.filePath(QStringLiteral("plain.mp4"));
        QVERIFY(writeFile(plain, boxes));
        QVERIFY(!readMp4Trailer(plain));
        const QString camera = dir.filePath(QStringLiteral("camera.insv"));
        QVERIFY(writeFile(camera, boxes + QByteArray(50, '\x01') + "8db42d694ccc418790edff439fe026bf"));
        const auto trailer = readMp4Trailer(camera);
        QVERIFY(trailer);
        QCOMPARE(trailer->offset, 24);
        QCOMPARE(trailer->size, 82);
        QVERIFY(trailer->threeSixtyCamera);
        const QString cut = dir.filePath(QStringLiteral("cut.mp4"));
        QVERIFY(writeFile(cut, boxes + QByteArray("\0\0\x10\0mdat", 8) + QByteArray(100, '\0')));
        QVERIFY(!readMp4Trailer(cut));
    }
};

QTEST_GUILESS_MAIN(RecordingFilesTest)
#include "test_recording_files.moc"
