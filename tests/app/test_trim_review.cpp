// "Trim All" with a suggestion marked "check before trimming": the window asks first.
#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "tests/app/TrimWindowTestKit.h"

#include <QLabel>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

class TrimReviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trimAllAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("others");
        QTest::addColumn<QStringList>("trimmed");
        QTest::newRow("only the others") << "Trim Only the Others" << true << QStringList{"sure"};
        QTest::newRow("all anyway") << "Trim All Anyway" << true << QStringList{"doubtful", "sure"};
        QTest::newRow("cancel") << "Cancel" << true << QStringList{};
        QTest::newRow("no others, anyway") << "Trim All Anyway" << false << QStringList{"doubtful"};
    }
    void trimAllAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(bool, others);
        QFETCH(QStringList, trimmed);
        const QString why = QStringLiteral("the range keeps only 2 s of freefall");
        VideoTrimmingView window;
        window.model().setAnalyzeFunction(
            [why](const QString& path, const CancelToken*, const VideoTrimmingModel::Progress&) {
                VideoTrimAnalysisResult result;
                result.duration = 300;
                result.fileSize = 1'000'000'000;
                result.suggestedStart = 40;
                result.suggestedEnd = 150;
                result.summary = QStringLiteral("Keep 00:40-02:30");
                result.levels = std::vector<double>(600, -30.0);
                if (path.contains(QLatin1String("doubtful"))) {
                    result.review = why;
                    result.summary += QStringLiteral(" (check before trimming)");
                }
                return Result(result);
            });
        QStringList exported;
        window.model().setExportFunction([&](const VideoTrimExportRequest& request, const CancelToken*,
                                             const VideoTrimmingModel::Progress&) -> Result<QUrl> {
            exported << QFileInfo(request.url.toLocalFile()).baseName();
            return request.url;
        });
        window.show();
        QList<QUrl> videos{QUrl::fromLocalFile(QStringLiteral("/v/doubtful.mp4"))};
        if (others)
            videos << QUrl::fromLocalFile(QStringLiteral("/v/sure.mp4"));
        window.model().addVideos(videos);
        QTRY_VERIFY(!window.model().isAnalyzing());
        // The row says why before anyone asks.
        bool said = false;
        for (const QLabel* label : window.findChildren<QLabel*>())
            said = said || label->text() == QStringLiteral("Check before trimming: %1").arg(why);
        QVERIFY(said);

        AlertAnswer alert(answer);
        auto* trim = window.findChild<QPushButton*>(QStringLiteral("footerTrim"));
        QVERIFY(trim && trim->isEnabled());
        trim->click();
        QTRY_COMPARE(alert.shown, 1);
        QCOMPARE(alert.text, QStringLiteral("1 video should be checked before trimming"));
        QVERIFY(alert.informativeText.contains(QStringLiteral("doubtful.mp4: %1").arg(why)));
        // Skipping is the default; with nothing else to trim it is no choice, and cancelling is.
        QCOMPARE(alert.defaultButton,
                 others ? QStringLiteral("Trim Only the Others") : QStringLiteral("Cancel"));
        if (!others)
            QVERIFY(!alert.buttons.contains(QStringLiteral("Trim Only the Others")));
        QTRY_VERIFY(!window.model().isTrimming());
        QTest::qWait(50);
        QCOMPARE(exported, trimmed);
    }
};

QTEST_MAIN(TrimReviewTest)
#include "test_trim_review.moc"
