#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace velarix::test;

namespace {

QList<QJsonObject> jsonLines(const QByteArray& out) {
    QList<QJsonObject> lines;
    for (const QByteArray& line : out.split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(QJsonDocument::fromJson(line).object());
    return lines;
}

// Files by their raw names, which QString cannot carry when they are not UTF-8.
bool writeRawFile(const QByteArray& name, const QByteArray& bytes) {
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

QByteArray readRawFile(const QByteArray& name) {
    QFile file;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle))
        return {};
    return file.readAll();
}

} // namespace

class TrimCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_fixtures;
    QString m_jump;
    QString m_plain;

private Q_SLOTS:
    void initTestCase() {
        m_jump = m_fixtures.filePath(QStringLiteral("jump.mp4"));
        QCOMPARE(makeClip(m_jump, ClipRecipe::jump()), QString());
        ClipRecipe plain;
        plain.seconds = 70;
        m_plain = m_fixtures.filePath(QStringLiteral("plain.mp4"));
        QCOMPARE(makeClip(m_plain, plain), QString());
    }

    // --keep-original: the replaced original goes to the Trash, where a file manager can restore it.
    void keepOriginalInTheTrash() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("videos")));
        const QString path = dir.filePath(QStringLiteral("videos/GX010001.MP4"));
        QVERIFY(QFile::copy(m_plain, path));
        const QByteArray digest = fileDigest(path);
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        auto run = runCli({QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("10-40"),
                           QStringLiteral("--keep-original")},
                          environment);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(std::abs(containerDuration(path) - 30) < 1.0);
        QCOMPARE(fileDigest(dir.filePath(QStringLiteral("data/Trash/files/GX010001.MP4"))), digest);
        QTRY_COMPARE(folderEntries(dir.filePath(QStringLiteral("videos"))),
                     QStringList{QStringLiteral("GX010001.MP4")});
        // Nothing was freed yet: the line and the total say when it will be, not that it was.
        QVERIFY2(run.out.contains("GX010001.MP4: Trimmed in place; ") &&
                     run.out.contains(" will be freed when the Trash is emptied [00:10-00:40]"),
                 run.out.constData());
        QVERIFY2(run.out.contains("Done. Trimmed 1 video. ") &&
                     run.out.contains(" bytes) will be freed when the Trash is emptied.\n"),
                 run.out.constData());
        QVERIFY2(!run.out.contains("Saved"), run.out.constData());

        // The same words in the machine output, with the total on stderr.
        QVERIFY(QFile::copy(m_plain, dir.filePath(QStringLiteral("videos/GX010002.MP4"))));
        auto json = runCli({QStringLiteral("--json"), QStringLiteral("trim"),
                            dir.filePath(QStringLiteral("videos/GX010002.MP4")), QStringLiteral("--range"),
                            QStringLiteral("10-40"), QStringLiteral("--keep-original")},
                           environment);
        QCOMPARE(json.exitCode, 0);
        const auto lines = jsonLines(json.out);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].value("message").toString().endsWith(" will be freed when the Trash is emptied"),
                 json.out.constData());
        QVERIFY2(json.err.contains(" bytes) will be freed when the Trash is emptied."), json.err.constData());
    }

    // The replaced original is freed by a process of its own that outlives the command: the command
    // ends at once, the working folder stays locked (no clean-up takes it) until the free is done,
    // then it and its registry entry go.
    void freesTheOriginalAfterTheCommandEnds() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(QFile::copy(m_plain, path));
        // An `rm` that waits for a go-ahead stands in for a free that takes long.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bin")));
        const QString go = dir.filePath(QStringLiteral("go"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("bin/rm")),
                          "#!/bin/sh\nwhile [ ! -e \"$GO\" ]; do sleep 0.05; done\nexec /bin/rm \"$@\"\n"));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("bin/rm")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), dir.filePath(QStringLiteral("bin")) + u':' +
                                                       environment.value(QStringLiteral("PATH")));
        environment.insert(QStringLiteral("GO"), go);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));

        // Were the command to wait for the free, it would not end before the time-out.
        const auto run =
            runProcess(QStringLiteral(VELARIX_CLI_PATH),
                       {QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("10-40")},
                       60'000, environment);
        QVERIFY2(run.exitCode == 0, (run.out + run.err).constData());
        QVERIFY(std::abs(containerDuration(path) - 30) < 1.0);
        const QStringList working =
            QDir(dir.path()).entryList({QStringLiteral(".velarix-trim-*")}, QDir::Dirs | QDir::Hidden);
        QCOMPARE(working.size(), 1);
        const QString registry =
            dir.filePath(QStringLiteral("data/app.tarnwick.Velarix/trim-working-folders"));
        QCOMPARE(folderEntries(registry).size(), 1);
        {
            const int folder = ::open(QFile::encodeName(dir.filePath(working[0])).constData(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            QVERIFY(folder >= 0);
            const bool locked = ::flock(folder, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            ::close(folder);
            QVERIFY2(locked, "the folder being freed is not locked");
        }

        QVERIFY(writeFile(go, {}));
        QTRY_COMPARE_WITH_TIMEOUT(
            QDir(dir.path()).entryList({QStringLiteral(".velarix-trim-*")}, QDir::Dirs | QDir::Hidden),
            QStringList(), 20'000);
        QTRY_COMPARE(folderEntries(registry), QStringList());
    }

    // By default the files are analysed and cut to the suggestion; --dry-run only says so.
    void trimsToTheSuggestion() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GX010001.MP4"));
        QVERIFY(QFile::copy(m_jump, path));
        const QByteArray digest = fileDigest(path);

        auto dry =
            runCli({QStringLiteral("--json"), QStringLiteral("trim"), path, QStringLiteral("--dry-run")});
        QCOMPARE(dry.exitCode, 0);
        QCOMPARE(fileDigest(path), digest);
        const auto planned = jsonLines(dry.out);
        QCOMPARE(planned.size(), 1);
        QVERIFY(planned[0].value("message").toString().startsWith(QLatin1String("Would trim")));

        auto run = runCli({QStringLiteral("trim"), path, QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const auto lines = jsonLines(run.out);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].value("file").toString(), path);
        QCOMPARE(lines[0].value("message").toString(), QStringLiteral("Trimmed in place"));
        const double kept = lines[0].value("end").toDouble() - lines[0].value("start").toDouble();
        QCOMPARE(lines[0].value("start").toDouble(), planned[0].value("start").toDouble());
        QVERIFY(std::abs(containerDuration(path) - kept) < 1.0);
        QVERIFY2(run.err.contains("Done. Trimmed 1 video. Saved "), run.err.constData());
        QTRY_COMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("GX010001.MP4")});
    }

    void rangeAndBadInput_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("changed");
        QTest::newRow("range") << QStringList{"--range", "00:10-40.5"} << 0 << "Done. Trimmed 1 video. Saved"
                               << true;
        QTest::newRow("missing end") << QStringList{"--range", "10-"} << 2 << "missing its end" << false;
        QTest::newRow("missing start") << QStringList{"--range=-40"} << 2 << "missing its start" << false;
        QTest::newRow("beyond the duration")
            << QStringList{"--range", "10-90"} << 2 << "does not lie within" << false;
        QTest::newRow("dry run") << QStringList{"--range", "10-40", "--dry-run"} << 0
                                 << "Would trim: removes 57 %" << false;
    }
    void rangeAndBadInput() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(QFile::copy(m_plain, path));
        const QByteArray digest = fileDigest(path);
        auto run = runCli(QStringList{QStringLiteral("trim"), path} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.err).contains(says.toUtf8()), (run.out + run.err).constData());
        QCOMPARE(fileDigest(path) != digest, changed);
        if (changed)
            QCOMPARE(firstFrameNumber(path), 100);
        QTRY_COMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
    }

    // Names that are not UTF-8 (Latin-1 from other systems) would decode to another file's name:
    // refused by name, and neither the named file nor the one its decoding names is touched.
    void namesThatAreNotUtf8() {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const QByteArray latin1 = folder + "jump\xff.mp4";
        const QByteArray decoded = folder + "jump\xef\xbf\xbd.mp4"; // what "jump\xff.mp4" decodes to
        const QByteArray munich = folder + "Sprung M\xfc"
                                           "nchen.mp4";
        const QByteArray clip = readFile(m_plain);
        for (const QByteArray& name : {latin1, decoded, munich})
            QVERIFY(writeRawFile(name, clip));
        for (const QByteArray& name : {latin1, munich}) {
            // Through a shell's printf, so that the argument's bytes reach the program as they are.
            QString octal;
            for (const char byte : name)
                octal += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QLatin1Char('0'));
            QProcess process;
            process.start(QStringLiteral("/bin/sh"),
                          {QStringLiteral("-c"),
                           QStringLiteral("exec \"$0\" trim --range 10-40 \"$(printf '%1')\"").arg(octal),
                           QStringLiteral(VELARIX_CLI_PATH)});
            QVERIFY(process.waitForFinished(60000));
            const QByteArray err = process.readAllStandardError();
            QCOMPARE(process.exitCode(), 2);
            const QByteArray shown = name == latin1 ? "jump\\xFF.mp4" : "Sprung M\\xFCnchen.mp4";
            QVERIFY2(
                err.contains("The name \xe2\x80\x9c" + folder + shown + "\xe2\x80\x9d is not valid UTF-8"),
                err.constData());
        }
        for (const QByteArray& name : {latin1, decoded, munich})
            QCOMPARE(readRawFile(name), clip);
    }

    void notAVideo() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.mp4"));
        QVERIFY(writeFile(path, "not a video"));
        auto run = runCli({QStringLiteral("trim"), path, dir.filePath(QStringLiteral("clip.mkv"))});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.contains("could not be opened as a video"), run.out.constData());
        QVERIFY(run.out.contains("clip.mkv: Not an MP4, MOV or 360 video"));
    }

    // A movie header claiming 136 years: the figures follow the streams, and what is reported saved
    // is what the disk got back.
    void headerClaimingAnAbsurdDuration() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(QFile::copy(m_plain, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 header = file.readAll().indexOf("mvhd");
        QVERIFY(header > 0);
        QVERIFY(file.seek(header + 16)); // version 0: time scale, then duration
        QVERIFY(file.write(QByteArray::fromHex("00000001fffffff0")) == 8);
        file.close();
        const qint64 before = QFileInfo(path).size();

        auto dry = runCli({QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("10-40"),
                           QStringLiteral("--dry-run")});
        QVERIFY2(dry.out.contains("Would trim: removes 57 %"), dry.out.constData());
        auto run = runCli({QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("10-40")});
        QCOMPARE(run.exitCode, 0);
        const qint64 saved = before - QFileInfo(path).size();
        QVERIFY2(run.out.contains(
                     QStringLiteral("(%1 bytes)").arg(QLocale(QLocale::English).toString(saved)).toUtf8()),
                 run.out.constData());
    }

    // A sound recording named .MP4 is not a video to trim, and both the plan and the trim say so.
    void soundOnlyFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VOICE.MP4"));
        ClipRecipe sound = ClipRecipe::jump();
        sound.video = false;
        QCOMPARE(makeClip(path, sound), QString());
        for (const QStringList& extra : {QStringList{QStringLiteral("--dry-run")}, QStringList{}}) {
            auto run = runCli(
                QStringList{QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("5-20")} +
                extra);
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.out.contains("VOICE.MP4 has no video"), run.out.constData());
        }
    }

    // The disk fills up while the copy is written: the file size limit stands in for a full disk.
    void diskFullLeavesTheSourceAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(QFile::copy(m_plain, path));
        const QByteArray digest = fileDigest(path);
        const qint64 limit = QFileInfo(path).size() / 4;

        QProcess process;
        process.setChildProcessModifier([limit] {
            const rlimit size{rlim_t(limit), rlim_t(limit)};
            setrlimit(RLIMIT_FSIZE, &size);
        });
        process.start(QStringLiteral(VELARIX_CLI_PATH),
                      {QStringLiteral("trim"), path, QStringLiteral("--range"), QStringLiteral("5-65")});
        QVERIFY(process.waitForFinished(60'000));
        const QByteArray out = process.readAllStandardOutput();
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QVERIFY2(out.contains("Could not write the trimmed copy clip.mp4: File too large"), out.constData());
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
    }
};

QTEST_GUILESS_MAIN(TrimCommandTest)
#include "test_trim_command.moc"
