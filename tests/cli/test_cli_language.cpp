#include "tests/support/CardTest.h"
#include "tests/support/TestSupport.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix::test;

// velarix-cli speaks the user's language to people and stays English in its JSON.
class CliLanguageTest : public CardTest {
    Q_OBJECT

    static QProcessEnvironment speaking(const QString& language, const QString& locale) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANGUAGE"), language);
        environment.insert(QStringLiteral("LC_ALL"), locale);
        return environment;
    }

private Q_SLOTS:
    void initTestCase() { freshCard(); }

    // Two videos: the plural, the sizes' decimal comma and the locale's dates in both languages.
    void humanOutputInTheUsersLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("usage");
        QTest::newRow("German") << "de"
                                << "de_DE.UTF-8"
                                << ": 2 Videos"
                                << "01.05.24"
                                << "neu"
                                << "unbekannte Option '--bogus'";
        QTest::newRow("French") << "fr"
                                << "fr_FR.UTF-8"
                                << ": 2 vidéos"
                                << "01/05/2024"
                                << "nouvelle"
                                << "option inconnue '--bogus'";
    }
    void humanOutputInTheUsersLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, locale);
        QFETCH(QString, count);
        QFETCH(QString, date);
        QFETCH(QString, state);
        QFETCH(QString, usage);
        if (card->addVideo(QStringLiteral("100GOPRO/GX010001.MP4"), 2,
                           QDateTime(QDate(2024, 5, 1), QTime(12, 0)))
                .isEmpty())
            QFAIL("no video");
        card->addVideo(QStringLiteral("100GOPRO/GX010002.MP4"), 2,
                       QDateTime(QDate(2024, 5, 1), QTime(12, 5)));

        const ProcessResult scan = runCli({QStringLiteral("scan")}, speaking(language, locale));
        QCOMPARE(scan.exitCode, 0);
        const QString out = QString::fromUtf8(scan.out);
        const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].endsWith(count), qPrintable(out));
        for (const QString& line : lines.mid(1)) {
            QVERIFY2(line.startsWith(date) && line.contains(QStringLiteral(" %1 ").arg(state)),
                     qPrintable(line));
            // "20,5 kB" / "20,5 Ko": the locale's decimal comma.
            QVERIFY2(line.contains(QRegularExpression(QStringLiteral("\\d,\\d [kK][Bo]"))), qPrintable(line));
        }

        const ProcessResult wrong =
            runCli({QStringLiteral("scan"), QStringLiteral("--bogus")}, speaking(language, locale));
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(QString::fromUtf8(wrong.err).contains(usage), wrong.err.constData());
    }

    // The analysis's summaries, errors and explanations print the same JSON bytes in every language,
    // while a person reads them translated.
    void analyzeJsonIsTheSameInEveryLanguage() {
        QTemporaryDir dir;
        const QString jump = dir.filePath(QStringLiteral("jump.mp4"));
        const QString mute = dir.filePath(QStringLiteral("mute.mp4"));
        const QString shortClip = dir.filePath(QStringLiteral("short.mp4"));
        QCOMPARE(
            runCli({"demo", "--jump", jump, "--seconds", "100", "--exit", "30", "--opening", "70"}).exitCode,
            0);
        QCOMPARE(runCli({"demo", "--jump", mute, "--seconds", "100", "--exit", "30", "--opening", "70",
                         "--audio", "none", "--no-gps", "--no-accelerometer"})
                     .exitCode,
                 0);
        QCOMPARE(runCli({"demo", "--jump", shortClip, "--seconds", "40", "--exit", "10", "--opening", "30"})
                     .exitCode,
                 0);
        const QStringList analyze{"--json", "analyze", jump, mute, shortClip};

        const ProcessResult english = runCli(analyze, speaking(QStringLiteral("en"), QStringLiteral("C")));
        QCOMPARE(english.exitCode, 0);
        QVERIFY2(english.out.contains("\"summary\":\"Keep ") && english.out.contains("from the camera's") &&
                     english.out.contains("No audio track found") && english.out.contains("Clip is shorter"),
                 english.out.constData());
        QCOMPARE(runCli(analyze, speaking(QStringLiteral("de"), QStringLiteral("de_DE.UTF-8"))).out,
                 english.out);
        QCOMPARE(runCli(analyze, speaking(QStringLiteral("fr"), QStringLiteral("fr_FR.UTF-8"))).out,
                 english.out);

        // The same results for a person, in German.
        const ProcessResult german =
            runCli({"analyze", jump, mute}, speaking(QStringLiteral("de"), QStringLiteral("de_DE.UTF-8")));
        QCOMPARE(german.exitCode, 0);
        const QString shown = QString::fromUtf8(german.out);
        QVERIFY2(shown.contains(QStringLiteral(": Behalten ")) &&
                     shown.contains(QStringLiteral("(Quelle: ")) &&
                     shown.contains(QStringLiteral("Keine Tonspur gefunden")) &&
                     shown.contains(QStringLiteral("Schirmöffnung")),
                 qPrintable(shown));
    }
};

QTEST_GUILESS_MAIN(CliLanguageTest)
#include "test_cli_language.moc"
