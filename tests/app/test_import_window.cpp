#include "Velarix/importwindow/ContentPanels.h"
#include "Velarix/importwindow/OutputFilesView.h"
#include "Velarix/importwindow/PatternField.h"
#include "Velarix/importwindow/PreviewWindow.h"
#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/importwindow/VelarixFormView.h"
#include "Velarix/importwindow/VideoTableSort.h"
#include "Velarix/widgets/ThemeColours.h"
#include "desktop/AppPaths.h"
#include "tests/support/ImportWindowFixture.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace velarix;
using namespace velarix::test;

class ImportWindowTest : public ImportWindowFixture {
    Q_OBJECT

private:
    QString m_staged;
    QStringList m_opened;

    QString stateOf(const QString& fileName) const {
        const VideoTableSort& table = *m_view->table()->tableModel();
        for (int row = 0; row < table.rowCount(); ++row) {
            if (table.rowAt(row)->fileName() == fileName)
                return table.index(row, VideoTableModel::stateColumn).data().toString();
        }
        return QStringLiteral("<missing>");
    }

    void selectFiles(const QStringList& names) {
        QSet<QString> ids;
        for (const VideoFileRowPtr& row : model->videoFiles()) {
            if (names.contains(row->fileName()))
                ids.insert(row->id());
        }
        model->setSelection(ids);
    }

private Q_SLOTS:
    void initTestCase() {
        FakeCard staged = home->stageCard(QStringLiteral("CARD"));
        staged.addVideos({2, 1, 1}, m_base, 3600);
        m_staged = staged.root();
    }

    void init() {
        openModel();
        QDir().mkpath(home->path(QStringLiteral("out"))); // chosen folders exist
        model->setOutputLocation(home->path(QStringLiteral("out")));
        m_opened.clear();
        model->setFolderOpener([this](const QString& folder) { m_opened << folder; });
    }

    void cleanup() {
        closeWindow();
        // The card goes back to staging, out of the volumes folder.
        const QString inserted = home->volumes() + QStringLiteral("/CARD");
        if (QFileInfo::exists(inserted))
            QDir().rename(inserted, m_staged);
        QDir(home->path(QStringLiteral("out"))).removeRecursively();
    }

    void statesFollowTheCard() {
        openWindow();
        // No card: the empty state, with nothing to eject or import.
        QTRY_COMPARE(m_view->content(), VelarixView::Content::empty);
        QCOMPARE(m_view->emptyPanel()->title(), QStringLiteral("No SD Card Found"));
        QCOMPARE(m_view->windowTitle(), QStringLiteral("Velarix"));
        QVERIFY(!m_view->ejectAction()->isEnabled());
        QVERIFY(!m_view->importAction()->isEnabled());
        QCOMPARE(m_view->importAction()->toolTip(), QStringLiteral("Import [Ctrl+I]"));

        // The card appears: the watch loads it without a click.
        const QString inserted = home->insert(m_staged);
        QTRY_COMPARE(m_view->content(), VelarixView::Content::table);
        QTRY_COMPARE(model->videoFiles().size(), 3);
        QVERIFY(m_view->windowTitle().startsWith(QStringLiteral("Velarix \u2014 ") + inserted));
        QVERIFY(m_view->windowTitle().endsWith(QStringLiteral(" available)")));
        QVERIFY(m_view->ejectAction()->isEnabled());
        QVERIFY(!m_view->importAction()->isEnabled());
        selectFiles({QStringLiteral("GX010001.MP4")});
        QVERIFY(m_view->importAction()->isEnabled());

        // A reload with nothing listed yet passes through the loading state.
        QTRY_VERIFY(!model->isLoadingVideos());
        QList<VelarixView::Content> seen;
        QStringList statuses;
        connect(model.get(), &VelarixModel::isLoadingVideosChanged, this, [&] { seen << m_view->content(); });
        connect(model.get(), &VelarixModel::videoLoadingChanged, this, [&] {
            if (m_view->content() == VelarixView::Content::loading)
                statuses << m_view->loadingPanel()->statusText();
        });
        model->setVideoFiles({});
        m_view->reload(inserted);
        QTRY_COMPARE(m_view->content(), VelarixView::Content::table);
        QTRY_VERIFY(seen.size() >= 2);
        QCOMPARE(seen.first(), VelarixView::Content::loading);
        QVERIFY(!statuses.isEmpty());
        QVERIFY(statuses.last().startsWith(QStringLiteral("Scanning SD card\u2026")));
        QTRY_VERIFY(!model->isLoadingVideos());

        // Eject of a card folder that is no mount point fails, and says so in the alert.
        m_view->ejectAction()->trigger();
        QTRY_VERIFY(m_view->errorAlert());
        QVERIFY(m_view->errorAlert()->text().contains(QStringLiteral("not a mounted volume")));
        m_view->errorAlert()->accept();
        QTRY_VERIFY(model->error().isEmpty());

        // The card goes away: empty again.
        QDir().rename(inserted, m_staged);
        QTRY_COMPARE(m_view->content(), VelarixView::Content::empty);
        QVERIFY(!m_view->ejectAction()->isEnabled());
        QCOMPARE(m_view->windowTitle(), QStringLiteral("Velarix"));
    }

