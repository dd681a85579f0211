#include "i18n/Translators.h"
#include "import/CardManifest.h"
#include "import/ImportProgress.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/ImportWindowFixture.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>

#include <functional>

using namespace velarix;
using namespace velarix::test;

// Several cards at once: the list beside the table, choosing, per-card selections, and the names
// the window and the command line agree on.
class CardListTest : public ImportWindowFixture {
    Q_OBJECT

private:
    QString m_alpha;
    QString m_bravo;
    QString m_chaptered;
    QTemporaryDir m_media;

    // Whether `widget` lies whole within `area` (both in window coordinates), left to right.
    static bool fitsAcross(const QWidget* widget, const QWidget* area) {
        const QRect shown(widget->mapTo(widget->window(), QPoint()), widget->size());
        const QRect room(area->mapTo(area->window(), QPoint()), area->size());
        return widget->isVisible() && shown.left() >= room.left() && shown.right() <= room.right();
    }

    QStringList shownFiles() const {
        QStringList names;
        for (const VideoFileRowPtr& row : model->videoFiles())
            names << row->fileName();
        names.sort();
        return names;
    }
    QString idOf(const QString& fileName) const {
        for (const VideoFileRowPtr& row : model->videoFiles()) {
            if (row->fileName() == fileName)
                return row->id();
        }
        return {};
    }
    void clickCard(int row) {
        CardListView* list = m_view->cardList();
        const QRect rect = list->visualRect(m_view->cards()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center() - QPoint(40, 0));
    }

private Q_SLOTS:
    void initTestCase() {
        FakeCard alpha = home->stageCard(QStringLiteral("ALPHA"));
        alpha.addVideos({1, 1}, m_base, 600);
        m_alpha = alpha.root();
        FakeCard bravo = home->stageCard(QStringLiteral("BRAVO"));
        bravo.addVideo(QStringLiteral("100GOPRO/GH010007.MP4"), 1, m_base.addSecs(60));
        m_bravo = bravo.root();
        writeManifest(m_bravo, QStringLiteral("Helmet cam"));

        // A recording the camera split into three chapters, and one short clip.
        QStringList chapters;
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            chapters << m_media.filePath(QLatin1String(name));
        QCOMPARE(makeChapteredRecording(m_media.filePath(QStringLiteral("whole.mp4")), chapters,
                                        cameraRecording()),
                 QString());
        FakeCard split = home->stageCard(QStringLiteral("SPLIT"));
        for (int i = 0; i < chapters.size(); ++i)
            split.addFile(QStringLiteral("100GOPRO/") + QFileInfo(chapters[i]).fileName(),
                          readFile(chapters[i]), m_base.addSecs(4 * (i + 1)));
        split.addVideo(QStringLiteral("100GOPRO/GX010043.MP4"), 1, m_base.addSecs(600));
        m_chaptered = split.root();
    }

    void init() { openModel(false); }
    void cleanup() { closeWindow(); }

    void severalCardsEachWithItsOwnSelection() {
        const QString alpha = home->insert(m_alpha);
        openWindow();
        CardListModel& cards = *m_view->cards();

        // One card: shown, and no list needed.
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        QTRY_COMPARE(cards.rowCount(), 1);
        QVERIFY(!m_view->cardList()->isVisible());
        QTRY_VERIFY(!model->isLoadingVideos());
        model->setSelection({idOf(QStringLiteral("GX010002.MP4"))});

        // A second card joins the list but does not take over the window.
        const QString bravo = home->insert(m_bravo);
        QTRY_COMPARE(cards.rowCount(), 2);
        QVERIFY(m_view->cardList()->isVisible());
        const QModelIndex bravoRow = cards.index(cards.rowOf(bravo));
        QTRY_COMPARE(bravoRow.data(CardListModel::NameRole).toString(), QStringLiteral("Helmet cam"));
        QTRY_COMPARE(bravoRow.data(CardListModel::VideoCountRole).toLongLong(), 1);
        QVERIFY(bravoRow.data(CardListModel::SpaceAvailableRole).toULongLong() > 0);
        QCOMPARE(CardListDelegate::detailText(bravoRow).endsWith(QStringLiteral(" free \u00b7 1 video")),
                 true);
        QCOMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        QVERIFY(cards.index(cards.rowOf(alpha)).data(CardListModel::IsCurrentRole).toBool());

        // Choosing the other card shows its videos with nothing selected there yet.
        clickCard(cards.rowOf(bravo));
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(bravo));
        QTRY_COMPARE(shownFiles(), QStringList{QStringLiteral("GH010007.MP4")});
        QCOMPARE(model->sdCardName(), QStringLiteral("Helmet cam"));
        QVERIFY(model->selection().isEmpty());
        QVERIFY(!m_view->importAction()->isEnabled());
        QTRY_VERIFY(!model->isLoadingVideos());
        model->setSelection({idOf(QStringLiteral("GH010007.MP4"))});

