// Cards built to hurt: manifest names that are paths, huge or full of control characters; DCIM trees
// that are deep, wide or loop; file names that are not text. Nothing may be written outside the
// destination, nothing may hang or crash, and the user gets a name or an error that makes sense.

#include "tests/support/CardTest.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace velarix::test;

namespace {

constexpr int kTimeLimitMs = 30'000;

ProcessResult cli(const QStringList& arguments) {
    return runProcess(VELARIX_CLI_PATH, arguments, kTimeLimitMs);
}

QJsonObject jsonOf(const QByteArray& out) {
    return QJsonDocument::fromJson(out).object();
}

// Every entry below a folder with its size, hidden ones included, leaving out one subfolder.
QStringList snapshot(const QString& folder, const QString& except) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path == except || path.startsWith(except + u'/'))
            continue;
        entries.append(path + u' ' + QString::number(it.fileInfo().size()));
    }
    entries.sort();
    return entries;
}

// Creates a file from raw name bytes, which need not be text.
bool writeRaw(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

} // namespace

class HostileCardsTest : public CardTest {
    Q_OBJECT

    QString parent; // holds the destination and nothing the run may touch
    QString dest;

    // Imports everything and checks that whatever was copied lies inside the destination, equal to
    // its source, and that nothing else around the destination changed.
    QJsonObject importAll(const QStringList& extra = {}) {
        const QStringList before = snapshot(parent, dest);
        const auto result = cli(QStringList{"import", "--json", "--dest", dest} + extra);
        [&] {
            QVERIFY2(result.exitCode == 0 || result.exitCode == 1, result.err.constData());
            QCOMPARE(snapshot(parent, dest), before);
            for (const auto& file : jsonOf(result.out)["imported"].toArray()) {
                const QString destination = file.toObject()["destination"].toString();
                QVERIFY2(QFileInfo(destination).canonicalFilePath().startsWith(dest + u'/'),
                         qPrintable(destination));
                QCOMPARE(readFile(destination), readFile(file.toObject()["source"].toString()));
            }
        }();
        return jsonOf(result.out);
    }

private Q_SLOTS:
    void init() {
        freshCard();
        parent = home->path() + "/around";
        dest = parent + "/dest";
        QDir().mkpath(dest);
        QFile marker(parent + "/keep.txt");
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.write("untouched");
    }

