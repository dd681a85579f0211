#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "desktop/DisplayFormats.h"
#include "i18n/Translators.h"
#include "tests/support/ImportWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QXmlStreamReader>

using namespace velarix;
using namespace velarix::test;

namespace {

// The English texts of a .ts file whose translation reads differently, with that translation.
QHash<QString, QString> translatedSources(const QString& language) {
    QFile file(QStringLiteral(VELARIX_SOURCE_DIR "/i18n/velarix_%1.ts").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QString> texts;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!translation.isEmpty() && translation != source)
                texts.insert(source, translation);
        }
    }
    return texts;
}

// What a user reads in a window: labels, buttons, actions and the table's column titles.
QStringList visibleTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisible())
            texts << label->text();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible())
            texts << button->text() << button->toolTip();
    for (QAction* action : window->findChildren<QAction*>())
        texts << action->text() << action->toolTip();
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TranslationsTest : public ImportWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        freshCard();
        card->addVideos({2, 1}, m_base, 3600);
    }

    void cleanup() {
        closeWindow();
        installTranslators(QLocale(QLocale::English));
    }

    void pluralFormsFollowTheLanguage_data() {
        QTest::addColumn<QLocale::Language>("language");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>(
            "expected"); // 1 video, 3 videos, 1 day ago, 3 days ago, 1 byte, in 2 hours
        QTest::newRow("German") << QLocale::German << QStringLiteral("de")
                                << QStringList{"1 Video",     "3 Videos", "vor 1 Tag",
                                               "vor 3 Tagen", "1 Byte",   "in 2 Stunden"};
        // French counts 0 and 1 alike.
        QTest::newRow("French") << QLocale::French << QStringLiteral("fr")
                                << QStringList{"1 vidéo",        "3 vidéos", "il y a 1 jour",
                                               "il y a 3 jours", "1 octet",  "dans 2 heures"};
        QTest::newRow("English") << QLocale::English << QString()
                                 << QStringList{"1 video",    "3 videos", "1 day ago",
                                                "3 days ago", "1 byte",   "in 2 hours"};
    }

    void pluralFormsFollowTheLanguage() {
        QFETCH(QLocale::Language, language);
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        QCOMPARE(installTranslators(QLocale(language)), code);
        const auto videos = [](int n) {
            return QCoreApplication::translate("velarix::ImportNotifier", "%n video(s)", nullptr, n);
        };
        const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
        QCOMPARE(QStringList({videos(1), videos(3), formatRelativeDate(now.addDays(-1), now),
                              formatRelativeDate(now.addDays(-3), now), formatByteCount(1),
                              formatRelativeDate(now.addSecs(7200), now)}),
                 expected);
    }

    void windowsShowNoTranslatedEnglishText() {
        const QHash<QString, QString> german = translatedSources(QStringLiteral("de"));
        QVERIFY(german.size() > 200);
        QCOMPARE(installTranslators(QLocale(QLocale::German)), QStringLiteral("de"));
        openModel();
        openWindow();
        QTRY_VERIFY(m_view->table()->tableModel()->rowCount() == 2);
        VideoTrimmingView trimming;
        trimming.show();
        QVERIFY(QTest::qWaitForWindowExposed(&trimming));

        QStringList texts = visibleTexts(m_view.get()) + visibleTexts(&trimming);
        for (int column = 0; column < m_view->table()->tableModel()->columnCount(); ++column)
            texts << m_view->table()
                         ->tableModel()
                         ->headerData(column, Qt::Horizontal, Qt::DisplayRole)
                         .toString();
        for (const QString& text : texts)
            QVERIFY2(!german.contains(text), qPrintable(QStringLiteral("English left: ") + text));
        QVERIFY(texts.contains(QStringLiteral("Videos kürzen")));
        QVERIFY(texts.contains(QStringLiteral("&Importieren")));
        QVERIFY(texts.contains(QStringLiteral("Datei")));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
