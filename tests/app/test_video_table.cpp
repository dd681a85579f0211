#include "Velarix/importwindow/LoadingCard.h"
#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/importwindow/VideoTableDelegate.h"
#include "Velarix/importwindow/VideoTableSort.h"
#include "desktop/DisplayFormats.h"
#include "media/VideoThumbnail.h"
#include "tests/support/ImportWindowFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QVBoxLayout>

using namespace velarix;
using namespace velarix::test;

class VideoTableTest : public ImportWindowFixture {
    Q_OBJECT

private:
    QString m_card;

    VideoFileList rowsOfCard() {
        VideoFileList rows;
        const QStringList names = {QStringLiteral("GX010001.MP4"), QStringLiteral("GX010002.MP4"),
                                   QStringLiteral("GX010003.MP4")};
        for (int i = 0; i < names.size(); ++i) {
            const QString file = m_card + QStringLiteral("/DCIM/100GOPRO/") + names.at(i);
            rows << VideoFileRowPtr::create(file, m_base.addSecs(600 * i), QFileInfo(file).size());
        }
        return rows;
    }

    static QStringList shownIds(const VideoTableSort& table) {
        QStringList ids;
        for (const VideoFileRowPtr& row : table.sortedVideoFiles())
            ids << row->fileName();
        return ids;
    }

private Q_SLOTS:
    void initTestCase() {
        FakeCard inserted = home->addCard(QStringLiteral("CARD"));
        // Different lengths give different sizes, so that size order differs from date order.
        inserted.addVideos({3, 1, 2}, m_base, 600);
        m_card = inserted.root();
    }

    void init() { openModel(); }
    void cleanup() { closeWindow(); }

