#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupRestore.h"
#include "core/backup/ServerBackup.h"
#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SchemaVersion.h"
#include "core/store/SettingsStore.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/server/ServerImport.h"
#include "core/store/server/ServerSchema.h"
#include "support/PostgresServer.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::PostgresServer;
using quilloa::test::TestProgramFolder;

namespace {

const int kNewer = SchemaVersion::kCurrent + 1;
const QString kRefusal = QStringLiteral("是较新版本的程序建立的（版本 %1），本程序只认识到版本 %2")
                             .arg(kNewer)
                             .arg(SchemaVersion::kCurrent);

// Runs `statements` on the file behind the program's back, as another tool (or another version
// of the program) would; returns the first column of the last one's first row.
QVariant onFile(const QString& path, const QStringList& statements)
{
    QVariant last;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "by-hand");
        db.setDatabaseName(path);
        if (!db.open())
            return {};
        QSqlQuery query(db);
        for (const QString& statement : statements) {
            if (!query.exec(statement))
                qFatal("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
            last = query.next() ? query.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase("by-hand");
    return last;
}

int fileVersion(const QString& path)
{
    return onFile(path, {"PRAGMA user_version"}).toInt();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSchemaVersion : public QObject
{
    Q_OBJECT

    PostgresServer m_server;

    QVariant onServer(const QString& database, const QString& sql)
    {
        QVariant value;
        {
            QSqlDatabase db = m_server.addConnection("by-hand", database);
            if (!db.open())
                return {};
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
        QSqlDatabase::removeDatabase("by-hand");
        return value;
    }

private slots:
    void cleanup() { StoreConnection::closeAll(); }

    // New store files carry the current version; one made before there was a version (0,
    // without the name index) gets the index and the version at its next opening, keeps its
    // records and finds them through the index.
    void newStoresAreStampedAndOldOnesUpgraded()
    {
        TestProgramFolder folder;
        const QString archive = folder.paths().archiveFile;
        QCOMPARE(fileVersion(archive), SchemaVersion::kFileCurrent);
        QCOMPARE(fileVersion(folder.paths().settingsFile), SchemaVersion::kFileCurrent);
        PrescriptionRecord record;
        record.key = "2009-03-25 18:08:43";
        record.date = "2009-03-25";
        record.name = "王秀英";
        QVERIFY(ArchiveStore(archive).add(record).ok());
        StoreConnection::closeAll();

        onFile(archive, {"DROP TRIGGER [档案_姓名字_增]", "DROP TRIGGER [档案_姓名字_删]",
                         "DROP TRIGGER [档案_姓名字_改]", "DROP TABLE [档案_姓名字]",
                         "DROP TABLE [档案_姓名字进度]", "DROP TABLE [档案_序号]",
                         "PRAGMA user_version = 0"});
        const auto found = ArchiveStore(archive).search("秀", QString());
        QVERIFY2(found.ok(), qPrintable(found.error()));
        QCOMPARE(found.value().size(), 1);
        QCOMPARE(fileVersion(archive), SchemaVersion::kFileCurrent);
        QCOMPARE(
            onFile(archive, {"SELECT count(*) FROM sqlite_master WHERE name LIKE '档案_姓名字%'"})
                .toInt(),
            5);
        QVERIFY(NameIndex::build(StoreConnection(archive), 100).value());
        QCOMPARE(onFile(archive, {"SELECT count(*) FROM [档案_姓名字]"}).toInt(), 3);
    }

    // A store of a newer program is named at start-up with both versions, read by nothing,
    // written by nothing (the journal mode included), and its backups are not put back.
    void newerStoreIsRefusedUntouched()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create,
                                 QDateTime(QDate(2009, 5, 10), QTime(8, 0)));
        const StorePaths& paths = folder.paths();
        QVERIFY(BackupRestore::backUpNow(paths, QDateTime(QDate(2009, 5, 1), QTime(8, 0))).ok);
        onFile(paths.archiveFile,
               {"PRAGMA journal_mode=WAL", QStringLiteral("PRAGMA user_version = %1").arg(kNewer)});
        const QByteArray before = bytesOf(paths.archiveFile);

        const auto read = ArchiveStore(paths.archiveFile).loginPassword();
        QCOMPARE(read.fault(), StoreFault::TooNew);
        QVERIFY2(read.error().contains(QStringLiteral("“档案.dat”") + kRefusal) &&
                     read.error().contains(QStringLiteral("请安装新版本的程序")),
                 qPrintable(read.error()));
        const StartupReport report = StartupPreparation::run(folder.context());
        QVERIFY(report.loginUnknown());
        QVERIFY2(report.notices.join('\n').contains(kRefusal),
                 qPrintable(report.notices.join('\n')));
        // A backup day that cannot copy it says so, and never copies what it cannot read.
        QVERIFY(!report.backupTaken);
        StoreConnection::closeAll();
        QCOMPARE(bytesOf(paths.archiveFile), before);
        QVERIFY(!QFile::exists(paths.archiveFile + "-journal"));

        // The same file as a backup is listed with the reason and never put back.
        const QString copy = paths.backupFolder + "/2009-05-01/档案.dat";
        QVERIFY(QFile::remove(copy));
        QVERIFY(QFile::copy(paths.archiveFile, copy));
        const BackupCopy listed = BackupCatalog::inspect(QFileInfo(copy).absolutePath());
        QVERIFY(!listed.sound);
        QVERIFY2(listed.problem.contains(kRefusal), qPrintable(listed.problem));
        onFile(paths.archiveFile, {"PRAGMA user_version = 0"});
        const QByteArray current = bytesOf(paths.archiveFile);
        const BackupRestore::Outcome restored =
            BackupRestore::restore(paths, listed, QDateTime(QDate(2009, 5, 10), QTime(9, 0)));
        QVERIFY(!restored.ok);
        QVERIFY2(restored.message.contains(kRefusal), qPrintable(restored.message));
        QCOMPARE(bytesOf(paths.archiveFile), current);
    }

    // The server keeps its version in a row: a new database gets the current one, a database
    // from before the row gets it at the next start, and a newer database is refused at start,
    // by the backup export and by the copy from store files, without a write.
    void serverCarriesItsVersion()
    {
        QString why;
        if (PostgresServer::findServerBinaries(&why).isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
        const QString database = m_server.createDatabase();
        const StoreConnection server(
            StoreLocation::server(m_server.connectionText(database)).value());
        QVERIFY(ServerSchema::ensure(server, false).value());
        const QString version = QStringLiteral("SELECT version FROM quilloa_schema");
        QCOMPARE(onServer(database, version).toInt(), SchemaVersion::kCurrent);

        onServer(database, "DROP TABLE quilloa_schema");
        QVERIFY(!ServerSchema::ensure(server, false).value());
        QCOMPARE(onServer(database, version).toInt(), SchemaVersion::kCurrent);

        onServer(database, QStringLiteral("UPDATE quilloa_schema SET version = %1").arg(kNewer));
        StoreConnection::closeAll();
        const StoreResult<bool> refused = ServerSchema::ensure(server, false);
        QCOMPARE(refused.fault(), StoreFault::TooNew);
        QVERIFY2(refused.error().contains(kRefusal), qPrintable(refused.error()));
        QCOMPARE(onServer(database, version).toInt(), kNewer);

        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QStringList notices;
        QVERIFY(!ServerBackup::take(server, folder.paths(), QDate(2009, 5, 10), &notices));
        QVERIFY2(notices.join('\n').contains(kRefusal), qPrintable(notices.join('\n')));
        QVERIFY(QDir(folder.paths().backupFolder + "/2009-05-10").isEmpty());

        // Store files of a newer program are not copied onto a server.
        TestProgramFolder newer;
        onFile(newer.paths().settingsFile,
               {QStringLiteral("PRAGMA user_version = %1").arg(kNewer)});
        const QString empty = m_server.createDatabase();
        const ServerImport::Outcome copied = ServerImport::copy(
            newer.paths(),
            StoreConnection(StoreLocation::server(m_server.connectionText(empty)).value()));
        QVERIFY(!copied.ok);
        QVERIFY2(copied.message.contains(kRefusal), qPrintable(copied.message));
        QVERIFY(!onServer(empty, "SELECT to_regclass('quilloa_schema') IS NOT NULL").toBool());
    }
};

QTEST_GUILESS_MAIN(TestSchemaVersion)
#include "TestSchemaVersion.moc"
