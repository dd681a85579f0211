#include "Velarix/trimwindow/TrimFooterBar.h"
#include "Velarix/trimwindow/TrimRangeSelector.h"
#include "Velarix/trimwindow/VideoTrimEditorSheet.h"
#include "Velarix/trimwindow/VideoTrimItemRow.h"
#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "Velarix/widgets/VideoPlayerView.h"
#include "Velarix/widgets/WindowCloseGuard.h"
#include "analysis/TrimSuggestion.h"
#include "media/MediaOpen.h"
#include "tests/app/TrimWindowTestKit.h"
#include "tests/support/MediaFixtures.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace velarix;
using namespace velarix::test;
using Screen = VideoTrimmingView::Screen;

class TrimmingWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_jump;  // 130 s, loud from 25 s to 60 s: a suggestion
    QString m_short; // 40 s: too short for a suggestion

    QString copyOf(const QString& source, const QString& name) {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        return QFile::copy(source, path) ? path : QString();
    }
    static QPushButton* button(const QWidget* root, const char* name) {
        return root->findChild<QPushButton*>(QLatin1String(name));
    }
    static QString labelText(const QWidget* root, const char* name) {
        auto* label = root->findChild<QLabel*>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    static VideoTrimItemRow* rowFor(const VideoTrimmingView& window, const VideoTrimItem* item) {
        for (auto* row : window.findChildren<VideoTrimItemRow*>())
            if (row->item() == item)
                return row;
        return nullptr;
    }
    static void drop(QWidget* target, QMimeData* data, bool* accepted = nullptr) {
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (accepted)
            *accepted = enter.isAccepted();
        if (!enter.isAccepted())
            return;
        QDropEvent dropEvent(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
    }
    static QStringList names(const VideoTrimmingModel& model) {
        QStringList result;
        for (const VideoTrimItem* item : model.items())
            result << item->url().fileName();
        return result;
    }

private Q_SLOTS:
    void initTestCase() {
        // The window reads and writes the user's settings: a private set for the tests.
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        m_jump = m_dir.filePath(QStringLiteral("source-jump.mp4"));
        m_short = m_dir.filePath(QStringLiteral("source-short.mp4"));
        ClipRecipe jump = ClipRecipe::jump();
        jump.seconds = 130;
        jump.exitTime = 25;
        jump.openingTime = 60;
        QCOMPARE(makeClip(m_jump, jump), QString());
        ClipRecipe quiet;
        quiet.seconds = 40;
        quiet.picture = ClipRecipe::Picture::testPattern;
        QCOMPARE(makeClip(m_short, quiet), QString());
    }

    void emptyWindowShowsTheDropZone() {
        VideoTrimmingView window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Video Trimming"));
        QCOMPARE(window.minimumSize(), QSize(860, 520));
        QCOMPARE(window.currentScreen(), Screen::DropZone);
        window.show();
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("savingsBlock"))->isVisible());
        QVERIFY(!button(&window, "headerCancel")->isVisible());
        QVERIFY(!button(&window, "headerClear")->isVisible());
        QVERIFY(button(&window, "headerAddVideos")->isEnabled());
    }

    // A row goes with Delete (on the row that has the focus) or its × button; Ctrl+W closes.
    void rowsCanBeRemoved() {
        VideoTrimmingView window;
        auto gate = std::make_shared<Gate>();
        gate->open = true;
        window.model().setAnalyzeFunction(heldAnalysis(gate));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.model().addVideos({QUrl::fromLocalFile(QStringLiteral("/v/one.mp4")),
                                  QUrl::fromLocalFile(QStringLiteral("/v/two.mp4")),
                                  QUrl::fromLocalFile(QStringLiteral("/v/three.mp4"))});
        QTRY_VERIFY(!window.model().isAnalyzing());
        VideoTrimItemRow* first = rowFor(window, window.model().items().first());
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Delete);
        QTRY_COMPARE(names(window.model()),
                     (QStringList{QStringLiteral("two.mp4"), QStringLiteral("three.mp4")}));
        // The row that took its place has the focus: Delete again takes the next one.
        QTRY_VERIFY(rowFor(window, window.model().items().first())->hasFocus());
        rowFor(window, window.model().items().last())
            ->findChild<QToolButton*>(QStringLiteral("rowRemove"))
            ->click();
        QTRY_COMPARE(names(window.model()), QStringList{QStringLiteral("two.mp4")});
        QTest::keySequence(&window, QKeySequence::Close);
        QTRY_VERIFY(!window.isVisible());
    }

    void chooserAddsTheChosenFilesInItsOrder() {
        const QString a = copyOf(m_short, QStringLiteral("a.mp4"));
        const QString b = copyOf(m_short, QStringLiteral("B.360"));
        VideoTrimmingView window;
        window.show();
        // Asked twice, cancelled once: the chooser comes back.
        for (int round = 0; round < 2; ++round) {
            button(&window, round == 0 ? "headerAddVideos" : "chooseVideos")->click();
            QTRY_VERIFY(window.chooser() && window.chooser()->isVisible());
            QVERIFY(window.selectVideos());
            QVERIFY(window.chooser()->fileMode() == QFileDialog::ExistingFiles);
            QVERIFY(window.chooser()->nameFilters().first().contains(QStringLiteral("*.360")));
            if (round == 0) {
                window.chooser()->reject();
                QTRY_VERIFY(!window.chooser());
                QVERIFY(!window.selectVideos());
            }
        }
        QFileDialog* chooser = window.chooser();
        chooser->setDirectory(m_dir.path());
        // Typed as a user would, two names at once.
        auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("\"B.360\" \"a.mp4\""));
        QVERIFY(QMetaObject::invokeMethod(chooser, "accept"));
        QCOMPARE(names(window.model()), (QStringList{QStringLiteral("B.360"), QStringLiteral("a.mp4")}));
        QCOMPARE(window.currentScreen(), Screen::List);
        QVERIFY(!window.selectVideos());
    }

    // A file, a day's folder and a web address: the file and the videos anywhere inside the folder
    // are taken, sidecars and proxies left out silently, anything else named.
    void dropsTakeFilesAndFoldersAndSayWhatWasSkipped() {
        const QString a = copyOf(m_short, QStringLiteral("dropped.MP4"));
        const QString day = m_dir.filePath(QStringLiteral("2024-05-01"));
        QDir(day).mkpath(QStringLiteral("chest/DCIM"));
        QFile::copy(m_short, day + QStringLiteral("/chest/DCIM/GX010001.MP4"));
        QFile::copy(m_short, day + QStringLiteral("/GS010002.360"));
        QDir(day).mkpath(QStringLiteral("alpha/PRIVATE/M4ROOT/SUB"));
        QFile::copy(m_short, day + QStringLiteral("/alpha/PRIVATE/M4ROOT/SUB/C0001S03.MP4"));
        for (const char* other : {"/chest/DCIM/GX010001.THM", "/chest/DCIM/GL010001.LRV", "/notes.txt"}) {
            QFile file(day + QLatin1String(other));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        VideoTrimmingView window;
        window.show();
        AlertAnswer answer(QStringLiteral("OK"));

        // Plain text is no drop for this window.
        auto text = std::make_unique<QMimeData>();
        text->setText(QStringLiteral("hello"));
        bool accepted = true;
        drop(&window, text.get(), &accepted);
        QVERIFY(!accepted);

        auto data = std::make_unique<QMimeData>();
        data->setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(day),
                       QUrl(QStringLiteral("https://example.com/clip.mp4"))});
        QSignalSpy targeted(&window.model(), &VideoTrimmingModel::isDropTargetedChanged);
        drop(&window, data.get(), &accepted);
        QVERIFY(accepted);
        QCOMPARE(targeted.count(), 2); // on while hovering, off after the drop
        QVERIFY(!window.model().isDropTargeted());
        QTRY_COMPARE(names(window.model()),
                     (QStringList{QStringLiteral("dropped.MP4"), QStringLiteral("GS010002.360"),
                                  QStringLiteral("GX010001.MP4")}));
        QTRY_COMPARE(answer.shown, 1);
        QCOMPARE(answer.text, QStringLiteral("Skipped a file that is not an MP4 or 360 video: notes.txt."));
        QTRY_VERIFY(!window.model().errorMessage());

        // The same file again adds nothing; a folder without a video says so.
        const QString empty = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(empty);
        data->setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(empty)});
        AlertAnswer again(QStringLiteral("OK"));
        drop(&window, data.get());
        QTRY_COMPARE(again.shown, 1);
        QCOMPARE(again.text, QStringLiteral("No MP4 or 360 videos were found in empty."));
        QCOMPARE(window.model().items().size(), 3);
    }

    void controlsWhileAnalysingAndTrimming() {
        VideoTrimmingView window;
        auto gate = std::make_shared<Gate>();
        window.model().setAnalyzeFunction(heldAnalysis(gate));
        window.model().setExportFunction(heldExport(gate));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.model().addVideos({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("one.mp4"))),
                                  QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("two.mp4")))});

        // Analysing: list with progress; only "Add Videos…" and "Cancel" up top; the footer waits.
        QCOMPARE(window.currentScreen(), Screen::List);
        QCOMPARE(labelText(&window, "footerStatus"),
                 QStringLiteral("Analyzing audio… 0 of 2 processed, 2 left"));
        QVERIFY(button(&window, "headerAddVideos")->isEnabled());
        QVERIFY(button(&window, "headerCancel")->isVisible());
        QVERIFY(!button(&window, "headerClear")->isVisible());
        for (const char* name : {"footerAnalyzeAgain", "footerTrim"})
            QVERIFY2(!button(&window, name)->isEnabled(), name);
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(!window.model().isTrimming());

        gate->open = true;
        QTRY_VERIFY(!window.model().isAnalyzing());
        QCOMPARE(labelText(&window, "footerStatus"), QStringLiteral("2 videos"));
        QCOMPARE(labelText(&window, "estimatedSavings"), QStringLiteral("1.3 GB"));
        for (const char* name : {"footerAnalyzeAgain", "footerTrim"})
            QVERIFY2(button(&window, name)->isEnabled(), name);
        const VideoTrimItem* first = window.model().items().first();
        VideoTrimItemRow* row = rowFor(window, first);
        QVERIFY(row);
        QCOMPARE(labelText(row, "rowStatus"), QStringLiteral("00:40-02:30"));
        QCOMPARE(labelText(row, "rowStatusDetail"), QStringLiteral("Save about 633.3 MB (63%)"));

        // Return starts trimming; the trimming screen names the file under way until the run ends,
        // then the summary. The originals go to the Trash: their space is not free yet.
        window.model().setKeepOriginalsInTrash(true);
        gate->open = false;
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(window.model().isTrimming());
        QCOMPARE(window.currentScreen(), Screen::Trimming);
        QCOMPARE(labelText(&window, "trimmingCounts"), QStringLiteral("0 of 2 processed, 2 left"));
        QCOMPARE(labelText(&window, "trimmingFile"), QStringLiteral("Trimming one.mp4"));
        QVERIFY(button(&window, "headerCancel")->isVisible());
        gate->open = true;
        QTRY_COMPARE(window.currentScreen(), Screen::Summary);
        QVERIFY(!window.model().isTrimming()); // the finish screen is the end of the run
        QCOMPARE(labelText(&window, "summaryText"), QStringLiteral("Done. Trimmed 2 videos."));
        QCOMPARE(labelText(&window, "summarySaved"),
                 QStringLiteral("1.3 GB will be freed when the Trash is emptied"));
        button(&window, "summaryDone")->click();
        QCOMPARE(window.currentScreen(), Screen::DropZone);
        QVERIFY(!window.model().trimCompletionSummary());
    }

    void remainingCountNeverNegative() {
        QCOMPARE(TrimFooterBar::processedText(3, 2, 2 - 3), QStringLiteral("3 of 2 processed, 0 left"));
    }

    void analyseThenTrimRealClipsInPlace() {
        const QString jump = copyOf(m_jump, QStringLiteral("jump.mp4"));
        const QString threeSixty = copyOf(m_jump, QStringLiteral("GS010001.360"));
        const QString tooShort = copyOf(m_short, QStringLiteral("short.mp4"));
        VideoTrimmingView window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Only the short clip: nothing to trim, Return does nothing.
        window.model().addVideos({QUrl::fromLocalFile(tooShort)});
        QTRY_VERIFY_WITH_TIMEOUT(!window.model().isAnalyzing(), 30000);
        QCOMPARE(labelText(&window, "footerStatus"), QStringLiteral("1 video"));
        QVERIFY(!button(&window, "footerTrim")->isEnabled());
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(!window.model().isTrimming());

        window.model().addVideos({QUrl::fromLocalFile(jump), QUrl::fromLocalFile(threeSixty)});
        QTRY_VERIFY_WITH_TIMEOUT(!window.model().isAnalyzing(), 60000);
        QCOMPARE(window.model().trimmableItems().size(), 2);
        const VideoTrimItem* item = window.model().trimmableItems().first();
        QVERIFY(!item->audioLevels().empty());
        QVERIFY(item->exitTime() && item->openingTime());
        const double kept = *item->effectiveEnd() - *item->effectiveStart();

        QTest::keyClick(&window, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window.currentScreen(), Screen::Summary, 60000);
        QCOMPARE(labelText(&window, "summaryText"), QStringLiteral("Done. Trimmed 2 videos."));
        for (const QString& path : {jump, threeSixty}) {
            const Result<double> duration = loadDuration(path);
            QVERIFY2(duration.ok(), qPrintable(path));
            QVERIFY2(qAbs(*duration - kept) < 1.0, qPrintable(QString::number(*duration)));
        }
        QCOMPARE(QFileInfo(tooShort).size(), QFileInfo(m_short).size());
    }

    void keepFullAndTheEditorSheet() {
        const QString jump = copyOf(m_jump, QStringLiteral("edit.mp4"));
        VideoTrimmingView window;
        window.show();
        window.model().addVideos({QUrl::fromLocalFile(jump)});
        QTRY_VERIFY_WITH_TIMEOUT(!window.model().isAnalyzing(), 30000);
        VideoTrimItem* item = window.model().items().first();
        QVERIFY(item->canTrim());
        const double start = *item->suggestedStart();
        const double end = *item->suggestedEnd();
        VideoTrimItemRow* row = rowFor(window, item);

        // "Keep Full": nothing to trim any more; the button now takes it back.
        QPushButton* keepFull = button(row, "rowKeepFull");
        keepFull->click();
        QCOMPARE(labelText(row, "rowStatus"), QStringLiteral("Keep full video"));
        QCOMPARE(labelText(row, "rowStatusDetail"),
                 QStringLiteral("Manual range does not trim enough to export a new file"));
        QVERIFY(!button(&window, "footerTrim")->isEnabled());
        QCOMPARE(keepFull->text(), QStringLiteral("Undo Keep Full"));
        keepFull->click();
        QVERIFY(!item->manualStart() && !item->manualEnd());
        QCOMPARE(labelText(row, "rowStatus"), item->rangeText());
        QVERIFY(button(&window, "footerTrim")->isEnabled());
        QCOMPARE(keepFull->text(), QStringLiteral("Keep Full"));
        keepFull->click();

        // The editor opens on the item, with "Reset" because a manual range is set.
        button(row, "rowAdjust")->click();
        VideoTrimEditorSheet* sheet = window.editorSheet();
        QVERIFY(sheet);
        QCOMPARE(window.editorItem(), item);
        QTRY_VERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(labelText(sheet, "editorTitle"), QStringLiteral("edit.mp4"));
        QCOMPARE(labelText(sheet, "editorRangeText"), QStringLiteral("00:00-02:10"));
        // The preview shows the kept start (0 after "Keep Full").
        VideoPlayerView* player = sheet->player();
        QTRY_VERIFY_WITH_TIMEOUT(player->hasFrame() && player->isReady(), 15000);
        QCOMPARE(player->position(), 0.0);
        QCOMPARE(player->heldStart(), std::optional<double>(0));

        QPushButton* reset = button(sheet, "editorReset");
        QVERIFY(reset->isVisible());
        reset->click();
        QVERIFY(!reset->isVisible());
        QCOMPARE(item->effectiveStart(), std::optional<double>(start));
        QCOMPARE(labelText(sheet, "editorRangeText"), item->rangeText());
        QVERIFY(button(row, "rowKeepFull")->isEnabled());

        // Playback bounds follow the suggestion again.
        QCOMPARE(player->heldStart(), std::optional<double>(start));
        QCOMPARE(player->heldEnd(), std::optional<double>(end));

        // Moving a handle sets a manual range, brings "Reset" back and scrubs the preview there.
        TrimRangeSelector* selector = sheet->rangeSelector();
        const int y = int(selector->trackRect().center().y());
        const QPoint endHandle(int(selector->xForTime(end)), y);
        const QPoint target(int(selector->xForTime(end + 20)), y);
        QTest::mousePress(selector, Qt::LeftButton, {}, endHandle);
        QTest::mouseMove(selector, target);
        QTest::mouseRelease(selector, Qt::LeftButton, {}, target);
        QVERIFY(item->manualEnd());
        QVERIFY(qAbs(*item->manualEnd() - (end + 20)) < 1.0);
        QVERIFY(reset->isVisible());
        QCOMPARE(player->heldEnd(), item->manualEnd());
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - *item->manualEnd()) < 0.5, 5000);

        // From the keyboard: the handle last used moves by a second, ten with Shift; Space plays.
        const double before = *item->manualEnd();
        QVERIFY(selector->hasFocus());
        QTest::keyClick(selector, Qt::Key_Left);
        QCOMPARE(*item->manualEnd(), before - 1);
        QTest::keyClick(selector, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(*item->manualEnd(), before + 9);
        QTest::keyClick(selector, Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(player->isPlaying(), 5000);
        QTest::keyClick(selector, Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!player->isPlaying(), 5000);

        // Return closes the sheet; the change stays.
        QTest::keyClick(sheet, Qt::Key_Return);
        QTRY_VERIFY(!window.editorSheet());
        QVERIFY(!window.editorItem());
        QVERIFY(item->manualEnd());
        QCOMPARE(labelText(row, "rowStatusNote"), QStringLiteral("Manually adjusted"));
        QCOMPARE(labelText(row, "rowMessage"),
                 item->analysisSummary() + QStringLiteral(" · Manual ") + item->rangeText());

        // Cancel and Esc put back the range the sheet opened with. A range that leaves out the
        // opening the analysis found is pointed out beside it, and the preview's time is shown.
        const VideoTrimItem::ManualRange kept = item->manualRange();
        button(row, "rowAdjust")->click();
        sheet = window.editorSheet();
        QVERIFY(sheet);
        QTRY_VERIFY(sheet->isVisible());
        auto* warning = sheet->findChild<QLabel*>(QStringLiteral("editorRangeWarning"));
        QVERIFY(!warning->isVisible());
        QCOMPARE(labelText(sheet, "editorPosition"),
                 QStringLiteral("Preview at ") + formatClock(*item->effectiveStart()));
        QVERIFY(item->openingTime());
        item->setManualEnd(*item->openingTime() - 5);
        QVERIFY(warning->isVisible());
        QCOMPARE(warning->text(), QStringLiteral("\u26A0 Leaves out the canopy opening at ") +
                                      formatClock(*item->openingTime()));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QTRY_VERIFY(!window.editorSheet());
        QCOMPARE(item->manualRange(), kept);
        button(row, "rowAdjust")->click();
        QTRY_VERIFY(window.editorSheet() && window.editorSheet()->isVisible());
        item->setManualStart(0);
        button(window.editorSheet(), "editorCancel")->click();
        QTRY_VERIFY(!window.editorSheet());
        QCOMPARE(item->manualRange(), kept);

        // A range adjusted but not trimmed is not thrown away without a question.
        AlertAnswer answer(WindowCloseGuard::kKeepWindowOpen);
        QVERIFY(!window.close());
        QCOMPARE(answer.text, WindowCloseGuard::kDiscardMessage);
        QCOMPARE(answer.informativeText,
                 QStringLiteral("1 video has a range you adjusted that is not trimmed yet."));
        QCOMPARE(answer.defaultButton, WindowCloseGuard::kKeepWindowOpen);
        QVERIFY(window.isVisible());
    }

    void rangeSelectorDragArithmetic() {
        VideoTrimItem item(QUrl::fromLocalFile(QStringLiteral("/videos/clip.mp4")));
        item.setDuration(300);
        item.setSuggestedStart(40);
        item.setSuggestedEnd(150);
        TrimRangeSelector selector;
        selector.setDuration(300);
        selector.setStartBinding({[&] { return item.effectiveStart().value_or(0); },
                                  [&](double v) {
                                      item.setManualStart(v);
                                  }});
        selector.setEndBinding({[&] { return item.effectiveEnd().value_or(300); },
                                [&](double v) {
                                    item.setManualEnd(v);
                                }});
        selector.resize(616, selector.sizeHint().height());
        selector.show();
        QSignalSpy edits(&selector, &TrimRangeSelector::editingChanged);
        const int y = int(selector.trackRect().center().y());
        auto drag = [&](double fromTime, int toX) {
            const QPoint from(int(selector.xForTime(fromTime)), y);
            QTest::mousePress(&selector, Qt::LeftButton, {}, from);
            QTest::mouseMove(&selector, QPoint(toX, y));
            QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(toX, y));
        };

        // W = 616 - 16 = 600 points for 300 s: 2 points a second, starting at x = 8.
        QCOMPARE(selector.timeForX(8 + 100), 50.0);
        drag(40, 8 + 100);
        QCOMPARE(item.manualStart(), std::optional<double>(50));
        QCOMPARE(edits.last().at(0).toBool(), false);
        QCOMPARE(edits.last().at(1).toDouble(), 50.0);
        QVERIFY(edits.at(edits.size() - 2).at(0).toBool());

        // Far left is exactly 0, far right exactly the duration.
        drag(50, -30);
        QCOMPARE(selector.start(), 0.0);
        drag(150, 900);
        QCOMPARE(selector.end(), 300.0);

        // Past the other handle: a second short of it.
        drag(300, 8 + 60); // end towards 30 s, start is 0
        QCOMPARE(selector.end(), 30.0);
        drag(0, 700); // start past the end at 30 s
        QCOMPARE(selector.start(), 29.0);
        QCOMPARE(selector.end(), 30.0);
        drag(30, 0); // the end handle all the way left stops a second after the start
        QCOMPARE(selector.end(), 30.0);

        // A clip shorter than a second: start stays 0, end is the duration.
        VideoTrimItem tiny(QUrl::fromLocalFile(QStringLiteral("/videos/tiny.mp4")));
        tiny.setDuration(0.6);
        selector.setDuration(0.6);
        selector.setStartBinding({[&] { return tiny.effectiveStart().value_or(0); },
                                  [&](double v) {
                                      tiny.setManualStart(v);
                                  }});
        selector.setEndBinding({[&] { return tiny.effectiveEnd().value_or(0.6); },
                                [&](double v) {
                                    tiny.setManualEnd(v);
                                }});
        drag(0, 300);
        QCOMPARE(selector.start(), 0.0);
        drag(0.6, 100);
        QCOMPARE(selector.end(), 0.6);

        // No usable duration: every drag writes 0.
        selector.setDuration(0);
        double written = -1;
        selector.setStartBinding({[&] { return written; },
                                  [&](double v) {
                                      written = v;
                                  }});
        drag(0, 400);
        QCOMPARE(written, 0.0);
    }

    void closeGuardAsksOnlyWhileBusy() {
        // Idle: closes without a question.
        {
            VideoTrimmingView window;
            window.show();
            AlertAnswer answer(WindowCloseGuard::kKeepWindowOpen);
            QVERIFY(window.close());
            QTest::qWait(50);
            QCOMPARE(answer.shown, 0);
            QVERIFY(!window.isVisible());
        }

        VideoTrimmingView window;
        auto gate = std::make_shared<Gate>();
        window.model().setAnalyzeFunction(heldAnalysis(gate));
        window.show();
        window.model().addVideos({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("busy.mp4")))});
        QVERIFY(window.model().isAnalyzing());

        // "Keep Window Open": window and work stay.
        {
            AlertAnswer answer(WindowCloseGuard::kKeepWindowOpen);
            QVERIFY(!window.close());
            QCOMPARE(answer.shown, 1);
            QCOMPARE(answer.text, QStringLiteral("Cancel current work and close?"));
            QCOMPARE(answer.informativeText, QStringLiteral("Analysis or trimming is still running."));
            QCOMPARE(answer.buttons, (QStringList{QStringLiteral("Cancel Work and Close"),
                                                  QStringLiteral("Keep Window Open")}));
            QCOMPARE(answer.defaultButton, QStringLiteral("Keep Window Open"));
            QVERIFY(window.isVisible());
            QVERIFY(window.model().isAnalyzing());
        }

        // "Cancel Work and Close": the work stops and the window closes, without asking again.
        {
            AlertAnswer answer(WindowCloseGuard::kCancelWorkAndClose);
            QVERIFY(!window.close());
            QTRY_VERIFY(!window.isVisible());
            QTest::qWait(50);
            QCOMPARE(answer.shown, 1);
            QVERIFY(!window.model().isAnalyzing());
            QCOMPARE(window.model().items().first()->analysisSummary(), QStringLiteral("Analysis cancelled"));
        }

        // Work that ends while the question is shown takes the question with it; the window stays.
        {
            VideoTrimmingView ending;
            auto endingGate = std::make_shared<Gate>();
            ending.model().setAnalyzeFunction(heldAnalysis(endingGate));
            ending.show();
            ending.model().addVideos({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("ending.mp4")))});
            AlertAnswer unanswered(QStringLiteral("no such button"));
            QTimer::singleShot(200, [endingGate] { endingGate->open = true; });
            QVERIFY(!ending.close());
            QCOMPARE(unanswered.shown, 1);
            QVERIFY(!ending.model().isAnalyzing());
            QVERIFY(ending.isVisible());
            QVERIFY(!ending.closeGuard()->question());
        }

        // While trimming it asks the same way; other windows are not guarded.
        VideoTrimmingView trimming;
        trimming.model().setAnalyzeFunction(heldAnalysis(gate));
        trimming.model().setExportFunction(heldExport(std::make_shared<Gate>()));
        trimming.show();
        gate->open = true;
        trimming.model().addVideos({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("trim.mp4")))});
        QTRY_VERIFY(!trimming.model().isAnalyzing());
        trimming.model().startTrimming();
        QVERIFY(trimming.model().isTrimming());
        {
            AlertAnswer answer(WindowCloseGuard::kCancelWorkAndClose);
            trimming.close();
            QTRY_VERIFY(!trimming.isVisible());
            QCOMPARE(answer.shown, 1);
            QCOMPARE(trimming.model().items().first()->exportMessage(),
                     std::optional<QString>(QStringLiteral("Cancelled")));
        }
        QWidget other;
        other.show();
        AlertAnswer none(WindowCloseGuard::kKeepWindowOpen);
        QVERIFY(other.close());
        QTest::qWait(50);
        QCOMPARE(none.shown, 0);
    }

    void errorMessageShowsAnAlert() {
        VideoTrimmingView window;
        window.show();
        AlertAnswer answer(QStringLiteral("OK"));
        window.chooserFinished({QUrl(QStringLiteral("sftp://server/clip.mp4"))});
        QTRY_COMPARE(answer.shown, 1);
        QCOMPARE(answer.title, QStringLiteral("Video Trimming"));
        QVERIFY(answer.text.contains(QStringLiteral("clip.mp4")));
        QTRY_VERIFY(!window.model().errorMessage());
        QVERIFY(window.model().items().isEmpty());
    }
};

QTEST_MAIN(TrimmingWindowTest)
#include "test_trimming_window.moc"
