#include "import/OutputPlan.h"

#include <QTest>

using namespace velarix;

namespace {

QDateTime local(int h, int m, int s = 0) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m, s));
}

VideoFileRowPtr video(const QString& name, const QDateTime& created, double duration = 0) {
    auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/") + name, created, 100);
    row->setDuration(duration);
    return row;
}

QStringList fileNames(const QList<ResolvedOutputFile>& plan) {
    QStringList names;
    for (const auto& file : plan)
        names.append(file.fileName);
    return names;
}

QList<qint64> jumps(const QList<ResolvedOutputFile>& plan) {
    QList<qint64> list;
    for (const auto& file : plan)
        list.append(file.jump);
    return list;
}

} // namespace

class PatternTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unknownPlaceholdersAreFound_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QList<PatternRange>>("unknown");
        QTest::newRow("none") << QStringLiteral("{date}/{JUMP} {name}") << QList<PatternRange>{};
        QTest::newRow("typo between tokens")
            << QStringLiteral("{date}/{jmp} {name}") << QList<PatternRange>{{7, 5}};
        QTest::newRow("after an emoji") << QStringLiteral("\U0001F600{card}") << QList<PatternRange>{{2, 6}};
        QTest::newRow("empty braces and unclosed")
            << QStringLiteral("{} {date {x/y}") << QList<PatternRange>{{0, 2}};
        QTest::newRow("nested brace restarts") << QStringLiteral("{a{jump}") << QList<PatternRange>{};
    }
    void unknownPlaceholdersAreFound() {
        QFETCH(QString, pattern);
        QFETCH(QList<PatternRange>, unknown);
        QCOMPARE(unknownPlaceholders(pattern), unknown);
    }

    void parsesPlaceholdersKeepingTheirLetters() {
        const auto segments = parsePattern(QStringLiteral("{DATE}/{Jump} {card}{name"));
        QCOMPARE(segments.size(), 4);
        QCOMPARE(segments[0], (ImportPatternSegment{QStringLiteral("{DATE}"), Placeholder::date}));
        QCOMPARE(segments[1], (ImportPatternSegment{QStringLiteral("/"), std::nullopt}));
        QCOMPARE(segments[2], (ImportPatternSegment{QStringLiteral("{Jump}"), Placeholder::jump}));
        QCOMPARE(segments[3], (ImportPatternSegment{QStringLiteral(" {card}{name"), std::nullopt}));
        QVERIFY(parsePattern(QString()).isEmpty());
    }

    void resolvesTheDefaultPattern() {
        const auto plan = resolveOutputFiles({{video(QStringLiteral("GX010123.MP4"), local(10, 0))},
                                              12,
                                              true,
                                              QStringLiteral("{date}/{jump} {name} {filename}"),
                                              QStringLiteral("Tandem"),
                                              QDateTime::currentDateTime()});
        QCOMPARE(fileNames(plan), QStringList{QStringLiteral("2024-05-01/12 Tandem GX010123.MP4")});
        QCOMPARE(plan[0].segments.last().text, QStringLiteral(".MP4"));
        QCOMPARE(plan[0].segments[0].placeholder, std::optional(Placeholder::date));
    }

    void groupsNearbyClips_data() {
        QTest::addColumn<bool>("grouping");
        QTest::addColumn<QTime>("third");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("grouping on") << true << QTime(10, 20) << QList<qint64>{5, 5, 6};
        QTest::newRow("grouping off") << false << QTime(10, 20) << QList<qint64>{5, 6, 7};
        // 10:05:30 + 60 s + 300 s = 10:11:30: a gap of exactly that starts a new jump.
        QTest::newRow("gap equal to duration plus 300 s")
            << true << QTime(10, 11, 30) << QList<qint64>{5, 5, 6};
        QTest::newRow("gap one second shorter") << true << QTime(10, 11, 29) << QList<qint64>{5, 5, 5};
    }
    void groupsNearbyClips() {
        QFETCH(bool, grouping);
        QFETCH(QTime, third);
        QFETCH(QList<qint64>, expected);
        // Given newest first, as the card lists them: the plan is oldest first.
        const VideoFileList videos{video(QStringLiteral("C.MP4"), QDateTime(QDate(2024, 5, 1), third), 60),
                                   video(QStringLiteral("B.MP4"), local(10, 5, 30), 60),
                                   video(QStringLiteral("A.MP4"), local(10, 0), 60)};
        const auto plan = resolveOutputFiles({videos, 5, grouping, QStringLiteral("{jump} {filename}"),
                                              QString(), QDateTime::currentDateTime()});
        QCOMPARE(jumps(plan), expected);
        QCOMPARE(plan[0].fileName, QStringLiteral("5 A.MP4"));
    }

    void countsRepeatedNamesAndKeepsTheExtension() {
        const VideoFileList videos{video(QStringLiteral("a.mov"), local(10, 0)),
                                   video(QStringLiteral("b.mov"), local(10, 1)),
                                   video(QStringLiteral("c.MP4"), local(10, 2))};
        const auto named = resolveOutputFiles(
            {videos, 1, true, QStringLiteral("{date}/jump"), QString(), QDateTime::currentDateTime()});
        QCOMPARE(fileNames(named),
                 (QStringList{QStringLiteral("2024-05-01/jump.mov"), QStringLiteral("2024-05-01/jump-1.mov"),
                              QStringLiteral("2024-05-01/jump-2.MP4")}));
        const auto empty =
            resolveOutputFiles({videos, 1, true, QString(), QString(), QDateTime::currentDateTime()});
        // A name left blank would be a hidden ".mov": the clip's own name stands in.
        QCOMPARE(fileNames(empty),
                 (QStringList{QStringLiteral("a.mov"), QStringLiteral("b.mov"), QStringLiteral("c.MP4")}));
        const auto folder = resolveOutputFiles(
            {{videos[0]}, 1, true, QStringLiteral("{filename}/"), QString(), QDateTime::currentDateTime()});
        QCOMPARE(fileNames(folder), QStringList{QStringLiteral("a/a.mov")});
        const auto blankName = resolveOutputFiles({{videos[0]},
                                                   1,
                                                   true,
                                                   QStringLiteral("{date}/{name}"),
                                                   QStringLiteral("  "),
                                                   QDateTime::currentDateTime()});
        QCOMPARE(fileNames(blankName), QStringList{QStringLiteral("2024-05-01/  a.mov")});
    }

    void neverLeadsOutsideTheDestination_data() {
        QTest::addColumn<QString>("cardName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("parent") << QStringLiteral("..") << QStringLiteral("_/A.MP4");
        QTest::newRow("self") << QStringLiteral(".") << QStringLiteral("_/A.MP4");
        // Only the pattern's own "/" makes folders: a card name is one folder name.
        QTest::newRow("climbing") << QStringLiteral("../../etc") << QStringLiteral(".._.._etc/A.MP4");
        QTest::newRow("a slash in the name")
            << QStringLiteral("Helmet/Cam") << QStringLiteral("Helmet_Cam/A.MP4");
        QTest::newRow("dots inside a name stay") << QStringLiteral("..x") << QStringLiteral("..x/A.MP4");
    }
    void neverLeadsOutsideTheDestination() {
        QFETCH(QString, cardName);
        QFETCH(QString, expected);
        const auto plan = resolveOutputFiles({{video(QStringLiteral("A.MP4"), local(10, 0))},
                                              1,
                                              true,
                                              QStringLiteral("{name}/{filename}"),
                                              cardName,
                                              QDateTime::currentDateTime()});
        QCOMPARE(plan[0].fileName, expected);
        QString joined;
        for (const auto& segment : plan[0].segments)
            joined += segment.text;
        QCOMPARE(joined, expected);
        QCOMPARE(plan[0].segments[0].placeholder, std::optional(Placeholder::name));
    }

    void staysRelativeAndUnique() {
        // A name that is a path from the root, empty components, NUL: what the card or the pattern
        // gives stays one relative name per file.
        const auto plan = resolveOutputFiles({{video(QStringLiteral("A.MP4"), local(10, 0))},
                                              1,
                                              true,
                                              QStringLiteral("/{name}//{filename}/"),
                                              QStringLiteral("/x\0y/"),
                                              QDateTime::currentDateTime()});
        QCOMPARE(plan[0].fileName, QStringLiteral("_x_y_/A/A.MP4"));

        // The counted name of one file is another file's own name; confining makes names equal.
        const VideoFileList videos{video(QStringLiteral("a.MP4"), local(10, 0)),
                                   video(QStringLiteral("a.MP4"), local(10, 1)),
                                   video(QStringLiteral("a-1.MP4"), local(10, 2))};
        const auto counted = resolveOutputFiles(
            {videos, 1, true, QStringLiteral("{filename}"), QString(), QDateTime::currentDateTime()});
        QCOMPARE(fileNames(counted), (QStringList{QStringLiteral("a.MP4"), QStringLiteral("a-1.MP4"),
                                                  QStringLiteral("a-1-1.MP4")}));
        const VideoFileList dotted{video(QStringLiteral("_.MP4"), local(10, 0)),
                                   video(QStringLiteral("..MP4"), local(10, 1))}; // base name "."
        const auto confined = resolveOutputFiles(
            {dotted, 1, true, QStringLiteral("{filename}/x"), QString(), QDateTime::currentDateTime()});
        QCOMPARE(fileNames(confined), (QStringList{QStringLiteral("_/x.MP4"), QStringLiteral("_/x-1.MP4")}));
    }

    void todayFollowsTheClock() {
        const QDateTime now(QDate(2030, 1, 2), QTime(3, 4));
        const auto plan = resolveOutputFiles({{video(QStringLiteral("A.MP4"), local(10, 0))},
                                              1,
                                              true,
                                              QStringLiteral("{today}"),
                                              QString(),
                                              now});
        QCOMPARE(plan[0].fileName, QStringLiteral("2030-01-02.MP4"));
    }
};

QTEST_GUILESS_MAIN(PatternTest)
#include "test_pattern.moc"
