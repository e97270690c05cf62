#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupRestore.h"
#include "core/backup/ServerBackup.h"
#include "core/startup/AppContext.h"
#include "core/startup/BackgroundWork.h"
#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreLocation.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerSchema.h"
#include "support/FaultRelay.h"
#include "support/PostgresServer.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quilloa;
using namespace std::chrono_literals;
using quilloa::test::FaultRelay;
using quilloa::test::PostgresServer;
using quilloa::test::TestProgramFolder;

namespace {

const QDate kBackupDay(2009, 5, 20);

PrescriptionRecord visit(const QString& key, const QString& name, std::optional<qint64> feeUnits)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.body = QStringLiteral("{\\rtf1 阿莫西林胶囊 0.25×24\\par}");
    if (feeUnits)
        r.fee = Money::fromUnits(*feeUnits);
    return r;
}

QString dayFolder(const TestProgramFolder& folder, const QDate& day = kBackupDay)
{
    return folder.paths().backupFolder + QLatin1Char('/') +
           day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString copyOf(const QString& day, const QString& table)
{
    const bool archive = table == u"档案" || table == u"密码";
    return day + (archive ? QStringLiteral("/档案.dat") : QStringLiteral("/设置.dat"));
}

// Words of the driver's own messages, which must never reach the user.
bool hasDriverText(const QString& text)
{
    static const QRegularExpression words(
        QStringLiteral("connection|failed|socket|error|server|could not"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(text).hasMatch();
}

// The answers of `sql` on the store file at `path`, a row per line.
QStringList fileAnswers(const QString& path, const QString& sql)
{
    const QString name = QStringLiteral("answers");
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        for (const QString& statement : sql.split(QLatin1Char(';'))) {
            if (!db.open() || !query.exec(statement))
                return {QStringLiteral("failed: ") + statement};
        }
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

const QString kObjects =
    QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name");
const QString kNameIndex = QStringLiteral("SELECT * FROM [档案_姓名字] ORDER BY 1, 2");

} // namespace

class TestServerBackup : public QObject
{
    Q_OBJECT

    PostgresServer m_server;

    // A database of its own for each test, with the tables and the sample lists.
    StoreConnection freshServer(QString* database)
    {
        *database = m_server.createDatabase();
        const auto location = StoreLocation::server(m_server.connectionText(*database));
        const StoreConnection server(location.value());
        const StoreResult<bool> created = ServerSchema::ensure(server, true);
        if (!created.ok())
            qFatal("no tables: %s", qPrintable(created.detail()));
        return server;
    }

    // Rows that only come through whole if order, case, NULLs and exact fees are kept.
    static void fill(const StoreConnection& server)
    {
        ArchiveStore archive(server);
        QVERIFY(archive.add(visit("2009-05-18 08:00:00", "Li Lei", 1)).ok());
        const auto gone = archive.add(visit("2009-05-18 09:00:00", "王五", 30000));
        QVERIFY(gone.ok());
        QVERIFY(archive.add(visit("2009-05-19 10:00:00", "li lei", 9223372036854775807LL)).ok());
        QVERIFY(archive.add(visit("2009-05-19 11:00:00", "张秀英", std::nullopt)).ok());
        QVERIFY(archive.remove(gone.value(), "2009-05-18 09:00:00").ok());
        QVERIFY(archive.add(visit("2009-05-20 08:00:00", "赵六", 123456)).ok());
        QVERIFY(archive.setLoginPassword("Secret").ok());
        SettingsStore settings(server);
        QVERIFY(settings.add(ReferenceList::Drugs, QString(200, QChar(u'药')), "ABC").ok());
        QVERIFY(settings.add(ReferenceList::Drugs, "Amoxicillin", "abc").ok());
    }

private slots:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorString())); }
    void init()
    {
        // A test that failed with the server stopped leaves it to the next one to start.
        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
    }
    void cleanup() { StoreConnection::closeAll(); }

    // The backup-day copies of a server hold exactly its rows, in order, with exact fees, and
    // are store files the restore window and the program read like any other.
    void backupDayCopiesHoldTheServersRows()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QString database;
        const StoreConnection server = freshServer(&database);
        fill(server);
        QStringList notices;
        QVERIFY2(ServerBackup::take(server, folder.paths(), kBackupDay, &notices),
                 qPrintable(notices.join('\n')));
        QVERIFY(notices.isEmpty());

        const QString day = dayFolder(folder);
        for (const QString& table : test::storeTables()) {
            const QStringList onServer = test::serverRows(m_server, database, table);
            QVERIFY2(!onServer.isEmpty(), qPrintable(table));
            QCOMPARE(test::fileRows(copyOf(day, table), table), onServer);
        }
        // Nothing but the two copies: no temporary file is left beside them.
        QCOMPARE(QDir(day).entryList(QDir::Files, QDir::Name),
                 (QStringList{"档案.dat", "设置.dat"}));

        const BackupCopy copy = BackupCatalog::inspect(day);
        QVERIFY2(copy.sound, qPrintable(copy.problem));
        QCOMPARE(copy.recordCount, 4);
        QCOMPARE(copy.lastVisitDate, QStringLiteral("2009-05-20"));
        // The copy holds a new store's objects, its name index left to be filled once the copy
        // is opened as a store, as for an archive from before the index. Searches give the same
        // rows before and after, and the index comes out as its own triggers make it.
        const QString archive = day + QStringLiteral("/档案.dat");
        const QString fresh = folder.path() + QStringLiteral("/fresh.dat");
        QVERIFY(StoreSchema::createArchiveStore(fresh).ok());
        QCOMPARE(fileAnswers(archive, kObjects), fileAnswers(fresh, kObjects));
        QCOMPARE(fileAnswers(archive, QStringLiteral("SELECT * FROM [档案_姓名字进度]")),
                 fileAnswers(archive, QStringLiteral("SELECT 0, max(rowid) FROM [档案]")));
        const auto entries = [&archive] {
            QStringList texts;
            const auto found = ArchiveStore(archive).search("LI", QString());
            for (const ArchiveEntry& entry : found.ok() ? found.value() : QList<ArchiveEntry>())
                texts << entry.text();
            return texts;
        };
        const QStringList before = entries();
        QCOMPARE(before.size(), 2);
        const StoreResult<bool> built =
            NameIndex::build(StoreConnection(archive), 2, QDeadlineTimer::Forever);
        QVERIFY(built.ok() && built.value());
        QCOMPARE(entries(), before);
        const QStringList indexed = fileAnswers(archive, kNameIndex);
        QCOMPARE(indexed.size(), 13);
        QVERIFY(QFile::copy(archive, fresh + QStringLiteral(".again")));
        QCOMPARE(fileAnswers(fresh + QStringLiteral(".again"),
                             QStringLiteral("DELETE FROM [档案_姓名字];UPDATE [档案] SET rowid = "
                                            "rowid;") +
                                 kNameIndex),
                 indexed);
    }

    // A copy that cannot be made leaves the day's earlier copy as it was, tells why in plain
    // Chinese, and the next try works once the server is back.
    void failedBackupKeepsTheEarlierCopy()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QString database;
        const StoreConnection server = freshServer(&database);
        fill(server);
        QVERIFY(ServerBackup::take(server, folder.paths(), kBackupDay, nullptr));
        const QString archiveCopy = dayFolder(folder) + QStringLiteral("/档案.dat");
        const QStringList before = test::fileRows(archiveCopy, "档案");

        QVERIFY(ArchiveStore(server).add(visit("2009-05-20 09:00:00", "钱七", 500)).ok());
        QVERIFY(m_server.stop());
        QStringList notices;
        QVERIFY(!ServerBackup::take(server, folder.paths(), kBackupDay, &notices));
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].contains(QStringLiteral("已有的备份保持不变")), qPrintable(notices[0]));
        QVERIFY2(!hasDriverText(notices[0]), qPrintable(notices[0]));
        QCOMPARE(test::fileRows(archiveCopy, "档案"), before);
        QCOMPARE(QDir(dayFolder(folder)).entryList(QDir::Files).size(), 2);

        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
        QVERIFY(ServerBackup::take(server, folder.paths(), kBackupDay, nullptr));
        QCOMPARE(test::fileRows(archiveCopy, "档案"), test::serverRows(m_server, database, "档案"));
        QCOMPARE(test::fileRows(archiveCopy, "档案").size(), before.size() + 1);
    }

    // Two exports of one day never run at once (a second start, another room): while one holds
    // the day, the other writes nothing and says why; the next day is not held up.
    void oneExportOfADayAtATime()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QString database;
        const StoreConnection server = freshServer(&database);
        QSqlDatabase other = m_server.addConnection("other room", database);
        QVERIFY(other.open());
        QSqlQuery held(other);
        QVERIFY(held.exec(QStringLiteral("SELECT pg_advisory_lock(%1, %2)")
                              .arg(0x51756c6c)
                              .arg(kBackupDay.toJulianDay())));
        QStringList notices;
        QVERIFY(!ServerBackup::take(server, folder.paths(), kBackupDay, &notices));
        QVERIFY2(notices.join('\n').contains(QStringLiteral("正在备份2009-05-20这一天的数据")),
                 qPrintable(notices.join('\n')));
        QVERIFY(QDir(dayFolder(folder)).isEmpty());
        QVERIFY(ServerBackup::take(server, folder.paths(), kBackupDay.addDays(10), nullptr));
        other.close();
        QVERIFY(ServerBackup::take(server, folder.paths(), kBackupDay, nullptr));
    }

    // A backup day's start does not wait for the export: it runs beside the open window on a
    // connection of its own, which holds the day against a second exporter; a server that
    // stops answering midway ends it within the limit, told in plain words, with no copy left
    // that looks complete.
    void backupDayExportsBesideTheWindow()
    {
        const auto limit = ServerDriver::replyLimit();
        const auto restore = qScopeGuard([limit] { ServerDriver::setReplyLimit(limit); });
        ServerDriver::setReplyLimit(2000ms);
        TestProgramFolder folder(TestProgramFolder::Stores::None,
                                 QDateTime(kBackupDay, QTime(8, 0)));
        QString database;
        const StoreConnection direct = freshServer(&database);
        fill(direct);
        FaultRelay relay(m_server.socketPath());
        QVERIFY(relay.start());
        const AppContext context(
            folder.path(), folder.clock(),
            StoreLocation::server(relay.connectionText(database, PostgresServer::SuperUser))
                .value());
        const StartupReport report =
            StartupPreparation::run(context, StartupPreparation::Backup::Later);
        QVERIFY(report.backupDue && !report.backupTaken);
        QVERIFY(QDir(dayFolder(folder)).isEmpty());

        // Another tool holds the records, so the export waits inside its snapshot.
        QSqlDatabase tool = m_server.addConnection("tool", database);
        QVERIFY(tool.open() && tool.transaction());
        QVERIFY(
            QSqlQuery(tool).exec(QStringLiteral("LOCK TABLE \"档案\" IN ACCESS EXCLUSIVE MODE")));
        BackgroundWork exporting(*StartupPreparation::backupWork(context, report));
        QSignalSpy finished(&exporting, &BackgroundWork::finished);
        exporting.start();
        QSqlQuery waiting(tool);
        QTRY_VERIFY(waiting.exec(QStringLiteral("SELECT 1 FROM pg_locks WHERE NOT granted")) &&
                    waiting.next());
        relay.setMode(FaultRelay::Mode::Stall);
        QVERIFY(tool.commit());

        QStringList refused;
        QVERIFY(!ServerBackup::take(direct, folder.paths(), kBackupDay, &refused));
        QVERIFY2(refused.join('\n').contains(QStringLiteral("正在备份2009-05-20这一天的数据")),
                 qPrintable(refused.join('\n')));
        QVERIFY(finished.wait(10000));
        const QStringList told = finished.at(0).at(0).toStringList();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QStringLiteral("已有的备份保持不变")), qPrintable(told[0]));
        QVERIFY2(!hasDriverText(told[0]), qPrintable(told[0]));
        QVERIFY(QDir(dayFolder(folder)).isEmpty());
    }

    // The start-up of the 10th, 20th and 30th takes the server's copies without a word.
    void startupOnABackupDayTakesTheCopies()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None,
                                 QDateTime(kBackupDay, QTime(8, 0)));
        QString database;
        const StoreConnection server = freshServer(&database);
        fill(server);
        const StartupReport report =
            StartupPreparation::run(AppContext(folder.path(), folder.clock(), server.location()));
        // The test's fixed day is far from the server's clock: that alone is told.
        QCOMPARE(report.notices.size(), 1);
        QVERIFY2(report.notices[0].contains(QStringLiteral("时钟")), qPrintable(report.notices[0]));
        QVERIFY(report.backupTaken);
        QCOMPARE(test::fileRows(dayFolder(folder) + QStringLiteral("/设置.dat"), "设置"),
                 test::serverRows(m_server, database, "设置"));
    }

    // "Back up now" on a server copies the server, not some file on this computer; a restore is
    // refused with what to do, and the server's rows stay as they were.
    void backupWindowOnAServer()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QString database;
        const StoreConnection server = freshServer(&database);
        fill(server);
        const AppContext context(folder.path(), folder.clock(), server.location());
        const BackupRestore::Outcome backup = BackupRestore::backUpNow(context);
        QVERIFY2(backup.ok, qPrintable(backup.message));
        const QString day = dayFolder(folder, folder.clock()->now().date());
        QCOMPARE(backup.folder, day);
        QCOMPARE(test::fileRows(day + QStringLiteral("/档案.dat"), "档案"),
                 test::serverRows(m_server, database, "档案"));

        const QList<BackupCopy> copies = BackupCatalog::list(folder.paths());
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies[0].sound);
        QVERIFY(ArchiveStore(server).add(visit("2009-05-21 09:00:00", "孙八", 1)).ok());
        const QStringList now = test::serverRows(m_server, database, "档案");
        const BackupRestore::Outcome restored = BackupRestore::restore(context, copies[0]);
        QVERIFY(!restored.ok);
        QVERIFY2(restored.message.contains(QStringLiteral("--copy-stores-to")),
                 qPrintable(restored.message));
        QCOMPARE(test::serverRows(m_server, database, "档案"), now);
    }
};

QTEST_GUILESS_MAIN(TestServerBackup)
#include "TestServerBackup.moc"
