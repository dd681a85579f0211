#include "import/CardManifest.h"
#include "import/ImportProgress.h"
#include "tests/support/ImportWindowFixture.h"
#include "tests/support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>

using namespace velarix;
using namespace velarix::test;

// Several cards at once: the list beside the table, choosing, per-card selections, and the names
// the window and the command line agree on.
class CardListTest : public ImportWindowFixture {
    Q_OBJECT

private:
    QString m_alpha;
    QString m_bravo;

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
