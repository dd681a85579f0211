#include "Velarix/importwindow/OutputFilesView.h"
#include "Velarix/importwindow/PatternField.h"
#include "Velarix/importwindow/VelarixFormView.h"
#include "tests/support/ImportWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>

using namespace velarix;
using namespace velarix::test;

// The options form on its own, over a model whose rows are set by hand: what it lists must always
// be what an import would write.
class ImportFormTest : public ImportWindowFixture {
    Q_OBJECT

private:
    std::unique_ptr<VelarixFormView> m_form;

    QStringList listedNames() const {
        QStringList names;
        for (const ResolvedOutputFile& file : m_form->filesView()->files())
            names << file.fileName;
        return names;
    }
    QStringList plannedNames() const {
        QStringList names;
        for (const ResolvedOutputFile& file : model->resolvedOutputFiles())
            names << file.fileName;
        return names;
    }

private Q_SLOTS:
    void init() {
        openModel();
        m_form = std::make_unique<VelarixFormView>(*model, *store);
        testModel(m_form->filesView()->model());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        closeModel();
    }

    void namesFollowArrivingDurations() {
        // Two 200 s clips 6 min 40 s apart: one jump once their durations are known, two before.
        const QDateTime start(QDate(2024, 5, 1), QTime(10, 0));
        auto first = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX01.MP4"), start, 1000);
        auto second =
            VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX02.MP4"), start.addSecs(400), 1000);
        model->setImportPattern(QStringLiteral("{jump} {filename}"));
        model->setJumpNumber(3);
        model->setVideoFiles({second, first});
        model->setSelection({first->id(), second->id()});
        QCOMPARE(listedNames(), (QStringList{QStringLiteral("3 GX01.MP4"), QStringLiteral("4 GX02.MP4")}));

        first->setDuration(200);
        second->setDuration(200);
        QCOMPARE(listedNames(), (QStringList{QStringLiteral("3 GX01.MP4"), QStringLiteral("3 GX02.MP4")}));
        QCOMPARE(listedNames(), plannedNames());
    }

    // A number from the jump log says where it came from, and the list follows the log.
    void aLoggedJumpShowsItsCard() {
        const QDateTime start(QDate(2024, 5, 1), QTime(10, 0));
        auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX01.MP4"), start.addSecs(300), 1000);
        model->setImportPattern(QStringLiteral("{jump} {filename}"));
        model->setJumpNumber(9);
        model->setVideoFiles({row});
        model->setSelection({row->id()});
        QCOMPARE(listedNames(), QStringList{QStringLiteral("9 GX01.MP4")});
        model->setCardHistory(
            {{}, {LoggedJump{start.date(), 4, start, start.addSecs(240), "CHEST", {"CHEST"}}}});
        QCOMPARE(listedNames(), QStringList{QStringLiteral("4 GX01.MP4")});
        const QAbstractItemModel* files = m_form->filesView()->model();
        QCOMPARE(files->index(0, 0).data().toString(), QStringLiteral("GX01.MP4 \u2014 jump 4, as on CHEST"));
        model->setAutogroupVideos(false);
        QCOMPARE(files->index(0, 0).data().toString(), QStringLiteral("GX01.MP4"));
        QCOMPARE(listedNames(), QStringList{QStringLiteral("9 GX01.MP4")});
    }

    void todayTurnsOverAtMidnight() {
        // A clock a moment before midnight: the list turns to the new day by itself.
        QElapsedTimer elapsed;
        elapsed.start();
        const QDateTime almostMidnight(QDate(2024, 5, 1), QTime(23, 59, 59, 700));
        model->setClock([=] { return almostMidnight.addMSecs(elapsed.elapsed()); });
        auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX01.MP4"), almostMidnight, 1000);
        model->setImportPattern(QStringLiteral("{today}/{filename}"));
        model->setVideoFiles({row});
        model->setSelection({row->id()});
        QCOMPARE(listedNames(), QStringList{QStringLiteral("2024-05-01/GX01.MP4")});
        QTRY_COMPARE_WITH_TIMEOUT(listedNames(), QStringList{QStringLiteral("2024-05-02/GX01.MP4")}, 3000);
        QCOMPARE(listedNames(), plannedNames());
    }