        // Back to the first: its own selection returns.
        clickCard(cards.rowOf(alpha));
        QTRY_COMPARE(shownFiles(),
                     (QStringList{QStringLiteral("GX010001.MP4"), QStringLiteral("GX010002.MP4")}));
        QTRY_COMPARE(model->selection(), QSet<QString>{idOf(QStringLiteral("GX010002.MP4"))});
        QVERIFY(m_view->importAction()->isEnabled());

        // While an import runs the list stays on the card being imported.
        model->setImportProgress(new ImportProgress(1));
        QVERIFY(!m_view->cardList()->isEnabled());
        clickCard(cards.rowOf(bravo));
        QTest::qWait(100);
        QCOMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        model->setImportProgress(nullptr);
        QVERIFY(m_view->cardList()->isEnabled());

        // Eject in a row ejects that card; a folder is no mounted volume, and the alert says so.
        const QRect bravoRect = m_view->cardList()->visualRect(cards.index(cards.rowOf(bravo)));
        QTest::mouseClick(m_view->cardList()->viewport(), Qt::LeftButton, {},
                          CardListDelegate::ejectRect(bravoRect).center());
        QTRY_VERIFY(m_view->errorAlert());
        QVERIFY(m_view->errorAlert()->text().contains(QStringLiteral("not a mounted volume")));
        QCOMPARE(model->sdCardPath(), std::optional<QString>(alpha)); // the click did not choose it
        m_view->errorAlert()->accept();
        QTRY_VERIFY(model->error().isEmpty());

        // A rename in the form shows in the list at once.
        model->setSdCardName(QStringLiteral("Chest cam"));
        QCOMPARE(cards.index(cards.rowOf(alpha)).data(CardListModel::NameRole).toString(),
                 QStringLiteral("Chest cam"));

        // The command line names the cards by the same rule.
        const ProcessResult listed = runCli({QStringLiteral("--json"), QStringLiteral("cards")});
        QCOMPARE(listed.exitCode, 0);
        const QJsonArray json = QJsonDocument::fromJson(listed.out).array();
        QCOMPARE(json.size(), 2);
        for (const QJsonValue& listedCard : json) {
            const QString path = listedCard[QStringLiteral("path")].toString();
            if (path == bravo)
                QCOMPARE(listedCard[QStringLiteral("name")].toString(), QStringLiteral("Helmet cam"));
            else
                QCOMPARE(path, alpha);
        }