    void importMarksTheRows() {
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        QTRY_VERIFY(!model->isLoadingVideos());
        // A card the history has never seen: every clip is new, as "Select All New" takes them.
        for (const char* name : {"GX010001.MP4", "GX010002.MP4", "GX010003.MP4"})
            QTRY_COMPARE(stateOf(QString::fromLatin1(name)), QStringLiteral("New"));

        selectFiles({QStringLiteral("GX010001.MP4"), QStringLiteral("GX010002.MP4")});
        m_view->importAction()->trigger();
        // While the import runs the button is off and the progress row replaces the names.
        QVERIFY(model->importProgress());
        QVERIFY(!m_view->importAction()->isEnabled());
        auto* progressRow = m_view->form()->findChild<QWidget*>(QStringLiteral("importProgressRow"));
        auto* filesSection = m_view->form()->findChild<QWidget*>(QStringLiteral("filesSection"));
        QVERIFY(progressRow->isVisible());
        QVERIFY(!filesSection->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!model->importProgress(), 20000);
        // What was imported is no longer selected, so Import cannot simply run it again.
        QVERIFY(model->selection().isEmpty());
        QVERIFY(!m_view->importAction()->isEnabled());
        QVERIFY(!progressRow->isVisible());

        QTRY_COMPARE(stateOf(QStringLiteral("GX010001.MP4")), QStringLiteral("Imported"));
        QCOMPARE(stateOf(QStringLiteral("GX010002.MP4")), QStringLiteral("Imported"));
        QCOMPARE(stateOf(QStringLiteral("GX010003.MP4")), QStringLiteral("New"));
        QCOMPARE(m_opened.size(), 1);

        // "Select All New" stands in the toolbar and picks what was not imported.
        QWidget* selectNew = m_view->findChild<QToolBar*>(QStringLiteral("mainToolBar"))
                                 ->widgetForAction(m_view->selectAllNewAction());
        QVERIFY(selectNew && selectNew->isVisible() && selectNew->isEnabled());
        QTest::mouseClick(selectNew, Qt::LeftButton);
        QCOMPARE(model->selectedVideoFiles().size(), 1);
        QCOMPARE(model->selectedVideoFiles().first()->fileName(), QStringLiteral("GX010003.MP4"));

        // Importing again is asked: skipping copies only the new clip.
        const auto copies = [this] {
            int count = 0;
            QDirIterator it(home->path(QStringLiteral("out")), QDir::Files, QDirIterator::Subdirectories);
            for (; it.hasNext(); it.next())
                ++count;
            return count;
        };
        selectFiles({QStringLiteral("GX010001.MP4"), QStringLiteral("GX010003.MP4")});
        m_view->importAction()->trigger();
        QVERIFY(m_view->reimportQuestion());
        QVERIFY(!model->importProgress());
        QCOMPARE(m_view->reimportQuestion()->text(),
                 QStringLiteral("1 of the 2 selected videos were imported before."));
        m_view->reimportQuestion()->findChild<QAbstractButton*>(QStringLiteral("skipImported"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!model->importProgress() && copies() == 3, 20000);
        QTRY_COMPARE(stateOf(QStringLiteral("GX010003.MP4")), QStringLiteral("Imported"));

        // Only imported clips selected: cancelling the question copies nothing.
        selectFiles({QStringLiteral("GX010001.MP4")});
        m_view->importAction()->trigger();
        QTRY_VERIFY(m_view->reimportQuestion());
        QVERIFY(!m_view->reimportQuestion()->findChild<QAbstractButton*>(QStringLiteral("skipImported")));
        QCOMPARE(m_view->reimportQuestion()->text(),
                 QStringLiteral("The selected video was imported before."));
        m_view->reimportQuestion()->button(QMessageBox::Cancel)->click();
        QTest::qWait(100);
        QVERIFY(!model->importProgress());
        QCOMPARE(copies(), 3);

        // Clearing the history makes every clip new again once the card is read again.
        auto* clear = m_view->form()->findChild<QAction*>(QStringLiteral("clearImportHistory"));
        QVERIFY(clear);
        clear->trigger();
        // It asks first, saying how much goes; cancelling keeps the marks.
        auto question = [this] {
            return m_view->findChild<QMessageBox*>(QStringLiteral("clearHistoryQuestion"));
        };
        QTRY_VERIFY(question());
        QVERIFY(question()->text().endsWith(QStringLiteral("This removes 3 records.")));
        question()->button(QMessageBox::Cancel)->click();
        QTRY_VERIFY(!question());
        QCOMPARE(stateOf(QStringLiteral("GX010001.MP4")), QStringLiteral("Imported"));
        // A store that refuses the delete: the window says why and the marks stay.
        QVERIFY(refuseHistoryDeletes(home->storeFile()));
        clear->trigger();
        QTRY_VERIFY(question());
        question()->findChild<QPushButton*>(QStringLiteral("confirmClear"))->click();
        QTRY_VERIFY(m_view->errorAlert());
        QVERIFY2(m_view->errorAlert()->text().contains(QStringLiteral("refused the write")),
                 qPrintable(m_view->errorAlert()->text()));
        m_view->errorAlert()->accept();
        QCOMPARE(stateOf(QStringLiteral("GX010001.MP4")), QStringLiteral("Imported"));
        QVERIFY(refuseHistoryDeletes(home->storeFile(), false));
        clear->trigger();
        QTRY_VERIFY(question());
        question()->findChild<QPushButton*>(QStringLiteral("confirmClear"))->click();
        QTRY_COMPARE(stateOf(QStringLiteral("GX010001.MP4")), QStringLiteral("New"));
        QTRY_COMPARE(stateOf(QStringLiteral("GX010003.MP4")), QStringLiteral("New"));
    }

    // velarix-cli importing the card shown: the marks and the jump number follow without a click.
    void followsAnImportByTheCommandLine() {
        // The settings file velarix-cli uses, shared as in the application.
        model.reset();
        QFile::remove(AppPaths::settingsFile());
        settings = std::make_unique<Settings>(AppPaths::settingsFile());
        model = std::make_unique<VelarixModel>(*settings);
        model->setFolderOpener([](const QString&) {});
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        QTRY_VERIFY(!model->isLoadingVideos());
        auto* jump = m_view->form()->findChild<QSpinBox*>(QStringLiteral("jumpNumber"));
        QVERIFY(jump);
        jump->setValue(40);
        QCOMPARE(model->jumpNumber(), 40);

        // Clips an hour apart: two jumps, so the counter moves on by two.
        const auto run =
            runCli({QStringLiteral("import"), QStringLiteral("--dest"), home->path(QStringLiteral("out")),
                    QStringLiteral("GX010001.MP4"), QStringLiteral("GX010002.MP4")});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QTRY_COMPARE(stateOf(QStringLiteral("GX010001.MP4")), QStringLiteral("Imported"));
        QTRY_COMPARE(jump->value(), 42);
        QCOMPARE(model->jumpNumber(), 42);
        QCOMPARE(stateOf(QStringLiteral("GX010003.MP4")), QStringLiteral("New"));

        // The window's own change still goes to the file, and is not undone by the next read.
        jump->setValue(50);
        QTest::qWait(500);
        QCOMPARE(model->jumpNumber(), 50);
        QCOMPARE(Settings(AppPaths::settingsFile()).integerValue(SettingsKey::jumpNumber), 50);
    }

    void cancelButtonStopsTheImport() {
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        selectFiles(
            {QStringLiteral("GX010001.MP4"), QStringLiteral("GX010002.MP4"), QStringLiteral("GX010003.MP4")});
        m_view->importAction()->trigger();
        QPointer<ImportProgress> progress = model->importProgress();
        QVERIFY(progress);
        auto* cancel = m_view->form()->findChild<QToolButton*>(QStringLiteral("cancelImport"));
        QVERIFY(cancel && cancel->isVisible());
        cancel->click();
        QVERIFY(progress->isCancelled());
        QTRY_VERIFY_WITH_TIMEOUT(!model->importProgress(), 20000);
        // The copy loop stops at its next check: not all three copies can exist.
        int copied = 0;
        QDirIterator it(home->path(QStringLiteral("out")), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++copied;
        }
        QVERIFY(copied < 3);
        // A cancel is told as information, and no folder opens on an unfinished import.
        QTRY_VERIFY(m_view->errorAlert());
        QCOMPARE(m_view->errorAlert()->icon(), QMessageBox::Information);
        QVERIFY2(m_view->errorAlert()->text().startsWith(QStringLiteral("The import was cancelled")),
                 qPrintable(m_view->errorAlert()->text()));
        QVERIFY(m_opened.isEmpty());
    }

    // A blank pattern and a mistyped placeholder both block Import and say why.
    void patternsThatCannotBeUsedDisableImport() {
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        selectFiles({QStringLiteral("GX010001.MP4")});
        QVERIFY(m_view->importAction()->isEnabled());
        auto* problem = m_view->form()->findChild<QLabel*>(QStringLiteral("patternProblem"));
        QVERIFY(problem && problem->isHidden());
        const QList<std::pair<QString, QString>> bad = {
            {QStringLiteral(" / "), QStringLiteral("pattern is empty")},
            {QStringLiteral("{jump} {name} {jmp}"), QStringLiteral("{jmp} is not a placeholder")}};
        for (const auto& [pattern, reason] : bad) {
            model->setImportPattern(pattern);
            QVERIFY(!m_view->importAction()->isEnabled());
            QVERIFY(!problem->isHidden());
            QVERIFY2(problem->text().contains(reason), qPrintable(problem->text()));
            QCOMPARE(m_view->importAction()->toolTip(), problem->text());
        }
        model->setImportPattern(QStringLiteral("{filename}"));
        QVERIFY(m_view->importAction()->isEnabled());
        QVERIFY(problem->isHidden());
    }

    void placeholderMenuInsertsAndNamesFollow() {
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        VelarixFormView* form = m_view->form();
        PatternField* field = form->patternField();
        model->setImportPattern(QStringLiteral("{date}/"));
        QCOMPARE(field->pattern(), QStringLiteral("{date}/"));

        // The caret at the end: the token goes there.
        field->editor()->moveCursor(QTextCursor::End);
        const QList<QAction*> entries = form->insertPlaceholderMenu()->actions();
        QCOMPARE(entries.size(), 6);
        QCOMPARE(entries.at(3)->text(), QStringLiteral("{jump}: Jump number"));
        entries.at(3)->trigger();
        QCOMPARE(model->importPattern(), QStringLiteral("{date}/{jump}"));
        QCOMPARE(settings->stringValue(QStringLiteral("import.Single.pattern")),
                 QStringLiteral("{date}/{jump}"));
        QCOMPARE(field->pattern(), QStringLiteral("{date}/{jump}"));

        // No selection: no names. One selected: its planned name, changing at once.
        QVERIFY(form->filesView()->files().isEmpty());
        selectFiles({QStringLiteral("GX010002.MP4")});
        QCOMPARE(form->filesView()->files().size(), 1);
        const QString day = m_base.addSecs(3600).toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(form->filesView()->files().at(0).fileName, day + QStringLiteral("/1.MP4"));
        entries.at(5)->trigger(); // "/"
        entries.at(4)->trigger(); // "{filename}"
        QCOMPARE(form->filesView()->files().at(0).fileName, day + QStringLiteral("/1/GX010002.MP4"));

        // Typing in the field writes exactly what was typed, caret kept in the middle.
        field->editor()->setFocus();
        QTextCursor cursor = field->editor()->textCursor();
        cursor.setPosition(7);
        field->editor()->setTextCursor(cursor);
        QTest::keyClicks(field->editor(), QStringLiteral("x"));
        QCOMPARE(model->importPattern(), QStringLiteral("{date}/x{jump}/{filename}"));
        QCOMPARE(field->editor()->textCursor().position(), 8);
        QCOMPARE(form->filesView()->files().at(0).fileName, day + QStringLiteral("/x1/GX010002.MP4"));

        // A five-digit jump number shows without a thousands separator, and typing one sets it.
        auto* jump = form->findChild<QSpinBox*>(QStringLiteral("jumpNumber"));
        model->setJumpNumber(12345);
        QCOMPARE(jump->text(), QStringLiteral("12345"));
        jump->setValue(23456);
        QCOMPARE(model->jumpNumber(), 23456);
        QCOMPARE(form->filesView()->files().at(0).fileName, day + QStringLiteral("/x23456/GX010002.MP4"));

        // Emptied: the placeholder shows, and the model gets the empty text, not the placeholder.
        field->editor()->selectAll();
        QTest::keyClick(field->editor(), Qt::Key_Delete);
        QCOMPARE(model->importPattern(), QString());
        QCOMPARE(field->editor()->placeholderText(), QStringLiteral("{date}/{jump} {name}"));
    }

    void platesSitUnderTheTokens() {
        PatternField field;
        field.resize(400, field.sizeHint().height());
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        field.setPattern(QStringLiteral("\U0001F600 {date}x{JUMP}/{card}"));
        const QList<TokenRange> tokens = field.editor()->tokens();
        // UTF-16 offsets: the emoji is two units.
        // "/" and the unknown {card} stay plain text in a pattern.
        QCOMPARE(tokens.size(), 2);
        QCOMPARE(tokens.at(0), (TokenRange{3, 6, Placeholder::date}));
        QCOMPARE(tokens.at(1), (TokenRange{10, 6, Placeholder::jump}));

        // The plates sit where the glyphs are: measured independently with the font.
        const QList<QRectF> plates = field.editor()->plateRects();
        QCOMPARE(plates.size(), 2);
        const QFontMetricsF metrics(field.editor()->font());
        const QString text = field.pattern();
        const qreal origin = field.editor()->xForPosition(0);
        QVERIFY(qAbs(plates.at(0).left() + 1 - (origin + metrics.horizontalAdvance(text.left(3)))) < 1.5);
        QVERIFY(qAbs(plates.at(1).left() + 1 - (origin + metrics.horizontalAdvance(text.left(10)))) < 1.5);
        QVERIFY(qAbs(plates.at(0).width() - 2 - metrics.horizontalAdvance(QStringLiteral("{date}"))) < 1.5);

        // A token being typed gets its plate when it is complete.
        field.setPattern(QString());
        field.editor()->setFocus();
        QTest::keyClicks(field.editor(), QStringLiteral("{nam"));
        QVERIFY(field.editor()->tokens().isEmpty());
        QTest::keyClicks(field.editor(), QStringLiteral("e}"));
        QCOMPARE(field.editor()->tokens().size(), 1);
        QCOMPARE(field.editor()->plateRects().size(), 1);
    }

    void spaceAndThumbnailOpenThePreview() {
        home->insert(m_staged);
        openWindow();
        QTRY_COMPARE(model->videoFiles().size(), 3);
        QTableView* table = m_view->table()->tableView();
        table->setFocus();
        table->clearSelection();
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(!m_view->previewWindow());

        selectFiles({QStringLiteral("GX010001.MP4"), QStringLiteral("GX010003.MP4")});
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(m_view->previewWindow());
        const QString shown = QFileInfo(m_view->previewWindow()->path()).fileName();
        QVERIFY(shown == QStringLiteral("GX010001.MP4") || shown == QStringLiteral("GX010003.MP4"));
        QVERIFY(QTest::qWaitForWindowExposed(m_view->previewWindow()));
        QPointer<PreviewWindow> preview = m_view->previewWindow();
        QTest::keyClick(preview, Qt::Key_Escape);
        QTRY_VERIFY(preview.isNull());

        // A click on a ready thumbnail previews its video.
        const QModelIndex first = m_view->table()->tableModel()->index(0, VideoTableModel::thumbnailColumn);
        QTRY_COMPARE(first.data(VideoTableModel::ThumbnailStateRole).toInt(),
                     int(ThumbnailLoader::State::ready));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
        QVERIFY(m_view->previewWindow());
        QCOMPARE(m_view->previewWindow()->path(), m_view->table()->tableModel()->rowAt(0)->path());
    }

    void spaceLineTurnsRedWhenTheSelectionDoesNotFit() {
        openWindow();
        QTRY_COMPARE(m_view->content(), VelarixView::Content::empty);
        const QString clip = m_staged + QStringLiteral("/DCIM/100GOPRO/GX010001.MP4");
        // A row claiming a petabyte: no destination here holds that.
        const VideoFileRowPtr huge = VideoFileRowPtr::create(clip, m_base, 1'000'000'000'000'000LL);
        model->setVideoFiles({huge});
        QLabel* space = m_view->form()->spaceLabel();
        QVERIFY(space->text().endsWith(QStringLiteral(" available")));
        QVERIFY(space->property("fits").toBool());
        model->setSelection({model->videoFiles().first()->id()});
        QVERIFY(space->text().contains(QStringLiteral("not enough space")));
        QVERIFY(!space->property("fits").toBool());
        QCOMPARE(space->palette().color(QPalette::WindowText), toneColour(Tone::failure, space->palette()));
    }

    void errorsShowInAnAlert() {
        openWindow();
        model->setError(ApplicationError::userError(QStringLiteral("Cancelled")));
        QTRY_VERIFY(m_view->errorAlert());
        QCOMPARE(m_view->errorAlert()->text(), QStringLiteral("Cancelled"));
        m_view->errorAlert()->accept();
        QTRY_VERIFY(model->error().isEmpty());
        QVERIFY(!m_view->findChild<QFileDialog*>());

        // A destination that cannot be written: the alert offers another, and opens the chooser.
        model->setError(ApplicationError::userError(QStringLiteral("Velarix cannot write to the destination"),
                                                    ApplicationError::Recovery::changeDestination));
        QTRY_VERIFY(m_view->errorAlert());
        auto* change = m_view->errorAlert()->findChild<QPushButton*>(QStringLiteral("changeDestination"));
        QVERIFY(change);
        QCOMPARE(change->text(), QStringLiteral("Change Destination\u2026"));
        change->click();
        QTRY_VERIFY(model->error().isEmpty());
        QTRY_VERIFY(m_view->findChild<QFileDialog*>(QStringLiteral("folderChooser")));
    }
};

QTEST_MAIN(ImportWindowTest)
#include "test_import_window.moc"