    void placeholderGoesToTheCaretAsOneUndoStep_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionEnd");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("expected");
        // Entries: 0 {date}, 1 {today}, 2 {name}, 3 {jump}, 4 {filename}, 5 "/".
        QTest::newRow("between words gets spaces") << "{date}{name}" << 6 << 6 << 3 << "{date} {jump} {name}";
        QTest::newRow("after a space needs none") << "{date} " << 7 << 7 << 4 << "{date} {filename}";
        QTest::newRow("after a folder separator") << "{date}/" << 7 << 7 << 3 << "{date}/{jump}";
        QTest::newRow("at the start") << "{name}" << 0 << 0 << 0 << "{date} {name}";
        QTest::newRow("separator is never spaced") << "{date}{jump}" << 6 << 6 << 5 << "{date}/{jump}";
        QTest::newRow("replaces the selection") << "{date}/{jmp} x" << 7 << 12 << 3 << "{date}/{jump} x";
    }
    void placeholderGoesToTheCaretAsOneUndoStep() {
        QFETCH(QString, pattern);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionEnd);
        QFETCH(int, entry);
        QFETCH(QString, expected);
        model->setImportPattern(pattern);
        PatternTextEdit* editor = m_form->patternField()->editor();
        editor->document()->clearUndoRedoStacks();
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(selectionStart);
        cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        m_form->insertPlaceholderMenu()->actions().at(entry)->trigger();
        QCOMPARE(model->importPattern(), expected);
        editor->undo();
        QCOMPARE(model->importPattern(), pattern);
    }

    // A placeholder chosen from the menu leaves the caret in the field: the next key types there
    // instead of being lost on the menu's button.
    void typingGoesOnAfterInsertPlaceholder() {
        model->setImportPattern(QStringLiteral("{date}"));
        auto* button = m_form->findChild<QPushButton*>(QStringLiteral("insertPlaceholder"));
        QVERIFY(button);
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        button->setFocus();
        QTRY_VERIFY(button->hasFocus());
        m_form->insertPlaceholderMenu()->actions().at(1)->trigger(); // {today}
        QTRY_VERIFY(m_form->patternField()->editor()->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QCOMPARE(model->importPattern(), QStringLiteral("{date} {today}x"));
    }

    // The options are check boxes in plain sight, bound both ways.
    void optionsAreInSight() {
        for (const char* name : {"openFolderAferImport", "trimAfterImport", "autoIncrementJumpNumber",
                                 "autogroupVideos", "joinChapters"}) {
            auto* box = m_form->findChild<QCheckBox*>(QLatin1String(name));
            QVERIFY2(box && box->isVisible(), name);
        }
        auto* trim = m_form->findChild<QCheckBox*>(QStringLiteral("trimAfterImport"));
        trim->click();
        QCOMPARE(model->trimAfterImport(), trim->isChecked());
        model->setAutogroupVideos(!model->autogroupVideos());
        QCOMPARE(m_form->findChild<QCheckBox*>(QStringLiteral("autogroupVideos"))->isChecked(),
                 model->autogroupVideos());
    }

    void unknownPlaceholderIsMarkedWithAHint() {
        model->setImportPattern(QStringLiteral("{date}/{jmp} {name}"));
        PatternTextEdit* editor = m_form->patternField()->editor();
        QCOMPARE(editor->unknownTokens(), (QList<PatternRange>{{7, 5}}));
        const QRectF plate = editor->unknownRects().at(0);
        // The plate covers the typo, and its tooltip names the real placeholders.
        QVERIFY(plate.left() < editor->xForPosition(7) && plate.right() > editor->xForPosition(12));
        const QString tip = editor->toolTipAt(plate.center().toPoint());
        QVERIFY(tip.startsWith(QStringLiteral("{jmp} is not a placeholder")));
        for (const char* valid : {"{date}", "{today}", "{name}", "{jump}", "{filename}"})
            QVERIFY2(tip.contains(QLatin1String(valid)), valid);
        QVERIFY(editor->toolTipAt(QPoint(int(editor->xForPosition(1)), int(plate.center().y()))).isEmpty());
        // Mended, the mark goes.
        model->setImportPattern(QStringLiteral("{date}/{jump} {name}"));
        QVERIFY(editor->unknownTokens().isEmpty());
    }

    void fieldShowsTheDefaultPatternWhole() {
        m_form->resize(420, 700);
        PatternTextEdit* editor = m_form->patternField()->editor();
        model->setImportPattern(kDefaultImportPattern);
        QTRY_VERIFY(editor->width() > 0);
        QVERIFY(editor->xForPosition(int(kDefaultImportPattern.size())) < editor->viewport()->width());
        // More room for the form widens the field.
        const int before = editor->width();
        m_form->resize(640, 700);
        QTRY_VERIFY(editor->width() > before + 100);
    }
};

QTEST_MAIN(ImportFormTest)
#include "test_import_form.moc"
