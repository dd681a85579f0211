#include "desktop/AppPaths.h"
#include "desktop/Settings.h"
#include "import/VelarixModel.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

class VelarixModelTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("settings.json")); }
    void writeSettingsFile(const QJsonObject& object) {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(object).toJson());
    }
    QJsonObject readSettingsFile() {
        QFile file(settingsPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

private Q_SLOTS:
    void init() { QFile::remove(settingsPath()); }

    void freshInstallationUsesDefaults() {
        Settings settings(settingsPath());
        VelarixModel model(settings);
        QCOMPARE(model.outputLocation(), AppPaths::videosDirectory());
        QCOMPARE(model.jumpNumber(), 1);
        QCOMPARE(model.importPattern(), QStringLiteral("{date}/{jump} {name} {filename}"));
        QVERIFY(model.autoIncrementJumpNumber());
        QVERIFY(model.openFolderAferImport());
        QVERIFY(model.autogroupVideos());
        QVERIFY(model.menuBarExtra());
        QVERIFY(!model.trimAfterImport());
        QVERIFY(model.error().isEmpty());
        QVERIFY(!model.importProgress());
        QVERIFY(model.importStateRefreshID() != model.activeVideoLoadingToken());
        // The model's own background flag is written back once at construction, and nothing else is.
        const QJsonObject stored = readSettingsFile();
        QCOMPARE(stored.keys(), QStringList{QStringLiteral("import.menubarextra")});
        QCOMPARE(stored.value(QStringLiteral("import.menubarextra")), QJsonValue(true));
    }

    void wrongTypesCountAsAbsent() {
        writeSettingsFile({{QStringLiteral("import.Single.jump"), QStringLiteral("12")},
                           {QStringLiteral("import.Single.location"), 42},
                           {QStringLiteral("import.Single.pattern"), true},
                           {QStringLiteral("import.Single.autogroupVideos"), 0},
                           {QStringLiteral("import.Single.openFolderAferImport"), QStringLiteral("false")},
                           {QStringLiteral("import.Single.autoIncrementJumpNumber"), 3.5},
                           {QStringLiteral("import.menubarextra"), QStringLiteral("no")}});
        Settings settings(settingsPath());
        VelarixModel model(settings);
        QCOMPARE(model.jumpNumber(), 1);
        QCOMPARE(model.outputLocation(), AppPaths::videosDirectory());
        QCOMPARE(model.importPattern(), kDefaultImportPattern);
        QVERIFY(model.autogroupVideos());
        QVERIFY(model.openFolderAferImport());
        QVERIFY(model.autoIncrementJumpNumber());
        QVERIFY(model.menuBarExtra());
    }

    void assignmentsPersistIntoANewModel() {
        {
            Settings settings(settingsPath());
            VelarixModel model(settings);
            model.setJumpNumber(7);
            // Written at once, as an integer, before anything else happens.
            QCOMPARE(readSettingsFile().value(QStringLiteral("import.Single.jump")), QJsonValue(7));
            model.setOutputLocation(QStringLiteral("/tmp/jumps with spaces/ü"));
            model.setImportPattern(QStringLiteral("{jump}/{filename}"));
            model.setAutogroupVideos(false);
            model.setOpenFolderAferImport(false);
            model.setAutoIncrementJumpNumber(false);
            model.setMenuBarExtra(false);
            model.setTrimAfterImport(true);
        }
        Settings settings(settingsPath());
        VelarixModel model(settings);
        QCOMPARE(model.jumpNumber(), 7);
        QCOMPARE(model.outputLocation(), QStringLiteral("/tmp/jumps with spaces/ü"));
        QCOMPARE(model.importPattern(), QStringLiteral("{jump}/{filename}"));
        QVERIFY(!model.autogroupVideos());
        QVERIFY(!model.openFolderAferImport());
        QVERIFY(!model.autoIncrementJumpNumber());
        QVERIFY(!model.menuBarExtra());
        QVERIFY(model.trimAfterImport());
        // The shell's own key is separate and untouched by the model.
        QVERIFY(!readSettingsFile().contains(QStringLiteral("menuBarExtra")));
    }

    // velarix-cli moves the jump number on in the shared file: a followed file brings it to the model,
    // whether the file is replaced (QSettings' way) or rewritten in place, and also when another
    // QSettings of this process shares the file's cache and has read the change first.
    void jumpNumberFollowsTheFile() {
        Settings settings(settingsPath());
        VelarixModel model(settings);
        settings.followFile();
        model.setJumpNumber(5);
        QSignalSpy jump(&model, &VelarixModel::jumpNumberChanged);
        {
            Settings other(settingsPath());
            other.setValue(QStringLiteral("import.Single.jump"), 9);
        }
        QTRY_COMPARE(model.jumpNumber(), 9);
        QCOMPARE(jump.count(), 1);

        QJsonObject object = readSettingsFile();
        object.insert(QStringLiteral("import.Single.jump"), 11);
        writeSettingsFile(object);
        QTRY_COMPARE(model.jumpNumber(), 11);
        // The model's own change is not undone by the read its write sets off.
        model.setJumpNumber(12);
        QTest::qWait(500);
        QCOMPARE(model.jumpNumber(), 12);
        QCOMPARE(readSettingsFile().value(QStringLiteral("import.Single.jump")), QJsonValue(12));
        QCOMPARE(jump.count(), 3);
    }

    void equalAssignmentsDoNotNotify() {
        Settings settings(settingsPath());
        VelarixModel model(settings);
        QSignalSpy jump(&model, &VelarixModel::jumpNumberChanged);
        QSignalSpy name(&model, &VelarixModel::sdCardNameChanged);
        QSignalSpy selection(&model, &VelarixModel::selectionChanged);
        QSignalSpy path(&model, &VelarixModel::sdCardPathChanged);
        QSignalSpy error(&model, &VelarixModel::errorChanged);
        QSignalSpy loading(&model, &VelarixModel::videoLoadingChanged);

        model.setJumpNumber(1);
        model.setSdCardName(QString());
        model.setSelection({});
        model.setSdCardPath(std::nullopt);
        model.setError(ApplicationError::empty());
        model.setIsLoadingVideos(false);
        QCOMPARE(jump.count() + name.count() + selection.count() + path.count() + error.count() +
                     loading.count(),
                 0);

        model.setJumpNumber(2);
        model.setJumpNumber(2);
        model.setSdCardName(QStringLiteral("Tandem"));
        model.setSelection({QStringLiteral("/a")});
        model.setSelection({QStringLiteral("/a")});
        model.setSdCardPath(QStringLiteral("/media/x/CARD"));
        model.setError(ApplicationError::userError(QStringLiteral("Cancelled")));
        model.setError(ApplicationError::userError(QStringLiteral("Cancelled")));
        model.setError(ApplicationError::internalError(QStringLiteral("Cancelled")));
        QCOMPARE(jump.count(), 1);
        QCOMPARE(name.count(), 1);
        QCOMPARE(selection.count(), 1);
        QCOMPARE(path.count(), 1);
        QCOMPARE(error.count(), 2);
    }

    void loadingStatusTexts_data() {
        QTest::addColumn<bool>("loading");
        QTest::addColumn<VideoLoadingPhase>("phase");
        QTest::addColumn<qint64>("found");
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("status");
        QTest::addColumn<double>("fraction"); // -1: absent

        const auto scanning = VideoLoadingPhase::scanning;
        const auto details = VideoLoadingPhase::loadingMetadata;
        QTest::newRow("scanning, none found")
            << true << scanning << 0LL << 0LL << 0LL << QString::fromUtf8("Scanning SD card\u2026") << -1.0;
        QTest::newRow("scanning, 23 found")
            << true << scanning << 23LL << 0LL << 0LL
            << QString::fromUtf8("Scanning SD card\u2026 23 videos found") << -1.0;
        QTest::newRow("loading details") << true << details << 40LL << 3LL << 40LL
                                         << QString::fromUtf8("Loading video details\u2026 3 of 40") << 0.075;
        QTest::newRow("loading details, no total")
            << true << details << 0LL << 0LL << 0LL << QString::fromUtf8("Loading video details\u2026 0 of 0")
            << -1.0;
        QTest::newRow("not loading hides the text")
            << false << details << 40LL << 3LL << 40LL << QString() << 0.075;
        QTest::newRow("idle") << true << VideoLoadingPhase::idle << 5LL << 0LL << 0LL << QString() << -1.0;
    }

    void loadingStatusTexts() {
        QFETCH(bool, loading);
        QFETCH(VideoLoadingPhase, phase);
        QFETCH(qint64, found);
        QFETCH(qint64, current);
        QFETCH(qint64, total);
        QFETCH(QString, status);
        QFETCH(double, fraction);
        Settings settings(settingsPath());
        VelarixModel model(settings);
        model.setIsLoadingVideos(loading);
        model.setVideoLoadingPhase(phase);
        model.setVideoFilesDiscoveredCount(found);
        model.setVideoLoadingCurrent(current);
        model.setVideoLoadingTotal(total);
        QCOMPARE(model.videoLoadingStatus().value_or(QString()), status);
        QCOMPARE(model.videoLoadingStatus().has_value(), !status.isNull());
        QCOMPARE(model.videoLoadingFraction().has_value(), fraction >= 0);
        if (fraction >= 0)
            QCOMPARE(*model.videoLoadingFraction(), fraction);
    }

    void selectedVideoFilesKeepListOrder() {
        Settings settings(settingsPath());
        VelarixModel model(settings);
        const QDateTime now = QDateTime::currentDateTime();
        VideoFileList rows;
        for (const char* name : {"/card/DCIM/C.MP4", "/card/DCIM/A B.MP4", "/card/DCIM/B.MP4"})
            rows.append(VideoFileRowPtr::create(QString::fromUtf8(name), now, 10));
        model.setVideoFiles(rows);
        QCOMPARE(rows[1]->id(), QStringLiteral("/card/DCIM/A%20B.MP4"));
        model.setSelection({rows[2]->id(), rows[0]->id(), QStringLiteral("/gone.MP4")});
        const VideoFileList selected = model.selectedVideoFiles();
        QCOMPARE(selected.size(), 2);
        QCOMPARE(selected[0], rows[0]);
        QCOMPARE(selected[1], rows[2]);
    }

    void errorDescriptions() {
        QCOMPARE(ApplicationError::empty().errorDescription(), QStringLiteral("Not an error"));
        QCOMPARE(ApplicationError::userError(QStringLiteral("Cancelled")).errorDescription(),
                 QStringLiteral("Cancelled"));
        QVERIFY(ApplicationError::userError(QStringLiteral("x")) !=
                ApplicationError::internalError(QStringLiteral("x")));
    }

    void xdgVariablesMoveTheFiles() {
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        const QByteArray oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        QCOMPARE(AppPaths::settingsFile(),
                 m_dir.filePath(QStringLiteral("config/app.tarnwick.Velarix/settings.json")));
        QCOMPARE(AppPaths::storeFile(),
                 m_dir.filePath(QStringLiteral("data/app.tarnwick.Velarix/default.store")));
        qputenv("XDG_CONFIG_HOME", oldConfig);
        qputenv("XDG_DATA_HOME", oldData);
    }
};

QTEST_GUILESS_MAIN(VelarixModelTest)
#include "test_velarix_model.moc"
