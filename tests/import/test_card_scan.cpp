#include "core/Await.h"
#include "desktop/Volumes.h"
#include "import/CardIdentity.h"
#include "import/CardLoad.h"
#include "import/CardScan.h"
#include "import/RecordingStatus.h"
#include "tests/support/ModelFixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>

using namespace velarix;
using namespace velarix::test;

namespace {

// The system's volumes, with the identity replaced where a test needs a card without UUID or one
// whose identity cannot be read.
class IdentityOverride : public SystemVolumes {
public:
    std::optional<Result<std::optional<QString>>> uuid;
    Result<std::optional<QString>> volumeUUID(const QString& volume) const override {
        return uuid ? *uuid : SystemVolumes::volumeUUID(volume);
    }
};

QDateTime at(int h, int m) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m));
}

} // namespace

class CardScanTest : public ModelFixture {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        home = std::make_unique<CardFixture>();
        openModel();
    }
    void cleanup() { closeModel(); }

    void findsTheFirstCardInNameOrder() {
        FakeCard notACard(home->volumes(), "A-dcim-is-a-file", false);
        QFile(notACard.root() + "/DCIM").open(QIODevice::WriteOnly);
        FakeCard linked(home->volumes(), "B-dcim-is-a-link", false);
        FakeCard second(home->volumes(), "D-second");
        FakeCard first(home->volumes(), "C-first");
        QVERIFY(QFile::link(first.dcim(), linked.root() + "/DCIM"));
        auto found = findSDCardVolume(*model->volumeProvider());
        QVERIFY(found.ok());
        QCOMPARE(found->value_or(QString()), first.root());
    }

    void listsVideosNewestFirstWithDurations() {
        FakeCard sdCard(home->volumes(), "CARD");
        sdCard.addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        sdCard.addVideo("100GOPRO/GX010002.MP4", 2, at(10, 2));
        sdCard.addVideo("101GOPRO/spaced name %.mp4", 3, at(11, 0));
        sdCard.addVideo("101GOPRO/Sprung 360.360", 1, at(9, 0));
        sdCard.addFile("100GOPRO/GX010001.LRV", "proxy");
        sdCard.addFile("100GOPRO/.hidden.MP4", sampleVideo(1));
        sdCard.addFile("100GOPRO/GOPR0001.JPG", "jpeg");
        sdCard.addFile(".Trashes/GX.MP4", sampleVideo(1));
        QFile::link(sdCard.dcim() + "/100GOPRO/GX010001.MP4", sdCard.dcim() + "/linked.MP4");
        QFile::link(home->path(), sdCard.dcim() + "/linked-folder");

        auto loaded = awaitFuture(model->refreshSDCard(*store));
        QVERIFY2(loaded.ok(), qPrintable(loaded.ok() ? QString() : loaded.error().message));
        QCOMPARE(model->sdCardPath(), std::optional(sdCard.root()));
        QCOMPARE(model->sdCardName(), QStringLiteral("CARD"));
        QCOMPARE(model->sdCardVolumeUUID(), std::optional(folderUUID(sdCard.root())));
        QVERIFY(model->sdCardSpaceAvailable() > 0);
        QVERIFY(!model->isLoadingVideos());

        QStringList names;
        QList<double> durations;
        for (const auto& row : model->videoFiles()) {
            names.append(row->fileName());
            durations.append(qRound(row->duration() * 10) / 10.0);
        }
        QCOMPARE(names, (QStringList{"spaced name %.mp4", "GX010002.MP4", "GX010001.MP4", "Sprung 360.360"}));
        QCOMPARE(durations, (QList<double>{3, 2, 1, 1}));
        QCOMPARE(model->videoFiles()[0]->id(),
                 sdCard.dcim().replace(" ", "%20") + "/101GOPRO/spaced%20name%20%25.mp4");
        QCOMPARE(model->videoFiles()[1]->created(), at(10, 2));

        // Only the rows asked for are opened for their durations.
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store, [](const VideoFileRow& row) {
                    return row.fileName() == "GX010002.MP4";
                })).ok());
        durations.clear();
        for (const auto& row : model->videoFiles())
            durations.append(qRound(row->duration() * 10) / 10.0);
        QCOMPARE(durations, (QList<double>{0, 2, 0, 0}));
    }

    // Each folder is closed before the walk descends: a deep card needs no descriptor per level.
    void deepFoldersNeedFewDescriptors() {
        FakeCard sdCard(home->volumes(), "DEEP");
        QString folder = "100GOPRO";
        for (int level = 0; level < 60; ++level)
            folder += QStringLiteral("/%1").arg(level);
        sdCard.addFile(folder + "/GX010001.MP4", "not a real video", at(10, 0));
        sdCard.addFile("100GOPRO/GX010002.MP4", "not a real video", at(10, 1));
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        int open = 0;
        for (int fd = 0; fd < 1024; ++fd)
            open += ::fcntl(fd, F_GETFD) != -1 ? 1 : 0;
        rlimit tight = saved;
        tight.rlim_cur = rlim_t(open + 30); // far fewer than the 60 levels
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &tight), 0);
        auto found = scanVideoFiles(sdCard.root(), {});
        ::setrlimit(RLIMIT_NOFILE, &saved);
        QVERIFY2(found.ok(), qPrintable(found.ok() ? QString() : found.error().message));
        QCOMPARE(found->size(), 2);
        QVERIFY(found->at(0).path.endsWith("/59/GX010001.MP4"));
    }

    void reportsProgressAndKeepsTheSelection() {
        FakeCard sdCard(home->volumes(), "CARD");
        for (int i = 0; i < 25; ++i)
            sdCard.addFile(QString("100GOPRO/GX%1.MP4").arg(i, 4, 10, QChar('0')), "not a real video",
                           at(10, i));
        QList<qint64> counts;
        connect(model.get(), &VelarixModel::videoFilesDiscoveredCountChanged, this,
                [&] { counts.append(model->videoFilesDiscoveredCount()); });
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(counts, (QList<qint64>{1, 11, 21, 25, 0}));
        // Unreadable media: duration 0, no error.
        QCOMPARE(model->videoFiles()[0]->duration(), 0.0);

        const QString kept = model->videoFiles()[3]->id();
        model->setSelection({kept, "/gone.MP4"});
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->selection(), QSet<QString>{kept});
    }

    void aNewerScanWins() {
        FakeCard big(home->volumes(), "BIG");
        for (int i = 0; i < 200; ++i)
            big.addFile(QString("100GOPRO/F%1.MP4").arg(i), "x");
        FakeCard small(home->volumes(), "SMALL");
        small.addVideo("100GOPRO/ONE.MP4", 1, at(10, 0));
        auto first = model->loadSDCard(big.root(), *store);
        auto second = model->loadSDCard(small.root(), *store);
        QVERIFY(awaitFuture(second).ok());
        QVERIFY(awaitFuture(first).ok());
        QCoreApplication::processEvents();
        QCOMPARE(model->videoFiles().size(), 1);
        QCOMPARE(model->videoFiles()[0]->fileName(), QStringLiteral("ONE.MP4"));
        QVERIFY(!model->isLoadingVideos());
        QCOMPARE(model->sdCardPath(), std::optional(small.root()));
    }

    // A load replaced by a newer one stops reading the files of its card: of 1,000 durations, only
    // those already being read are finished, and the old load ends well within a second.
    void aReplacedLoadStopsReadingItsCard() {
        FakeCard big(home->volumes(), "BIG");
        for (int i = 0; i < 1000; ++i)
            big.addFile(QString("100GOPRO/F%1.MP4").arg(i, 4, 10, QChar('0')), "x");
        FakeCard small(home->volumes(), "SMALL");
        small.addFile("100GOPRO/ONE.MP4", "x");
        std::atomic<int> bigProbes{0};
        model->setDurationProbe([&bigProbes, bigRoot = big.root()](const QString& path) {
            if (path.startsWith(bigRoot))
                ++bigProbes;
            // 1,000 files at this pace take seconds: a load that goes on cannot end within one.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return VideoProbe{60, std::nullopt};
        });
        auto first = model->loadSDCard(big.root(), *store);
        QTRY_VERIFY(bigProbes.load() > 0);
        const int atReplacement = bigProbes.load();
        auto second = model->loadSDCard(small.root(), *store);
        QTRY_VERIFY_WITH_TIMEOUT(first.isFinished(), 1000);
        QVERIFY(first.result().ok());
        QVERIFY2(bigProbes.load() - atReplacement <= CardLoad::kMaxDurationLoads,
                 qPrintable(QString::number(bigProbes.load() - atReplacement)));
        QVERIFY(awaitFuture(second).ok());
        QCOMPARE(model->videoFiles().size(), 1);
        QCOMPARE(model->videoFiles()[0]->duration(), 60.0);
    }

    void namesTheCard() {
        FakeCard sdCard(home->volumes(), "NO NAME");
        sdCard.addVideo("100GOPRO/A.MP4", 1, at(10, 0));
        QVERIFY(store->insertCard(folderUUID(sdCard.root()), "Tandem").ok());
        QVERIFY(store->save().ok());
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->sdCardName(), QStringLiteral("Tandem"));
        QFile manifest(sdCard.root() + "/.velarix");
        QVERIFY(manifest.open(QIODevice::WriteOnly));
        manifest.write("{\"name\":\"\"}");
        manifest.close();
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->sdCardName(), QString());
    }

    void cardsWithoutOrWithBrokenIdentity() {
        FakeCard sdCard(home->volumes(), "CARD");
        sdCard.addVideo("100GOPRO/A.MP4", 1, at(10, 0));
        auto volumes = std::make_shared<IdentityOverride>();
        model->setVolumeProvider(volumes);
        volumes->uuid = Result<std::optional<QString>>(std::optional<QString>());
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->sdCardVolumeUUID(), std::nullopt);
        QCOMPARE(model->sdCardName(), QStringLiteral("CARD"));
        QCOMPARE(model->videoFiles().size(), 1);

        // Unreadable: the card still loads under the fallback key, and the user is told why, once.
        volumes->uuid = Result<std::optional<QString>>(Error::make("Volumes", 5, "Permission denied"));
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->videoFiles().size(), 1);
        const QString byLabel = fallbackCardKey(sdCard.root(), std::nullopt).value();
        QCOMPARE(model->sdCardVolumeUUID(), std::optional(byLabel));
        QVERIFY(model->error().errorDescription().contains("could not read the identity of the card CARD"));
        QVERIFY(model->error().errorDescription().contains("Permission denied"));
        model->setError(ApplicationError::empty());
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QVERIFY(model->error().isEmpty());

        // An import writes the card's name into the manifest and keys its records by that name, the
        // key the next load reads: the copy is marked there.
        model->setOutputLocation(home->destination());
        model->setFolderOpener([](const QString&) {});
        model->setSdCardName("Tandem");
        model->setSelection({model->videoFiles().first()->id()});
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        QCOMPARE(report.imported.size(), 1);
        QVERIFY(!report.historyError);
        const QString byName = fallbackCardKey(sdCard.root(), QStringLiteral("Tandem")).value();
        QVERIFY(byName != byLabel);
        QVERIFY(awaitFuture(model->loadSDCard(sdCard.root(), *store)).ok());
        QCOMPARE(model->sdCardVolumeUUID(), std::optional(byName));
        QCOMPARE(recordingStatus(model->importState(*store), *model->videoFiles().first()),
                 ImportStatus::imported);
    }

    void removingTheCardClearsItButKeepsTheName() {
        FakeCard sdCard(home->volumes(), "CARD");
        sdCard.addVideo("100GOPRO/A.MP4", 1, at(10, 0));
        QVERIFY(awaitFuture(model->refreshSDCard(*store)).ok());
        QVERIFY(QDir(sdCard.root()).removeRecursively());
        QVERIFY(awaitFuture(model->refreshSDCard(*store)).ok());
        QCOMPARE(model->sdCardPath(), std::nullopt);
        QCOMPARE(model->sdCardVolumeUUID(), std::nullopt);
        QVERIFY(model->videoFiles().isEmpty());
        QCOMPARE(model->sdCardSpaceAvailable(), quint64(0));
        QCOMPARE(model->sdCardName(), QStringLiteral("CARD"));
    }
};

QTEST_GUILESS_MAIN(CardScanTest)
#include "test_card_scan.moc"
