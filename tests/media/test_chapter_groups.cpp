#include "media/ChapterGroups.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

namespace {

const QString kFolder = QStringLiteral("/card/DCIM/100GOPRO/");

QString at(const QString& name) {
    return kFolder + name;
}

// Every file has the same signature except those named in `odd`; `unreadable` cannot be probed.
StreamSignatureProbe probe(const QStringList& odd = {}, const QStringList& unreadable = {},
                           QStringList* probed = nullptr) {
    return [=](const QString& path) -> Result<QString> {
        if (probed)
            probed->append(path);
        const QString name = path.section(u'/', -1);
        if (unreadable.contains(name))
            return Error::make(QStringLiteral("Media"), 1, name + QStringLiteral(" could not be read"));
        return odd.contains(name) ? QStringLiteral("h264 1920x1080") : QStringLiteral("h264 3840x2160");
    };
}

QList<QStringList> names(const QList<QStringList>& groups) {
    QList<QStringList> result;
    for (const QStringList& group : groups) {
        QStringList list;
        for (const QString& path : group)
            list.append(path.section(u'/', -1));
        result.append(list);
    }
    return result;
}

QList<QStringList> group(const QStringList& fileNames, const StreamSignatureProbe& signatures = probe()) {
    QStringList paths;
    for (const QString& name : fileNames)
        paths.append(name.contains(u'/') ? name : at(name));
    return names(groupChapters(paths, signatures));
}

using Groups = QList<QStringList>;

} // namespace

class ChapterGroupsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheCameraNames() {
        const auto name = parseChapterName(QStringLiteral("GX020042.MP4"));
        QVERIFY(name);
        QCOMPARE(name->letters, QStringLiteral("GX"));
        QCOMPARE(name->chapter, 2);
        QCOMPARE(name->recording, QStringLiteral("0042"));
        QCOMPARE(name->extension, QStringLiteral("MP4"));
        for (const char* other :
             {"GX000042.MP4", "GX01042.MP4", "GX0100420.MP4", "G1010042.MP4", "GX010042", "GX010042.MP4.tmp",
              "jump-01.mp4", "DJI_0000_D.MP4", "_0001_D.MP4", "VID_20261207_101500_00_001.insv", "C0001.MP4"})
            QVERIFY2(!parseChapterName(QString::fromLatin1(other)), other);
    }

    // The older naming of the same cameras and another maker's numbered split join like the new one.
    void joinsOlderAndNumberedChapters() {
        QCOMPARE(parseChapterName(QStringLiteral("GOPR0002.MP4"))->chapter, 1);
        QCOMPARE(parseChapterName(QStringLiteral("GP020002.MP4"))->chapter, 3);
        const Groups groups = group({"GP010002.MP4", "GOPR0002.MP4", "GP020002.MP4", "GOPR0003.MP4",
                                     "GP010004.MP4", "DJI_20261207101500_0002_D.MP4",
                                     "DJI_20261207101500_0001_D.MP4", "DJI_20261207110000_0002_D.MP4"});
        QCOMPARE(groups, (Groups{{"GOPR0002.MP4", "GP010002.MP4", "GP020002.MP4"},
                                 {"GOPR0003.MP4"},
                                 {"GP010004.MP4"},
                                 {"DJI_20261207101500_0001_D.MP4", "DJI_20261207101500_0002_D.MP4"},
                                 {"DJI_20261207110000_0002_D.MP4"}}));
    }

    void joinsConsecutiveChaptersInOrderAmongOtherVideos() {
        QStringList probed;
        const Groups groups =
            group({"GX030042.MP4", "GOPR0007.MP4", "GX010042.MP4", "GX020042.MP4", "GX010043.MP4"},
                  probe({}, {}, &probed));
        QCOMPARE(
            groups,
            (Groups{{"GOPR0007.MP4"}, {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}, {"GX010043.MP4"}}));
        // A one-chapter recording needs no probing.
        QVERIFY(!probed.contains(at(QStringLiteral("GX010043.MP4"))));
    }

    void aGapEndsTheRecording() {
        QCOMPARE(group({"GX010042.MP4", "GX030042.MP4"}), (Groups{{"GX010042.MP4"}, {"GX030042.MP4"}}));
        QCOMPARE(group({"GX010042.MP4", "GX020042.MP4", "GX040042.MP4", "GX050042.MP4"}),
                 (Groups{{"GX010042.MP4", "GX020042.MP4"}, {"GX040042.MP4"}, {"GX050042.MP4"}}));
        // Without chapter 01 nothing is joined.
        QCOMPARE(group({"GX020042.MP4", "GX030042.MP4"}), (Groups{{"GX020042.MP4"}, {"GX030042.MP4"}}));
    }

    void otherParametersOrAnUnreadableChapterEndTheRecording() {
        QCOMPARE(
            group({"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}, probe({QStringLiteral("GX020042.MP4")})),
            (Groups{{"GX010042.MP4"}, {"GX020042.MP4"}, {"GX030042.MP4"}}));
        QCOMPARE(
            group({"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}, probe({QStringLiteral("GX030042.MP4")})),
            (Groups{{"GX010042.MP4", "GX020042.MP4"}, {"GX030042.MP4"}}));
        QCOMPARE(group({"GX010042.MP4", "GX020042.MP4"}, probe({}, {QStringLiteral("GX020042.MP4")})),
                 (Groups{{"GX010042.MP4"}, {"GX020042.MP4"}}));
        QCOMPARE(group({"GX010042.MP4", "GX020042.MP4"}, probe({}, {QStringLiteral("GX010042.MP4")})),
                 (Groups{{"GX010042.MP4"}, {"GX020042.MP4"}}));
    }

    void onlyTheSameFolderLettersAndExtensionJoin() {
        QCOMPARE(group({"/card/DCIM/100GOPRO/GX010042.MP4", "/card/DCIM/101GOPRO/GX020042.MP4"}),
                 (Groups{{"GX010042.MP4"}, {"GX020042.MP4"}}));
        QCOMPARE(group({"GX010042.MP4", "GH020042.MP4"}), (Groups{{"GX010042.MP4"}, {"GH020042.MP4"}}));
        QCOMPARE(group({"GX010042.MP4", "GX020042.360"}), (Groups{{"GX010042.MP4"}, {"GX020042.360"}}));
        QCOMPARE(group({"GX010042.MP4"}), (Groups{{"GX010042.MP4"}}));
        QCOMPARE(group({}), Groups{});
    }

    // A chapter stands for its recording: the chapters beside it come with it, once, whatever way
    // the given path is spelt; what belongs to no given file is left out.
    void aChapterBringsItsSiblings() {
        QTemporaryDir dir;
        for (const char* name :
             {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4", "GX010043.MP4", "GX050042.MP4"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir::setCurrent(dir.path()));
        const Groups second = names(groupRecordings({QStringLiteral("GX020042.MP4")}, probe()));
        QCOMPARE(second, (Groups{{"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}}));
        const Groups relative = names(groupRecordings(
            {QStringLiteral("GX010042.MP4"), dir.filePath(QStringLiteral("GX030042.MP4"))}, probe()));
        QCOMPARE(relative, (Groups{{"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}}));
        QCOMPARE(names(groupRecordings({QStringLiteral("GX050042.MP4")}, probe())),
                 (Groups{{"GX050042.MP4"}}));
    }
};

QTEST_GUILESS_MAIN(ChapterGroupsTest)
#include "test_chapter_groups.moc"
