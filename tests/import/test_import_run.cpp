#include "core/Await.h"
#include "desktop/Volumes.h"
#include "history/ImportState.h"
#include "import/CardImportLock.h"
#include "import/CardManifest.h"
#include "storage/FileStatus.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>

#include <sys/mount.h>

using namespace velarix;
using namespace velarix::test;

namespace {

class FreeSpaceOverride : public SystemVolumes {
public:
    std::optional<quint64> free;
    std::optional<quint64> freeSpace(const QString& path) const override {
        return free ? free : SystemVolumes::freeSpace(path);
    }
};

QDateTime at(int h, int m) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m));
}

QByteArray randomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// Every file below a folder, relative, hidden ones included.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace

class ImportRunTest : public ModelFixture {
    Q_OBJECT

    QStringList opened;

    void loadAndSelectAll() {
        QVERIFY(awaitFuture(model->loadSDCard(card->root(), *store)).ok());
        QSet<QString> all;
        for (const auto& row : model->videoFiles())
            all.insert(row->id());
        model->setSelection(all);
    }

    QStringList importedNames() {
        QStringList names;
        const auto records = store->fetchImportHistory(folderUUID(card->root()));
        for (const auto& record : records.value())
            names.append(record.fileName);
        names.sort();
        return names;
    }

    QString readManifestName() { return readManifest(card->root()).value_or(QString()); }

private Q_SLOTS:
    void init() {
        freshCard();
        openModel();
        model->setOutputLocation(home->destination());
        opened.clear();
        model->setFolderOpener([this](const QString& folder) { opened.append(folder); });
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        card->addVideo("100GOPRO/GX010002.MP4", 2, at(10, 3));
        card->addVideo("101GOPRO/GX010003.MP4", 1, at(11, 0));
        model->setJumpNumber(12);
    }
    void cleanup() {
        closeModel();
        card.reset();
    }

    void importsByThePlanAndRecordsIt() {
        loadAndSelectAll();
        model->setSdCardName("Tandem");
        const QUuid refresh = model->importStateRefreshID();
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 3);
        QVERIFY(report.failed.isEmpty());
        QVERIFY(model->error().isEmpty());
        QCOMPARE(model->importProgress(), nullptr);
        QCOMPARE(filesBelow(home->destination()),
                 (QStringList{"2024-05-01/12 Tandem GX010001.MP4", "2024-05-01/12 Tandem GX010002.MP4",
                              "2024-05-01/13 Tandem GX010003.MP4"}));
        const QString copy = home->destination() + "/2024-05-01/12 Tandem GX010002.MP4";
        QCOMPARE(readFile(copy), sampleVideo(2));
        QCOMPARE(fileStatus(copy)->modified, at(10, 3));
        QCOMPARE(opened, QStringList{home->destination() + "/2024-05-01"});

        QCOMPARE(importedNames(), (QStringList{"GX010001.MP4", "GX010002.MP4", "GX010003.MP4"}));
        QCOMPARE(store->fetchCard(folderUUID(card->root())).value()->name, QStringLiteral("Tandem"));
        QCOMPARE(readFile(card->root() + "/.velarix"), QByteArray("{\"name\":\"Tandem\"}"));
        QVERIFY(model->importStateRefreshID() != refresh);
        QCOMPARE(model->jumpNumber(), 14);
        QVERIFY(model->selection().isEmpty());

        // A new clip after a rescan: the old ones are imported, the new one is new.
        card->addVideo("101GOPRO/GX010004.MP4", 1, at(12, 0));
        card->addVideo("100GOPRO/GX000099.MP4", 1, at(9, 0));
        QVERIFY(awaitFuture(model->loadSDCard(card->root(), *store)).ok());
        QCOMPARE(model->sdCardName(), QStringLiteral("Tandem"));
        ImportState state;
        state.refresh(*store, model->sdCardVolumeUUID(), importStateVideos(model->videoFiles()));
        QStringList marks;
        for (const auto& video : importStateVideos(model->videoFiles()))
            marks.append(QString::number(int(state.status(video))));
        QCOMPARE(marks, (QStringList{"1", "0", "0", "0", "2"}));