    void formatsFollowTheTable() {
        QCOMPARE(formatByteCount(3'500'000'000), QStringLiteral("3.5 GB"));
        QCOMPARE(formatByteCount(1'512'000'000), QStringLiteral("1.5 GB"));
        QCOMPARE(formatByteCount(12'300'000), QStringLiteral("12.3 MB"));
        QCOMPARE(formatByteCount(2'500), QStringLiteral("2.5 KB"));
        QCOMPARE(formatByteCount(999), QStringLiteral("999 bytes"));
        QCOMPARE(formatByteCount(999'960), QStringLiteral("1.0 MB"));
        QCOMPARE(formatByteCount(64'000'000'000ULL), QStringLiteral("64.0 GB"));
        QCOMPARE(formatDuration(0), QStringLiteral("-:-"));
        QCOMPARE(formatDuration(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("-:-"));
        QCOMPARE(formatDuration(65), QStringLiteral("1 min, 5 sec"));
        const QDateTime now(QDate(2024, 5, 2), QTime(12, 0));
        QCOMPARE(formatRelativeDate(now.addSecs(-3 * 3600), now), QStringLiteral("3 hours ago"));
        QCOMPARE(formatRelativeDate(now.addDays(-1), now), QStringLiteral("1 day ago"));
        QCOMPARE(formatRelativeDate(now.addSecs(120), now), QStringLiteral("in 2 minutes"));
    }

    void thumbnailIsOneScaledFrame() {
        const QString clip = m_card + QStringLiteral("/DCIM/100GOPRO/GX010001.MP4");
        const Result<QImage> image = makeVideoThumbnail(clip, QSize(64, 48));
        QVERIFY2(image.ok(), image.ok() ? "" : qPrintable(image.error().message));
        QCOMPARE(image->size(), QSize(64, 48));
        // testsrc is colourful: a decoded frame is not one flat colour.
        QVERIFY(image->pixelColor(5, 5) != image->pixelColor(58, 40));

        // Aspect kept: a wide box gets a 4:3 picture fitted by height.
        QCOMPARE(makeVideoThumbnail(clip, QSize(128, 48))->size(), QSize(64, 48));

        QFile junk(home->path(QStringLiteral("junk.mp4")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        const Result<QImage> bad = makeVideoThumbnail(junk.fileName(), QSize(64, 48));
        QVERIFY(!bad.ok());
        QVERIFY(!bad.error().message.isEmpty());

        CancelToken cancelled;
        cancelled.cancel();
        QVERIFY(makeVideoThumbnail(clip, QSize(64, 48), &cancelled).isCancelled());
    }

    void thumbnailLoaderWorksInTheBackground() {
        ThumbnailLoader loader(QSize(64, 48));
        QVERIFY(loader.maxConcurrent() <= 3);
        QSignalSpy finished(&loader, &ThumbnailLoader::finished);
        const QString clip = m_card + QStringLiteral("/DCIM/100GOPRO/GX010002.MP4");
        loader.request(clip);
        loader.request(clip);
        QCOMPARE(loader.state(clip), ThumbnailLoader::State::loading);
        loader.request(home->path(QStringLiteral("missing.mp4")));
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(loader.state(clip), ThumbnailLoader::State::ready);
        QCOMPARE(loader.image(clip).size(), QSize(64, 48));
        QCOMPARE(loader.state(home->path(QStringLiteral("missing.mp4"))), ThumbnailLoader::State::failed);
    }

    void sortingKeepsTheSelection() {
        model->setVideoFiles(rowsOfCard());
        JumpTableView view(*model, *store);
        testModel(view.tableModel());
        VideoTableSort& table = *view.tableModel();
        QCOMPARE(shownIds(table), QStringList({"GX010003.MP4", "GX010002.MP4", "GX010001.MP4"}));

        const VideoFileList rows = model->videoFiles();
        model->setSelection({rows.at(0)->id(), rows.at(2)->id()});
        QCOMPARE(view.tableView()->selectionModel()->selectedRows().size(), 2);

        view.tableView()->horizontalHeader()->setSortIndicator(VideoTableModel::sizeColumn,
                                                               Qt::AscendingOrder);
        QCOMPARE(shownIds(table), QStringList({"GX010002.MP4", "GX010003.MP4", "GX010001.MP4"}));
        QSet<QString> selected;
        for (const QModelIndex& index : view.tableView()->selectionModel()->selectedRows())
            selected.insert(index.data(VideoTableModel::RowIdRole).toString());
        QCOMPARE(selected, QSet<QString>({rows.at(0)->id(), rows.at(2)->id()}));
        QCOMPARE(model->selection(), selected);

        // The State column has no sort key: clicking it changes nothing.
        view.tableView()->horizontalHeader()->setSortIndicator(VideoTableModel::stateColumn,
                                                               Qt::AscendingOrder);
        QCOMPARE(shownIds(table), QStringList({"GX010002.MP4", "GX010003.MP4", "GX010001.MP4"}));

        // Selecting in the table selects in the model.
        view.tableView()->selectRow(0);
        QCOMPARE(model->selection(), QSet<QString>({table.rowAt(0)->id()}));
    }

    void cellsShowSizeDurationAndDates() {
        VideoFileList rows = rowsOfCard();
        rows << VideoFileRowPtr::create(m_card + QStringLiteral("/DCIM/100GOPRO/NODATE.MP4"), QDateTime(),
                                        3'500'000'000LL);
        model->setVideoFiles(rows);
        JumpTableView view(*model, *store);
        testModel(view.tableModel());
        VideoTableSort& table = *view.tableModel();
        table.rows().setNow(m_base.addSecs(1200 + 7200));
        const int undated = table.rowOf(rows.last()->id());
        QCOMPARE(undated, 3); // the distant past sorts last
        QCOMPARE(table.index(undated, VideoTableModel::sizeColumn).data().toString(),
                 QStringLiteral("3.5 GB"));
        QCOMPARE(table.index(undated, VideoTableModel::sizeColumn)
                     .data(VideoTableModel::SecondLineRole)
                     .toString(),
                 QStringLiteral("-:-"));
        QCOMPARE(table.index(undated, VideoTableModel::createdColumn).data().toString(), QString());
        QCOMPARE(table.index(0, VideoTableModel::createdColumn).data().toString(),
                 QStringLiteral("2 hours ago"));

        // A duration arriving later updates its cell.
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        table.rowAt(0)->setDuration(125);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(table.index(0, VideoTableModel::sizeColumn).data(VideoTableModel::SecondLineRole).toString(),
                 QStringLiteral("2 min, 5 sec"));
    }

    void marksFollowTheHistory() {
        const QString uuid = QStringLiteral("card-uuid");
        const QDateTime now = QDateTime::currentDateTime();
        // The middle clip is imported (twice, as a re-import would record it); another card's
        // record of the newest clip's name must not count.
        QVERIFY(store->insertImportHistory(QStringLiteral("GX010002.MP4"), uuid, now).ok());
        QVERIFY(store->insertImportHistory(QStringLiteral("GX010002.MP4"), uuid, now).ok());
        QVERIFY(
            store->insertImportHistory(QStringLiteral("GX010003.MP4"), QStringLiteral("other"), now).ok());
        QVERIFY(store->save().ok());

        VideoFileList rows = rowsOfCard();
        // Same creation time as the imported clip: not newer, so unmarked.
        rows << VideoFileRowPtr::create(m_card + QStringLiteral("/DCIM/100GOPRO/TWIN.MP4"),
                                        m_base.addSecs(600), 10);
        model->setVideoFiles(rows);
        model->setSdCardVolumeUUID(uuid);
        model->refreshCardHistory(*store);
        JumpTableView view(*model, *store);
        testModel(view.tableModel());
        const VideoTableSort& table = *view.tableModel();
        auto status = [&](const QString& name) {
            for (const VideoFileRowPtr& row : table.sortedVideoFiles()) {
                if (row->fileName() == name)
                    return table.rows().importStatus(*row);
            }
            return ImportStatus::unmarked;
        };
        QTRY_COMPARE(status(QStringLiteral("GX010002.MP4")), ImportStatus::imported);
        QCOMPARE(status(QStringLiteral("GX010003.MP4")), ImportStatus::newVideo);
        QCOMPARE(status(QStringLiteral("GX010001.MP4")), ImportStatus::unmarked);
        QCOMPARE(status(QStringLiteral("TWIN.MP4")), ImportStatus::unmarked);
        QCOMPARE(table.index(table.rowOf(rows.at(2)->id()), VideoTableModel::stateColumn).data().toString(),
                 QStringLiteral("New"));

        // A new import renews the refresh id: the table reads the history again.
        QVERIFY(store->insertImportHistory(QStringLiteral("GX010003.MP4"), uuid, now).ok());
        QVERIFY(store->save().ok());
        QCOMPARE(status(QStringLiteral("GX010003.MP4")), ImportStatus::newVideo);
        model->setImportStateRefreshID(QUuid::createUuid());
        QTRY_COMPARE(status(QStringLiteral("GX010003.MP4")), ImportStatus::imported);

        // A copy made without verification says so in the State column's tooltip; one whose record
        // is older than that knowledge does not claim either.
        const auto tooltip = [&](const QString& name) {
            for (const VideoFileRowPtr& row : table.sortedVideoFiles()) {
                if (row->fileName() == name)
                    return table.index(table.rowOf(row->id()), VideoTableModel::stateColumn)
                        .data(Qt::ToolTipRole)
                        .toString();
            }
            return QString();
        };
        // These rows know their file name only, so it stands for their path.
        QVERIFY(store->insertImportHistory(CardFile{"GX010001.MP4", "GX010001.MP4",
                                                    QFileInfo(m_card + "/DCIM/100GOPRO/GX010001.MP4").size()},
                                           uuid, now, false));
        QVERIFY(store->save());
        model->setImportStateRefreshID(QUuid::createUuid());
        QTRY_COMPARE(status(QStringLiteral("GX010001.MP4")), ImportStatus::imported);
        QVERIFY2(tooltip("GX010001.MP4").startsWith("Imported without verification"),
                 qPrintable(tooltip("GX010001.MP4")));
        QCOMPARE(tooltip("GX010002.MP4"), QString());

        // No card identity: nothing is marked.
        model->setSdCardVolumeUUID(std::nullopt);
        model->refreshCardHistory(*store);
        QTRY_COMPARE(status(QStringLiteral("GX010002.MP4")), ImportStatus::unmarked);
    }

    void loadingCardShowsWhileDurationsLoad() {
        model->setVideoFiles(rowsOfCard());
        JumpTableView view(*model, *store);
        testModel(view.tableModel());
        view.resize(700, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!view.loadingCard()->isVisible());
        model->setIsLoadingVideos(true);
        model->setVideoLoadingPhase(VideoLoadingPhase::loadingMetadata);
        model->setVideoLoadingTotal(3);
        model->setVideoLoadingCurrent(1);
        QVERIFY(view.loadingCard()->isVisible());
        QCOMPARE(view.loadingCard()->statusText(), QStringLiteral("Loading video details\u2026 1 of 3"));
        // It sits over the bottom edge, within the table, and lets clicks through.
        const QRect overlay = view.loadingCard()->geometry();
        QCOMPARE(overlay.bottom(), view.height() - 12 - 1);
        QVERIFY(overlay.width() <= 360);
        QVERIFY(view.loadingCard()->testAttribute(Qt::WA_TransparentForMouseEvents));
        model->setIsLoadingVideos(false);
        model->setVideoLoadingPhase(VideoLoadingPhase::idle);
        QVERIFY(!view.loadingCard()->isVisible());
    }

    void columnLayoutSurvivesANewWindow() {
        model->setVideoFiles(rowsOfCard());
        {
            JumpTableView view(*model, *store);
            testModel(view.tableModel());
            QHeaderView* header = view.tableView()->horizontalHeader();
            header->moveSection(header->visualIndex(VideoTableModel::createdColumn), 1);
            header->resizeSection(VideoTableModel::sizeColumn, 111);
            header->setSectionHidden(VideoTableModel::stateColumn, true);
            // Hiding goes through the header menu, which saves; do the same here.
            header->resizeSection(VideoTableModel::sizeColumn, 112);
        }
        // A new model over the same settings file, as after a restart.
        Settings reopened(home->settingsFile());
        VelarixModel restarted(reopened);
        restarted.setVideoFiles(rowsOfCard());
        JumpTableView view(restarted, *store);
        testModel(view.tableModel());
        QHeaderView* header = view.tableView()->horizontalHeader();
        QCOMPARE(header->visualIndex(VideoTableModel::createdColumn), 1);
        QCOMPARE(header->sectionSize(VideoTableModel::sizeColumn), 112);
        QVERIFY(header->isSectionHidden(VideoTableModel::stateColumn));
        // The order is not part of the layout: newest first again.
        QCOMPARE(view.tableModel()->sortColumn(), int(VideoTableModel::createdColumn));
        QCOMPARE(view.tableModel()->sortOrder(), Qt::DescendingOrder);
    }

    void spaceOpensAPreviewOfOneSelectedRow() {
        model->setVideoFiles(rowsOfCard());
        JumpTableView view(*model, *store);
        testModel(view.tableModel());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy preview(&view, &JumpTableView::previewRequested);
        view.tableView()->setFocus();
        view.tableView()->clearSelection();
        QTest::keyClick(view.tableView(), Qt::Key_Space);
        QCOMPARE(preview.size(), 0);

        const VideoFileList rows = model->videoFiles();
        model->setSelection({rows.at(0)->id(), rows.at(1)->id()});
        QTest::keyClick(view.tableView(), Qt::Key_Space);
        QCOMPARE(preview.size(), 1);
        const QString shown = preview.at(0).at(0).toString();
        QVERIFY(shown == rows.at(0)->path() || shown == rows.at(1)->path());
        // The selection is untouched by the key.
        QCOMPARE(model->selection().size(), 2);
    }

    // Tab leaves the table without touching the selection; Home and End go to the first and last
    // row, Shift extending from where the cursor was.
    void keysChangeTheSelectionOnlyOnPurpose() {
        model->setVideoFiles(rowsOfCard());
        QWidget window;
        auto* view = new JumpTableView(*model, *store, &window);
        auto* after = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(view);
        layout->addWidget(after);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTableView* table = view->tableView();
        const VideoFileList rows = model->videoFiles();
        const QSet<QString> chosen{rows.at(0)->id(), rows.at(2)->id()};
        model->setSelection(chosen);
        table->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(table->hasFocus());
        QTest::keyClick(table, Qt::Key_Tab);
        QTRY_VERIFY(after->hasFocus());
        QCOMPARE(model->selection(), chosen);

        table->setFocus();
        const VideoTableSort& shown = *view->tableModel();
        QTest::keyClick(table, Qt::Key_End);
        QCOMPARE(table->currentIndex().row(), 2);
        QCOMPARE(model->selection(), QSet<QString>{shown.rowAt(2)->id()});
        QTest::keyClick(table, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(table->currentIndex().row(), 0);
        QCOMPARE(model->selection().size(), 3);
        QTest::keyClick(table, Qt::Key_End);
        QTest::keyClick(table, Qt::Key_Home);
        QCOMPARE(table->currentIndex().row(), 0);
        QCOMPARE(model->selection(), QSet<QString>{shown.rowAt(0)->id()});
    }

    // A 30-minute clip in a narrow Size column: the words while they fit, then the clock form, then
    // an elided clock, never cut off without a mark.
    void durationsFitTheColumn() {
        const double thirtyMinutes = 30 * 60 + 24;
        QCOMPARE(formatCompactDuration(thirtyMinutes), QStringLiteral("30:24"));
        QCOMPARE(formatCompactDuration(3723), QStringLiteral("1:02:03"));
        QCOMPARE(formatCompactDuration(0), QStringLiteral("-:-"));
        const QFontMetrics metrics(QApplication::font());
        const QString words = formatDuration(thirtyMinutes);
        const QString clock = formatCompactDuration(thirtyMinutes);
        QCOMPARE(VideoTableDelegate::fittedText(words, clock, metrics, metrics.horizontalAdvance(words)),
                 words);
        QCOMPARE(VideoTableDelegate::fittedText(words, clock, metrics, metrics.horizontalAdvance(words) - 1),
                 clock);
        const QString squeezed =
            VideoTableDelegate::fittedText(words, clock, metrics, metrics.horizontalAdvance(clock) - 1);
        QVERIFY2(squeezed.endsWith(QChar(0x2026)) || squeezed.isEmpty(), qPrintable(squeezed));
        QVERIFY(metrics.horizontalAdvance(squeezed) < metrics.horizontalAdvance(clock));
    }
};

QTEST_MAIN(VideoTableTest)
#include "test_video_table.moc"