        // The shown card goes: the other one is shown, with its selection.
        QDir().rename(alpha, m_alpha);
        QTRY_COMPARE(cards.rowCount(), 1);
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(bravo));
        QTRY_COMPARE(model->selection(), QSet<QString>{idOf(QStringLiteral("GH010007.MP4"))});
        QVERIFY(!m_view->cardList()->isVisible());
        QDir().rename(bravo, m_bravo);
        QTRY_COMPARE(m_view->content(), VelarixView::Content::empty);
    }

    // The list counts recordings, as the table lists them: a card counts the same shown or not.
    void chaptersCountAsOneRecording() {
        const QString alpha = home->insert(m_alpha);
        openWindow();
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        const QString split = home->insert(m_chaptered);
        CardListModel& cards = *m_view->cards();
        QTRY_COMPARE(cards.rowCount(), 2);
        const QPersistentModelIndex row = cards.index(cards.rowOf(split));
        QTRY_COMPARE(row.data(CardListModel::VideoCountRole).toLongLong(), 2);
        clickCard(row.row());
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(split));
        QTRY_VERIFY(!model->isLoadingVideos());
        QCOMPARE(model->videoFiles().size(), 2);
        QCOMPARE(row.data(CardListModel::VideoCountRole).toLongLong(), 2);
        QDir().rename(alpha, m_alpha);
        QDir().rename(split, m_chaptered);
        QTRY_COMPARE(cards.rowCount(), 0);
    }

    // At 1024 × 700, two cards in and an import under way with a long status: the window's real
    // minimum fits, and the card list's Eject buttons, Cancel, "Change…" and "Insert Placeholder"
    // all stand whole inside their panes.
    void everyControlFitsAt1024x700() {
        const QString alpha = home->insert(m_alpha);
        const QString bravo = home->insert(m_bravo);
        openWindow();
        CardListModel& cards = *m_view->cards();
        QTRY_COMPARE(cards.rowCount(), 2);
        QTRY_VERIFY(!model->isLoadingVideos());
        model->setSelection({idOf(QStringLiteral("GX010001.MP4"))});
        auto* progress = new ImportProgress(9, 9'000'000'000, true);
        model->setImportProgress(progress);
        progress->setCopying(QStringLiteral("A_VERY_LONG_FILE_NAME_FROM_A_CAMERA_THAT_NAMES_CLIPS_AT_"
                                            "LENGTH_GX010102.MP4"),
                             1'000'000'000);

        m_view->resize(1024, 700);
        QTRY_COMPARE(m_view->size(), QSize(1024, 700));
        QVERIFY2(m_view->minimumSizeHint().width() <= 1024 && m_view->minimumSizeHint().height() <= 700,
                 qPrintable(QStringLiteral("%1x%2")
                                .arg(m_view->minimumSizeHint().width())
                                .arg(m_view->minimumSizeHint().height())));
        QCoreApplication::processEvents();

        CardListView* list = m_view->cardList();
        QVERIFY(list->isVisible());
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        for (int i = 0; i < cards.rowCount(); ++i) {
            const QRect eject = CardListDelegate::ejectRect(list->visualRect(cards.index(i)));
            QVERIFY(list->viewport()->rect().contains(eject));
        }
        QVERIFY(m_view->table()->width() >= JumpTableView::kMinimumWidth);

        VelarixFormView* form = m_view->form();
        QWidget* progressRow = form->progressRow();
        for (const char* name : {"cancelImport", "importProgressText"}) {
            auto* control = progressRow->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control && fitsAcross(control, form), name);
        }
        // Pinned under the options: in sight without scrolling.
        QVERIFY(QRect(QPoint(), m_view->size())
                    .contains(QRect(progressRow->mapTo(m_view.get(), QPoint()), progressRow->size())));
        for (const char* name : {"chooseFolder", "insertPlaceholder", "trimAfterImport", "autogroupVideos"}) {
            auto* control = form->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control && fitsAcross(control, form->viewport()), name);
        }
        model->setImportProgress(nullptr);
        QDir().rename(alpha, m_alpha);
        QDir().rename(bravo, m_bravo);
        QTRY_COMPARE(cards.rowCount(), 0);
    }

    // Without a mouse: Return shows the focused card, and the Menu key (or a right click) offers
    // "Eject NAME" for the card it is about, which asks the platform to eject that card's volume.
    void keyboardChoosesAndEjects() {
        const QString alpha = home->insert(m_alpha);
        const QString bravo = home->insert(m_bravo);
        openWindow();
        CardListModel& cards = *m_view->cards();
        CardListView* list = m_view->cardList();
        QTRY_COMPARE(cards.rowCount(), 2);
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        QTRY_VERIFY(!model->isLoadingVideos());
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());

        // Focus on the other card without showing it (as after a refused choice), then Return.
        {
            const QSignalBlocker quiet(list->selectionModel());
            list->selectionModel()->setCurrentIndex(cards.index(cards.rowOf(bravo)),
                                                    QItemSelectionModel::NoUpdate);
        }
        QCOMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(bravo));
        QTRY_VERIFY(!model->isLoadingVideos());

        // The menu's one action, triggered once it shows; its text is what the test reads.
        const auto ejectFromMenu = [](const std::function<void()>& open) {
            QString offered;
            QTimer::singleShot(0, [&offered] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu || menu->objectName() != QLatin1String("cardContextMenu") ||
                    menu->actions().isEmpty())
                    return;
                offered = menu->actions().first()->text();
                menu->actions().first()->trigger();
                menu->close();
            });
            open();
            return offered;
        };
        // The Menu key (Qt makes it a keyboard context menu event) asks about the focused card:
        // BRAVO, named "Helmet cam".
        QCOMPARE(ejectFromMenu([list] {
                     QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(),
                                             list->mapToGlobal(QPoint()));
                     QCoreApplication::sendEvent(list, &event);
                 }),
                 QStringLiteral("Eject Helmet cam"));
        // A folder is no mounted volume: the platform refuses, naming the card it was asked for.
        QTRY_VERIFY(m_view->errorAlert());
        QVERIFY2(m_view->errorAlert()->text().contains(bravo), qPrintable(m_view->errorAlert()->text()));
        m_view->errorAlert()->accept();
        QTRY_VERIFY(model->error().isEmpty());

        // A right click asks about the card under the pointer, whichever is shown.
        const QRect alphaRect = list->visualRect(cards.index(cards.rowOf(alpha)));
        QCOMPARE(ejectFromMenu([list, alphaRect] {
                     QContextMenuEvent event(QContextMenuEvent::Mouse, alphaRect.center(),
                                             list->viewport()->mapToGlobal(alphaRect.center()));
                     QCoreApplication::sendEvent(list->viewport(), &event);
                 }),
                 QStringLiteral("Eject ALPHA"));
        QTRY_VERIFY(m_view->errorAlert());
        QVERIFY2(m_view->errorAlert()->text().contains(alpha), qPrintable(m_view->errorAlert()->text()));
        m_view->errorAlert()->accept();
        QCOMPARE(model->sdCardPath(), std::optional<QString>(bravo));

        QDir().rename(alpha, m_alpha);
        QDir().rename(bravo, m_bravo);
        QTRY_COMPARE(cards.rowCount(), 0);
    }

    // The table's "Thumbnail" title stands whole above its narrow column, in every language.
    void thumbnailTitleShowsWhole_data() {
        QTest::addColumn<QLocale::Language>("language");
        QTest::newRow("English") << QLocale::English;
        QTest::newRow("German") << QLocale::German;
        QTest::newRow("French") << QLocale::French;
    }
    void thumbnailTitleShowsWhole() {
        QFETCH(QLocale::Language, language);
        installTranslators(QLocale(language));
        // A desktop's usual text size (GNOME's is 11 pt): the offscreen default is smaller.
        const QFont font = QApplication::font();
        QFont desktop = font;
        desktop.setPointSizeF(11);
        QApplication::setFont(desktop);
        const auto restore = qScopeGuard([font] {
            QApplication::setFont(font);
            installTranslators(QLocale(QLocale::English));
        });
        const QString alpha = home->insert(m_alpha);
        openWindow();
        QTRY_COMPARE(m_view->cards()->rowCount(), 1);
        QTableView* table = m_view->table()->findChild<QTableView*>();
        QVERIFY(table);
        QHeaderView* header = table->horizontalHeader();
        const QString title =
            table->model()->headerData(VideoTableModel::thumbnailColumn, Qt::Horizontal).toString();
        QVERIFY(language == QLocale::English || title != QLatin1String("Thumbnail"));
        // What the style needs to draw the title whole.
        QStyleOptionHeader option;
        option.initFrom(header);
        option.text = title;
        option.section = VideoTableModel::thumbnailColumn;
        const int needed =
            header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
        QVERIFY2(needed <= header->sectionSize(VideoTableModel::thumbnailColumn),
                 qPrintable(QStringLiteral("%1: %2 of %3 px")
                                .arg(title)
                                .arg(header->sectionSize(VideoTableModel::thumbnailColumn))
                                .arg(needed)));
        QDir().rename(alpha, m_alpha);
        QTRY_COMPARE(m_view->cards()->rowCount(), 0);
    }

    void cardsInsertedBeforeStartShowTheFirstHighlighted() {
        const QString alpha = home->insert(m_alpha);
        const QString bravo = home->insert(m_bravo);
        openWindow();
        CardListModel& cards = *m_view->cards();
        QTRY_COMPARE(cards.rowCount(), 2);
        QTRY_COMPARE(model->sdCardPath(), std::optional<QString>(alpha));
        // The list marks the card the table shows.
        QTRY_VERIFY(m_view->cardList()->selectionModel()->isSelected(cards.index(cards.rowOf(alpha))));
        QCOMPARE(m_view->cardList()->selectionModel()->selectedIndexes().size(), 1);
        QDir().rename(alpha, m_alpha);
        QDir().rename(bravo, m_bravo);
        QTRY_COMPARE(cards.rowCount(), 0);
    }
};

QTEST_MAIN(CardListTest)
#include "test_card_list.moc"