        // Importing again never overwrites; clearing forgets this card only.
        QVERIFY(store->insertImportHistory("GX010001.MP4", "OTHER-CARD", QDateTime::currentDateTime()).ok());
        QVERIFY(store->save().ok());
        model->setJumpNumber(12);
        model->setSelection({model->videoFiles()[2]->id()});
        QCOMPARE(awaitFuture(model->importSelectedVideos(*store)).imported.value(0).destination,
                 home->destination() + "/2024-05-01/12 Tandem GX010002 - 1.MP4");
        QVERIFY(awaitFuture(model->clearImportHistory(*store)).ok());
        QVERIFY(importedNames().isEmpty());
        const auto other = store->fetchImportHistory("OTHER-CARD");
        QCOMPARE(other.value().size(), 1);
        state.refresh(*store, model->sdCardVolumeUUID(), importStateVideos(model->videoFiles()));
        QCOMPARE(state.recordCount(), 0);
        QCOMPARE(state.status(importStateVideos(model->videoFiles())[2]), ImportStatus::newVideo);
    }

    void takesTheFirstFreeName() {
        loadAndSelectAll();
        model->setImportPattern("A");
        model->setSelection({model->videoFiles().last()->id()});
        QDir().mkpath(home->destination());
        QFile(home->destination() + "/A.MP4").open(QIODevice::WriteOnly);
        QFile a1(home->destination() + "/A - 1.MP4");
        QVERIFY(a1.open(QIODevice::WriteOnly));
        a1.write("keep me");
        a1.close();
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.value(0).destination, home->destination() + "/A - 2.MP4");
        QCOMPARE(readFile(home->destination() + "/A - 1.MP4"), QByteArray("keep me"));
        QCOMPARE(filesBelow(home->destination()), (QStringList{"A - 1.MP4", "A - 2.MP4", "A.MP4"}));
        QCOMPARE(opened, QStringList{home->destination()});

        // The numbering stops somewhere, with a reason rather than a search without end.
        for (int n = 3; n <= 9999; ++n)
            QFile(home->destination() + QStringLiteral("/A - %1.MP4").arg(n)).open(QIODevice::WriteOnly);
        // Imported rows leave the selection: importing the clip again is chosen on purpose.
        model->setSelection({model->videoFiles().last()->id()});
        const ImportReport full = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(full.failed.size(), 1);
        QVERIFY2(full.failed[0].error.startsWith("No free name for A.MP4"), qPrintable(full.failed[0].error));
        QCOMPARE(filesBelow(home->destination()).size(), 10000);
    }

    // Progress is told in bytes: copying, then reading back (the phase shown when nothing else runs).
    void progressInBytes() {
        card = std::make_unique<FakeCard>(home->volumes(), "BYTES");
        card->addFile("100GOPRO/A.MP4", randomBytes(9 * 1024 * 1024), at(10, 0));
        card->addFile("100GOPRO/B.MP4", randomBytes(6 * 1024 * 1024), at(10, 5));
        const qint64 total = 15 * 1024 * 1024;
        for (const bool verify : {true, false}) {
            loadAndSelectAll();
            model->setImportPattern(verify ? "verified/{filename}" : "unverified/{filename}");
            struct Seen {
                ImportProgress::Phase phase;
                QString file;
                qint64 copied, verified;
                double fraction;
                QString text;
            };
            QList<Seen> seen;
            connect(model.get(), &VelarixModel::importProgressChanged, this, [&] {
                if (ImportProgress* progress = model->importProgress())
                    connect(progress, &ImportProgress::changed, this, [&, progress] {
                        seen.append({progress->phase(), progress->currentFileName(), progress->copiedBytes(),
                                     progress->verifiedBytes(), progress->fractionCompleted(),
                                     progress->statusText()});
                    });
            });
            ImportOptions options;
            options.verify = verify;
            const ImportReport report = awaitFuture(model->importSelectedVideos(*store, options));
            disconnect(model.get(), &VelarixModel::importProgressChanged, this, nullptr);
            QCOMPARE(report.imported.size(), 2);
            for (const QString& name : {QStringLiteral("A.MP4"), QStringLiteral("B.MP4")}) {
                QFile copy(home->destination() + (verify ? "/verified/" : "/unverified/") + name);
                QFile original(card->dcim() + "/100GOPRO/" + name);
                QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
                QVERIFY2(copy.readAll() == original.readAll(), qPrintable(name));
            }
            QVERIFY(!seen.isEmpty());
            for (qsizetype i = 1; i < seen.size(); ++i) {
                QVERIFY(seen[i].copied >= seen[i - 1].copied);
                QVERIFY(seen[i].fraction >= seen[i - 1].fraction);
            }
            QCOMPARE(seen.last().copied, total);
            QCOMPARE(seen.last().fraction, 1.0);
            QVERIFY(std::any_of(seen.begin(), seen.end(), [](const Seen& s) {
                return s.file == "B.MP4" && s.text.startsWith("Copying B.MP4 (2 of 2)");
            }));
            // The number shown is the named file's, whichever of the two overlapping stages it is in.
            for (const Seen& s : std::as_const(seen)) {
                if (s.file.isEmpty())
                    continue;
                const QString number = s.file == "A.MP4" ? "(1 of 2)" : "(2 of 2)";
                QVERIFY2(s.text.contains(s.file + ' ' + number), qPrintable(s.text));
            }
            const auto verifying = std::find_if(seen.begin(), seen.end(), [](const Seen& s) {
                return s.phase == ImportProgress::Phase::verifying;
            });
            if (!verify) {
                QVERIFY(verifying == seen.end());
                QCOMPARE(seen.last().verified, 0);
                continue;
            }
            QCOMPARE(seen.last().verified, total);
            // The last file is read back while nothing is copied any more.
            QVERIFY(verifying != seen.end());
            QVERIFY2(verifying->text.startsWith("Verifying "), qPrintable(verifying->text));
            QVERIFY(std::any_of(seen.begin(), seen.end(), [](const Seen& s) {
                return s.phase == ImportProgress::Phase::verifying && s.file == "B.MP4";
            }));
        }
    }

    // Cancelling stops the read-back as well: that copy is neither kept nor recorded.
    void cancellingStopsTheReadBack() {
        card = std::make_unique<FakeCard>(home->volumes(), "READBACK");
        card->addFile("100GOPRO/A.MP4", randomBytes(12 * 1024 * 1024), at(10, 0));
        loadAndSelectAll();
        connect(model.get(), &VelarixModel::importProgressChanged, this, [this] {
            if (ImportProgress* progress = model->importProgress())
                connect(progress, &ImportProgress::changed, this, [progress] {
                    if (progress->phase() == ImportProgress::Phase::verifying &&
                        progress->verifiedBytes() > 0)
                        progress->cancel();
                });
        });
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        disconnect(model.get(), &VelarixModel::importProgressChanged, this, nullptr);
        QVERIFY(report.cancelled);
        QVERIFY(report.imported.isEmpty());
        QCOMPARE(report.failed.size(), 1);
        QVERIFY(filesBelow(home->destination()).isEmpty());
        QVERIFY(importedNames().isEmpty());
    }

    void oddNamesSurvive() {
        const QString odd = QString::fromUtf8("Spr\xc3\xbcnge 100%\nzwei.MP4");
        card->addVideo("100GOPRO/" + odd, 1, at(9, 0));
        loadAndSelectAll();
        model->setImportPattern("{name}/{filename}");
        model->setSdCardName(QString::fromUtf8("K\xc3\xa4rtchen %s"));
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 4);
        const QString copy = home->destination() + QString::fromUtf8("/K\xc3\xa4rtchen %s/") + odd;
        QCOMPARE(readFile(copy), sampleVideo(1));
        QVERIFY(importedNames().contains(odd));
        QCOMPARE(readManifestName(), model->sdCardName());
    }

    void failedCopiesAreShownAndNotRecorded() {
        card->addFile("100GOPRO/EMPTY.MP4", QByteArray(), at(10, 1));
        loadAndSelectAll();
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 3);
        QCOMPARE(report.failed.size(), 1);
        QCOMPARE(report.failed[0].error, QStringLiteral("Invalid file size"));
        // The alert names the file and the full path it was going to.
        const QString alert = model->error().errorDescription();
        QVERIFY2(alert.startsWith("1 of 4 videos could not be imported. EMPTY.MP4 could not be copied to " +
                                  home->destination() + "/"),
                 qPrintable(alert));
        QVERIFY(alert.endsWith(" EMPTY.MP4: Invalid file size"));
        QVERIFY(!importedNames().contains("EMPTY.MP4"));
        QCOMPARE(importedNames().size(), 3);
        // The failed one stays selected for another try; no folder opens on a run that failed.
        QCOMPARE(model->selectedVideoFiles().size(), 1);
        QCOMPARE(model->selectedVideoFiles().first()->fileName(), QStringLiteral("EMPTY.MP4"));
        QVERIFY(opened.isEmpty());
    }

    // The store file frozen under a running Velarix: the copies stay, and the run says it failed.
    void aHistoryThatCannotBeWrittenFailsTheRun() {
        loadAndSelectAll();
        const QString storeFile = home->storeFile();
        if (runProcess("chattr", {"+i", storeFile}).exitCode != 0)
            QSKIP("chattr cannot freeze files on this file system");
        auto thaw = qScopeGuard([&] { runProcess("chattr", {"-i", storeFile}); });
        const QUuid refresh = model->importStateRefreshID();
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        thaw.dismiss();
        runProcess("chattr", {"-i", storeFile});
        QCOMPARE(report.imported.size(), 3);
        QVERIFY(report.failed.isEmpty());
        QVERIFY(report.historyError);
        QVERIFY2(report.historyError->contains(storeFile), qPrintable(*report.historyError));
        QCOMPARE(model->error().kind(), ApplicationError::Kind::userError);
        QVERIFY(model->error().errorDescription().contains(storeFile));
        QCOMPARE(filesBelow(home->destination()).size(), 3);
        QVERIFY(importedNames().isEmpty());
        QCOMPARE(model->importStateRefreshID(), refresh);
        QVERIFY(opened.isEmpty());
    }

    // The window and velarix-cli share the card's lock: while one imports, the other copies nothing.
    void aCardBeingImportedElsewhereIsRefused() {
        loadAndSelectAll();
        auto held = lockCardForImport(model->sdCardVolumeUUID(), card->root());
        QVERIFY(held);
        ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QVERIFY(report.notStarted);
        QVERIFY(
            model->error().errorDescription().startsWith("Another import from this card is already running"));
        QVERIFY(folderEntries(home->destination()).isEmpty());
        held = Error{};
        report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 3);
    }

    void patternsThatCannotNameAFileCopyNothing() {
        loadAndSelectAll();
        model->setImportPattern(" \t/ ");
        QVERIFY(model->importPatternProblem());
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QVERIFY(report.notStarted);
        QCOMPARE(model->error(), ApplicationError::userError(*model->importPatternProblem()));
        QVERIFY(folderEntries(home->destination()).isEmpty());
    }

    // Files that are not whole videos are named, left out of Select All New, and still copied
    // when chosen one by one.
    void unreadableFilesAreNamedAndStillCopied() {
        const QString truncated =
            card->addFile("100GOPRO/GX010010.MP4", sampleVideo(2).left(3000), at(12, 0));
        card->addFile("100GOPRO/NOTES.MP4", "not a video", at(12, 1));
        card->addFile("100GOPRO/EMPTY.MP4", QByteArray(), at(12, 2));
        // 4 GiB that open as MPEG audio: FFmpeg guesses a length of weeks from the size.
        QByteArray frames;
        for (int i = 0; i < 64; ++i)
            frames += QByteArray("\xFF\xFB\x10\x00", 4) + QByteArray(100, '\0');
        QVERIFY(QFile::resize(card->addFile("100GOPRO/BOGUS.MP4", frames, at(12, 4)), qint64(4) << 30));
        // Index first (as some cameras write): the header opens, but its samples lie past the end.
        const QString faststart = home->path() + "/faststart.MP4";
        ClipRecipe indexedFirst;
        indexedFirst.seconds = 3;
        indexedFirst.headerFirst = true;
        QCOMPARE(makeClip(faststart, indexedFirst), QString());
        const QByteArray indexed = readFile(faststart);
        card->addFile("100GOPRO/GX010011.MP4", indexed.left(indexed.size() * 2 / 3), at(12, 3));
        loadAndSelectAll();
        QMap<QString, QString> unreadable;
        for (const auto& row : model->videoFiles()) {
            if (row->unreadableReason())
                unreadable.insert(row->fileName(), *row->unreadableReason());
        }
        QCOMPARE(unreadable.keys(),
                 (QStringList{"BOGUS.MP4", "EMPTY.MP4", "GX010010.MP4", "GX010011.MP4", "NOTES.MP4"}));
        QVERIFY2(unreadable["GX010011.MP4"].contains("cut short"), qPrintable(unreadable["GX010011.MP4"]));
        // No index at all (a flat battery): cut short, and the camera may mend it.
        QVERIFY2(unreadable["GX010010.MP4"].startsWith("The recording was cut short") &&
                     unreadable["GX010010.MP4"].contains("back in the camera"),
                 qPrintable(unreadable["GX010010.MP4"]));
        for (const auto& row : model->videoFiles())
            if (row->fileName() == "BOGUS.MP4")
                QCOMPARE(row->duration(), 0.0);
        QCOMPARE(unreadable["EMPTY.MP4"], QStringLiteral("The file is empty."));
        model->setSelection({model->videoFiles().last()->id()}); // GX010001, the oldest
        QCOMPARE(awaitFuture(model->importSelectedVideos(*store)).imported.size(), 1);
        model->selectAllNew(*store);
        QStringList selected;
        for (const auto& row : model->selectedVideoFiles())
            selected.append(row->fileName());
        selected.sort();
        QCOMPARE(selected, (QStringList{"GX010002.MP4", "GX010003.MP4"}));

        for (const auto& row : model->videoFiles()) {
            if (row->path() == truncated)
                model->setSelection({row->id()});
        }
        model->setImportPattern("{filename}");
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 1);
        QCOMPARE(readFile(report.imported[0].destination), readFile(truncated));
    }

    void notEnoughSpaceCopiesNothing() {
        auto volumes = std::make_shared<FreeSpaceOverride>();
        volumes->free = 1000;
        model->setVolumeProvider(volumes);
        loadAndSelectAll();
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QVERIFY(report.notStarted);
        QVERIFY(model->error().errorDescription().startsWith(
            QString("Not enough free space in %1: ").arg(home->destination())));
        QVERIFY(model->error().errorDescription().endsWith(" needed, 1.0 kB available."));
        QVERIFY(folderEntries(home->destination()).isEmpty());
        QVERIFY(importedNames().isEmpty());
    }

    // Both ways of copying: through our buffers (verified) and inside the kernel (unverified).
    void aCardPulledOutMidCopyLeavesNothing() {
        for (const bool verify : {true, false}) {
            const QString big = card->addFile("102GOPRO/BIG.MP4", randomBytes(5 * 1024 * 1024), at(13, 0));
            loadAndSelectAll();
            model->setImportPattern(verify ? "verified/{filename}" : "unverified/{filename}");
            ImportOptions options;
            options.verify = verify;
            options.afterChunk = [big](const QString& source, qint64) {
                if (source == big)
                    QFile::resize(big, 1024 * 1024);
            };
            const ImportReport report = awaitFuture(model->importSelectedVideos(*store, options));
            QCOMPARE(report.failed.size(), 1);
            QCOMPARE(report.failed[0].source, big);
            QVERIFY2(report.failed[0].error.contains("was the card removed?"),
                     qPrintable(report.failed[0].error));
            QCOMPARE(report.imported.size(), 3);
            QVERIFY(!importedNames().contains("BIG.MP4"));
        }
        QCOMPARE(filesBelow(home->destination()).size(), 6);
    }

    void aCorruptCopyFailsVerification() {
        card->addFile("102GOPRO/BIG.MP4", randomBytes(2 * 1024 * 1024), at(13, 0));
        loadAndSelectAll();
        model->setSelection({model->videoFiles().first()->id()});
        model->setImportPattern("{filename}");
        // Flip a byte of the hidden temporary file once it is fully written, before the read-back.
        ImportOptions options;
        const QString destination = home->destination();
        QDir().mkpath(destination);
        options.afterChunk = [destination](const QString&, qint64 copied) {
            if (copied < 2 * 1024 * 1024)
                return;
            for (const QString& name :
                 QDir(destination).entryList({".velarix-import-*"}, QDir::Files | QDir::Hidden)) {
                QFile file(destination + "/" + name);
                if (file.open(QIODevice::ReadWrite) && file.seek(5))
                    file.write("!");
            }
        };
        ImportReport report = awaitFuture(model->importSelectedVideos(*store, options));
        QCOMPARE(report.failed.size(), 1);
        QVERIFY(report.failed[0].error.contains("checksum mismatch"));
        QVERIFY(filesBelow(destination).isEmpty());
        options.verify = false;
        report = awaitFuture(model->importSelectedVideos(*store, options));
        QCOMPARE(report.imported.size(), 1);
    }

    void cancellingRemovesThePartialCopy() {
        card->addFile("102GOPRO/BIG.MP4", randomBytes(3 * 1024 * 1024), at(10, 30));
        loadAndSelectAll();
        ImportOptions options;
        VelarixModel* m = model.get();
        options.afterChunk = [m](const QString& source, qint64) {
            if (!source.endsWith("BIG.MP4"))
                return;
            // The file before is read back while this one is copied: cancel once it is done.
            for (qint64 done = 0; done < 2;) {
                QMetaObject::invokeMethod(
                    m, [m, &done] { done = m->importProgress()->completedUnitCount(); },
                    Qt::BlockingQueuedConnection);
                if (done < 2)
                    QThread::msleep(5);
            }
            QMetaObject::invokeMethod(
                m, [m] { m->importProgress()->cancel(); }, Qt::BlockingQueuedConnection);
        };
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store, options));
        QVERIFY(report.cancelled);
        // The message says what was kept, and where.
        QCOMPARE(model->error().errorDescription(),
                 QStringLiteral("The import was cancelled. The 2 videos copied and verified before that stay "
                                "in %1 and count as imported; the other 2 were not copied.")
                     .arg(QDir::toNativeSeparators(home->destination())));
        QVERIFY(model->error().isCancellation());
        QVERIFY(opened.isEmpty());
        // Oldest first: GX010001 and GX010002 were done, BIG was cut short, GX010003 never started.
        QCOMPARE(report.imported.size(), 2);
        QCOMPARE(filesBelow(home->destination()).size(), 2);
        QCOMPARE(importedNames(), (QStringList{"GX010001.MP4", "GX010002.MP4"}));
    }

    // Quitting mid-import deletes the model while a file is copied and the copy before it waits to be
    // recorded (the GUI thread handles no events meanwhile). The model stops the run, waits for it and
    // records every verified copy before it is gone; nothing touches freed memory (the ASan build).
    void deletingTheModelMidImportKeepsWhatIsVerified() {
        card->addFile("102GOPRO/BIG.MP4", randomBytes(16 * 1024 * 1024), at(10, 30));
        loadAndSelectAll();
        std::atomic<bool> bigStarted = false;
        ImportOptions options;
        options.afterChunk = [&bigStarted](const QString& source, qint64) {
            if (source.endsWith("BIG.MP4")) {
                bigStarted = true;
                QThread::msleep(50);
            }
        };
        const QFuture<ImportReport> run = model->importSelectedVideos(*store, options);
        QElapsedTimer waited;
        waited.start();
        while (!bigStarted && waited.elapsed() < 30'000)
            QThread::msleep(5);
        QVERIFY(bigStarted);
        QThread::msleep(300); // the copies before are verified meanwhile, and wait for their records
        model.reset();

        QVERIFY(run.isFinished());
        const ImportReport report = run.result();
        QVERIFY(report.cancelled);
        QStringList reported;
        for (const auto& file : report.imported)
            reported.append(QFileInfo(file.source).fileName());
        reported.sort();
        QVERIFY(!reported.contains("BIG.MP4"));
        QVERIFY(!reported.isEmpty());
        QCOMPARE(importedNames(), reported);
    }

    void destinationProblemsAreReported() {
        loadAndSelectAll();
        // A file where the destination folder should be: refused before anything is tried.
        QVERIFY(QDir(home->destination()).removeRecursively());
        QFile(home->destination()).open(QIODevice::WriteOnly);
        ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QVERIFY(report.notStarted);
        QCOMPARE(
            model->error().errorDescription(),
            QString("The destination %1 is not a folder. Choose another folder.").arg(home->destination()));
        QCOMPARE(model->error().recovery(), ApplicationError::Recovery::changeDestination);
        QVERIFY(importedNames().isEmpty());

        const QString readOnly = home->path() + "/readonly";
        QDir().mkpath(readOnly);
        if (::mount("tmpfs", QFile::encodeName(readOnly).constData(), "tmpfs", MS_RDONLY, "size=1m") != 0)
            QSKIP("cannot mount a tmpfs here");
        model->setOutputLocation(readOnly);
        report = awaitFuture(model->importSelectedVideos(*store));
        ::umount(QFile::encodeName(readOnly).constData());
        // Nothing is tried; the alert offers another destination.
        QVERIFY(report.notStarted);
        QVERIFY(report.failed.isEmpty());
        QVERIFY(model->error().errorDescription().contains("(Read-only file system)"));
        QCOMPARE(model->error().recovery(), ApplicationError::Recovery::changeDestination);

        // A destination that really fills up, where mounting is allowed.
        const QString small = home->path() + "/small";
        QDir().mkpath(small);
        QVERIFY(::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=16k") == 0);
        auto volumes = std::make_shared<FreeSpaceOverride>();
        volumes->free = quint64(1) << 40; // lie, so that the copy itself meets the full disk
        model->setVolumeProvider(volumes);
        model->setOutputLocation(small);
        model->setImportPattern("{filename}");
        report = awaitFuture(model->importSelectedVideos(*store));
        const QStringList left = filesBelow(small);
        ::umount(QFile::encodeName(small).constData());
        QVERIFY(!report.failed.isEmpty());
        QCOMPARE(report.failed[0].error, QStringLiteral("No space left on device"));
        QCOMPARE(left.size(), report.imported.size());
    }
};

QTEST_GUILESS_MAIN(ImportRunTest)
#include "test_import_run.moc"
