#include "history/HistoryStore.h"
#include "tests/support/TestSupport.h"

#include <QCryptographicHash>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

namespace {
QByteArray fileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Builds an SQLite file by hand, as another program or a newer Velarix would.
void makeDatabase(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const auto& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
}

qint64 pragma(const QString& path, const char* name) {
    qint64 value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) && query.next())
                value = query.value(0).toLongLong();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reader"));
    return value;
}

int columnCount(const QString& path, const char* table) {
    int count = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(table)));
            while (query.next())
                ++count;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reader"));
    return count;
}

QStringList names(const QList<ImportHistory>& records) {
    QStringList result;
    for (const auto& record : records)
        result.append(record.fileName);
    result.sort();
    return result;
}
} // namespace

class HistoryStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString storePath(const QString& name = QStringLiteral("default.store")) const {
        return m_dir.filePath(QStringLiteral("app.tarnwick.Velarix/") + name);
    }

private Q_SLOTS:
    void init() { QDir(m_dir.filePath(QStringLiteral("app.tarnwick.Velarix"))).removeRecursively(); }

    void roundTripAcrossReopening() {
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(1714550400123);
        {
            auto store = HistoryStore::open(storePath());
            QVERIFY2(store, qPrintable(store ? QString() : store.error().message));
            QVERIFY(QFile::exists(storePath()));
            auto& s = **store;
            QVERIFY(s.fetchCard(QStringLiteral("UUID-A"))->value_or(SDCard{}).id.isEmpty());
            QVERIFY(s.fetchImportHistory(QStringLiteral("UUID-A"))->isEmpty());

            QVERIFY(s.insertCard(QStringLiteral("UUID-A"), QStringLiteral("Tandem")));
            QVERIFY(s.insertCard(QStringLiteral("UUID-B"), QStringLiteral("Wingsuit")));
            for (const char* name : {"GX010123.MP4", "GX010123.MP4", "GX010124.MP4"})
                QVERIFY(s.insertImportHistory(QString::fromLatin1(name), QStringLiteral("UUID-A"), when));
            QVERIFY(s.insertImportHistory(QStringLiteral("GX010123.MP4"), QStringLiteral("UUID-B"), when));
            // Pending writes are visible before the save.
            QCOMPARE(s.fetchImportHistory(QStringLiteral("UUID-A"))->size(), 3);
            QVERIFY(s.save());
        }
        auto store = HistoryStore::open(storePath());
        QVERIFY(store);
        auto& s = **store;
        const auto a = s.fetchImportHistory(QStringLiteral("UUID-A"));
        QCOMPARE(names(*a), (QStringList{"GX010123.MP4", "GX010123.MP4", "GX010124.MP4"}));
        QCOMPARE(a->first().date, when);
        QCOMPARE(a->first().sdCardID, QStringLiteral("UUID-A"));
        QCOMPARE(names(*s.fetchImportHistory(QStringLiteral("UUID-B"))), QStringList{"GX010123.MP4"});

        auto card = s.fetchCard(QStringLiteral("UUID-A"));
        QVERIFY(card && card->has_value());
        QCOMPARE((*card)->name, QStringLiteral("Tandem"));
        QVERIFY(s.setCardName(**card, QStringLiteral("Tandem 2")));
        QVERIFY(s.save());
        const auto renamed = s.fetchCard(QStringLiteral("UUID-A"));
        QCOMPARE((*renamed)->name, QStringLiteral("Tandem 2"));
        // Same stored record, so equal; another card's record is not, whatever its fields.
        QCOMPARE(**renamed, **card);
        QVERIFY(!(**renamed == *(*s.fetchCard(QStringLiteral("UUID-B")))));

        const auto removed = s.deleteImportHistory(QStringLiteral("UUID-A"));
        QCOMPARE(*removed, 3);
        QVERIFY(s.fetchImportHistory(QStringLiteral("UUID-A"))->isEmpty());
        QCOMPARE(s.fetchImportHistory(QStringLiteral("UUID-B"))->size(), 1);
        QCOMPARE(s.fetchCards()->size(), 2);
    }

    void unsavedWritesAreRolledBack() {
        {
            auto store = HistoryStore::open(storePath());
            QVERIFY(store);
            QVERIFY((*store)->insertImportHistory(QStringLiteral("A.MP4"), QStringLiteral("U"),
                                                  QDateTime::currentDateTime()));
            QVERIFY((*store)->hasUnsavedChanges());
        }
        auto store = HistoryStore::open(storePath());
        QVERIFY((*store)->fetchImportHistory(QStringLiteral("U"))->isEmpty());
    }

    void refusesFilesThatAreNotOurs_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("random bytes") << "random";
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("written by a newer version") << "newer";
        QTest::newRow("a folder in its place") << "folder";
    }

    void refusesFilesThatAreNotOurs() {
        QFETCH(QString, kind);
        const QString path = storePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (kind == QLatin1String("random")) {
            QByteArray bytes;
            for (int i = 0; i < 4096; ++i)
                bytes.append(char((i * 7919) % 251));
            QVERIFY(writeFile(path, bytes));
        } else if (kind == QLatin1String("foreign")) {
            makeDatabase(path, {QStringLiteral("CREATE TABLE notes (body TEXT)"),
                                QStringLiteral("INSERT INTO notes VALUES ('keep me')")});
        } else if (kind == QLatin1String("newer")) {
            auto store = HistoryStore::open(path);
            QVERIFY(store);
            QVERIFY((*store)->insertCard(QStringLiteral("U"), QStringLiteral("N")));
            QVERIFY((*store)->save());
            store = Error{};
            makeDatabase(path, {QStringLiteral("PRAGMA user_version = 2000000")});
        } else {
            QVERIFY(QDir().mkpath(path));
        }
        const QByteArray before = fileDigest(path);
        const QDateTime modified = QFileInfo(path).lastModified();

        auto store = HistoryStore::open(path);
        QVERIFY(!store);
        QVERIFY(store.error().message.contains(path));
        if (kind == QLatin1String("newer"))
            QVERIFY2(store.error().message.contains(QStringLiteral("newer version")),
                     qPrintable(store.error().message));
        QCOMPARE(fileDigest(path), before);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    // A store written by the first release keeps its records and still marks its clips.
    void upgradesTheFirstReleasedStore() {
        const QString path = storePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(
            QFile::copy(QStringLiteral(VELARIX_SOURCE_DIR "/tests/history/data/history-1.0.0.store"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const QString card = QStringLiteral("3F1E9DA5-A03B-5122-A05E-AEA8BF928713");
        {
            auto store = HistoryStore::open(path);
            QVERIFY2(store, qPrintable(store ? QString() : store.error().message));
            const auto records = (*store)->fetchImportHistory(card);
            QCOMPARE(names(*records), (QStringList{"GX010001.MP4", "GX010002.MP4"}));
            QVERIFY(!records->first().relativePath && !records->first().fileSize);
            QCOMPARE((*store)->fetchCard(card)->value().name, QStringLiteral("Helmet"));
            QVERIFY(
                (*store)->insertImportHistory(CardFile{"GX010003.MP4", "DCIM/100GOPRO/GX010003.MP4", 3000},
                                              card, QDateTime::currentDateTime()));
            QVERIFY((*store)->save());
        }
        QCOMPARE(pragma(path, "user_version"), 1'002'000);
        auto store = HistoryStore::open(path);
        QVERIFY(store);
        const auto records = (*store)->fetchImportHistory(card);
        QCOMPARE(records->size(), 3);
        QCOMPARE(records->last().relativePath, std::optional<QString>("DCIM/100GOPRO/GX010003.MP4"));
        QCOMPARE(records->last().fileSize, std::optional<qint64>(3000));
    }

    // A 1.1.0 store, as that release wrote it: its records keep their paths and say nothing about
    // verification; the new step adds the verification, the index by path and the jump log.
    void upgradesA110Store() {
        const QString path = storePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        makeDatabase(
            path,
            {"CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
             "CREATE TABLE sd_card (pk INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL)",
             "CREATE TABLE import_history (pk INTEGER PRIMARY KEY, file_name TEXT NOT NULL, sd_card_id TEXT "
             "NOT "
             "NULL, date INTEGER NOT NULL, relative_path TEXT, file_size INTEGER)",
             "CREATE INDEX import_history_card ON import_history (sd_card_id)",
             "INSERT INTO meta VALUES ('schemaVersion', '1.1.0')",
             "INSERT INTO sd_card (id, name) VALUES ('CARD', 'Chest')",
             "INSERT INTO import_history (file_name, sd_card_id, date, relative_path, file_size) VALUES "
             "('GX010001.MP4', 'CARD', 1714550400000, 'DCIM/100GOPRO/GX010001.MP4', 1000)",
             "PRAGMA application_id = 1447382104", "PRAGMA user_version = 1001000"});
        {
            auto store = HistoryStore::open(path);
            QVERIFY2(store, qPrintable(store ? QString() : store.error().message));
            auto& s = **store;
            const auto old =
                s.fetchImportHistory("CARD", {CardFile{"GX010001.MP4", "DCIM/100GOPRO/GX010001.MP4", 1000}})
                    .value();
            QCOMPARE(old.size(), 1);
            QCOMPARE(old.first().fileSize, std::optional<qint64>(1000));
            QCOMPARE(old.first().verified, std::nullopt);
            QVERIFY(s.insertImportHistory(CardFile{"GX010002.MP4", "DCIM/100GOPRO/GX010002.MP4", 2000},
                                          "CARD", QDateTime::currentDateTime(), false));
            const QDateTime start = QDateTime::fromMSecsSinceEpoch(1714550400000);
            QVERIFY(s.insertJumpClip("CARD", "Chest", JumpClip{7, start.date(), start, start.addSecs(90)}));
            QVERIFY(s.save());
        }
        QCOMPARE(pragma(path, "user_version"), 1'002'000);
        auto store = HistoryStore::open(path);
        QVERIFY(store);
        const auto records = (*store)->fetchImportHistory("CARD").value();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.last().verified, std::optional<bool>(false));
        const auto log = (*store)->fetchJumpLog().value();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().jump, 7);
        QCOMPARE(log.first().cardName, QStringLiteral("Chest"));
        QCOMPARE(log.first().end, QDateTime::fromMSecsSinceEpoch(1714550490000));
    }

    // A step that fails half-way is undone as a whole: the store stays at its old version.
    void aFailedUpgradeChangesNothing() {
        const QString path = storePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(
            QFile::copy(QStringLiteral(VELARIX_SOURCE_DIR "/tests/history/data/history-1.0.0.store"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        // The second statement of the step will find its column taken.
        makeDatabase(path, {QStringLiteral("ALTER TABLE import_history ADD COLUMN file_size BLOB")});
        auto store = HistoryStore::open(path);
        QVERIFY(!store);
        QVERIFY2(store.error().message.contains(path), qPrintable(store.error().message));
        QCOMPARE(pragma(path, "user_version"), 1'000'000);
        QCOMPARE(columnCount(path, "import_history"), 5); // relative_path was added, then rolled back
    }

    void aBusyStoreIsInUseNotDamaged() {
        auto store = HistoryStore::open(storePath());
        QVERIFY(store);
        QVERIFY((*store)->insertCard(QStringLiteral("U"), QStringLiteral("N")) && (*store)->save());
        {
            QSqlDatabase holder =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(storePath());
            QVERIFY(holder.open());
            QSqlQuery query(holder);
            QVERIFY(query.exec(QStringLiteral("BEGIN EXCLUSIVE")));

            QElapsedTimer waited;
            waited.start();
            auto written = (*store)->insertImportHistory(QStringLiteral("A.MP4"), QStringLiteral("U"),
                                                         QDateTime::currentDateTime());
            QVERIFY(!written);
            QVERIFY(waited.elapsed() >= 4000); // it waited before giving up
            QVERIFY(isStoreError(written.error(), StoreErrorCode::inUse));
            QVERIFY2(written.error().message.contains(QStringLiteral("in use by another Velarix process")),
                     qPrintable(written.error().message));
            (*store)->rollback();

            auto second = HistoryStore::open(storePath());
            QVERIFY(!second);
            QVERIFY(isStoreError(second.error(), StoreErrorCode::inUse));
            QVERIFY(!second.error().message.contains(QStringLiteral("not a Velarix")));
            query.exec(QStringLiteral("ROLLBACK"));
            holder.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QVERIFY(HistoryStore::open(storePath()));
    }

    void damagedStoresAreMovedAsideNotDeleted() {
        const QString path = storePath();
        {
            auto store = HistoryStore::open(path);
            QVERIFY(store);
            for (int i = 0; i < 400; ++i)
                QVERIFY((*store)->insertImportHistory(QStringLiteral("GX%1.MP4").arg(i, 6, 10, QChar(u'0')),
                                                      QStringLiteral("U"), QDateTime::currentDateTime()));
            QVERIFY((*store)->save());
        }
        QVERIFY(QFileInfo(path).size() > 3 * 4096);
        QVERIFY(QFile::resize(path, 2 * 4096)); // cut short, as by a full disk or a pulled drive
        const QByteArray truncated = fileDigest(path);
        auto store = HistoryStore::open(path);
        QVERIFY(!store);
        QVERIFY2(isStoreError(store.error(), StoreErrorCode::damaged), qPrintable(store.error().message));
        QVERIFY(store.error().message.contains(path));
        QCOMPARE(fileDigest(path), truncated);

        const auto moved = HistoryStore::moveAside(path);
        QVERIFY(moved);
        QCOMPARE(*moved, path + QStringLiteral(".damaged-") + QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(fileDigest(*moved), truncated);
        QVERIFY(HistoryStore::open(path));

        QVERIFY(writeFile(path, QByteArray(8192, 'x')));
        store = HistoryStore::open(path);
        QVERIFY(isStoreError(store.error(), StoreErrorCode::damaged));
        QCOMPARE(*HistoryStore::moveAside(path), *moved + QStringLiteral("-2"));
        QCOMPARE(fileDigest(*moved), truncated);
    }

    void emptyFileBecomesAStore() {
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QVERIFY(writeFile(storePath(), {}));
        auto store = HistoryStore::open(storePath());
        QVERIFY(store);
        QVERIFY((*store)->insertCard(QStringLiteral("U"), QStringLiteral("N")));
        QVERIFY((*store)->save());
    }
};

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "test_history_store.moc"