    void manifestNames_data() {
        // The manifest's "name" member as JSON text, and the name it decodes to.
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fits"); // whether a file system can hold a folder of that name
        QTest::newRow("parent folders") << QByteArray("../..") << "../.." << true;
        QTest::newRow("root") << QByteArray("\\/") << "/" << true;
        QTest::newRow("empty") << QByteArray() << "" << true;
        const QString huge(10'000, u'x');
        QTest::newRow("10,000 characters") << huge.toUtf8() << huge << false;
        QTest::newRow("control characters")
            << QByteArray("a\\n\\u001b[2J\\tb") << QStringLiteral("a\n\x1b[2J\tb") << true;
        QTest::newRow("NUL before a path")
            << QByteArray("..\\u0000\\/x") << (QStringLiteral("..") + QChar(0) + "/x") << true;
    }

    void manifestNames() {
        QFETCH(QByteArray, json);
        QFETCH(QString, name);
        QFETCH(bool, fits);
        card->addVideo("100GOPRO/GX010001.MP4", 1, QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
        QFile file(card->root() + "/.velarix");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"name\":\"" + json + "\"}");
        file.close();

        const auto scan = cli({"scan", "--json"});
        QVERIFY2(scan.exitCode == 0, scan.err.constData());
        QCOMPARE(jsonOf(scan.out)["card"].toObject()["name"].toString(), name);
        // A terminal gets none of the card's control characters.
        const auto shown = cli({"scan"});
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(shown.out.count('\n'), 2);
        QVERIFY(!shown.out.contains('\x1b') && !shown.out.contains('\t') && !shown.out.contains('\0'));

        for (const char* pattern : {"{name}/{filename}", "{date}/{jump} {name} {filename}"}) {
            const QJsonObject report = importAll({"--pattern", pattern});
            if (fits) {
                QCOMPARE(report["imported"].toArray().size(), 1);
            } else {
                QCOMPARE(report["failed"].toArray().size(), 1);
                QVERIFY(report["failed"].toArray()[0].toObject()["error"].toString().contains(
                    "File name too long"));
            }
        }
    }

    void hostileTrees_data() {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("videos"); // what the scan must list, in order
        QTest::newRow("50 folders deep") << "deep" << QStringList{"DEEP.MP4"};
        QTest::newRow("20,000 entries") << "wide" << QStringList();
        QTest::newRow("symbolic link loops") << "loops" << QStringList{"REAL.MP4"};
        QTest::newRow("newline in a name") << "newline" << QStringList{"GX01\n0001.MP4", "PLAIN.MP4"};
        QTest::newRow("name not UTF-8") << "binary" << QStringList{"PLAIN.MP4"};
    }

    void hostileTrees() {
        QFETCH(QString, tree);
        QFETCH(QStringList, videos);
        const QByteArray video = sampleVideo(1);
        const QByteArray dcim = QFile::encodeName(card->dcim());
        QByteArray removeRaw;
        auto removeRawFile = qScopeGuard([&removeRaw] {
            if (!removeRaw.isEmpty())
                ::unlink(removeRaw.constData());
        });
        const auto at = [](int minute) {
            return QDateTime(QDate(2024, 5, 1), QTime(10, minute));
        };
        if (tree == "deep") {
            QString path = "d";
            for (int level = 1; level < 50; ++level)
                path += QStringLiteral("/d%1").arg(level);
            card->addFile(path + "/DEEP.MP4", video, at(0));
        } else if (tree == "wide") {
            // Empty videos: listed, but never imported ("Invalid file size").
            QDir().mkpath(card->dcim() + "/100GOPRO");
            for (int i = 0; i < 20'000; ++i)
                QVERIFY(writeRaw(dcim + "/100GOPRO/E" + QByteArray::number(i).rightJustified(5, '0') + ".MP4",
                                 {}));
            for (int i = 0; i < 20'000; ++i)
                videos.append(QStringLiteral("E%1.MP4").arg(i, 5, 10, QChar(u'0')));
        } else if (tree == "loops") {
            card->addFile("100GOPRO/REAL.MP4", video, at(0));
            QVERIFY(writeRaw(QFile::encodeName(home->path()) + "/OUTSIDE.MP4", video));
            QVERIFY(::symlink("..", dcim + "/100GOPRO/up") == 0);
            QVERIFY(::symlink("self", dcim + "/self") == 0);
            QVERIFY(::symlink("b", dcim + "/a") == 0);
            QVERIFY(::symlink("a", dcim + "/b") == 0);
            QVERIFY(::symlink(QFile::encodeName(home->path()) + "/OUTSIDE.MP4",
                              dcim + "/100GOPRO/LINK.MP4") == 0);
        } else if (tree == "newline") {
            card->addFile("100GOPRO/PLAIN.MP4", video, at(0));
            card->addFile("100GOPRO/GX01\n0001.MP4", video, at(1));
        } else if (tree == "binary") {
            card->addFile("100GOPRO/PLAIN.MP4", video, at(0));
            QVERIFY(writeRaw(dcim + "/100GOPRO/GX\xff\xfe\x80.MP4", video));
            // QTemporaryDir cannot name this file to remove it.
            removeRaw = dcim + "/100GOPRO/GX\xff\xfe\x80.MP4";
        }

        QElapsedTimer timer;
        timer.start();
        const auto scan = cli({"scan", "--json"});
        QVERIFY2(scan.exitCode == 0, scan.err.constData());
        QStringList listed;
        for (const auto& row : jsonOf(scan.out)["videos"].toArray())
            listed.append(row.toObject()["file"].toString());
        if (tree == "wide")
            listed.sort();
        QCOMPARE(listed, videos);
        qInfo("scan: %lld ms", timer.elapsed());
        if (tree == "wide")
            QVERIFY2(!scan.err.contains("moov atom not found"), "empty files were opened for a duration");
        if (tree == "binary")
            QVERIFY2(scan.err.contains("not valid UTF-8"), scan.err.constData());

        if (tree == "wide")
            return; // 20,000 empty files only fail; the scan was the point
        const QJsonObject report = importAll({"--pattern", "{filename}"});
        QCOMPARE(report["imported"].toArray().size(), videos.size());
    }
};

QTEST_GUILESS_MAIN(HostileCardsTest)
#include "test_hostile_cards.moc"
