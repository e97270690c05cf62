#include "core/backup/ServerBackup.h"
#include "core/startup/AppContext.h"
#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/ConnectionFailure.h"
#include "core/store/server/ServerPreparation.h"
#include "core/store/server/ServerSchema.h"
#include "support/PostgresServer.h"
#include "support/TestStores.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace quilloa;
using quilloa::test::PostgresServer;
using quilloa::test::TestStores;

namespace {

const char* const kSaveWorker = "--save-worker";

PrescriptionRecord visit(const QString& key, const QString& name)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.body = QStringLiteral("{\\rtf1 x}");
    return r;
}

// Another workstation: saves `count` visits under `name` (each with its own key, or all with
// `sameKey`) and reports every save that succeeded with its row, one line each.
int saveWorker(const QStringList& arguments)
{
    if (arguments.size() < 5)
        return 2;
    const StoreResult<StoreLocation> server = StoreLocation::server(arguments.at(2));
    if (!server.ok())
        return 3;
    ArchiveStore archive{StoreConnection(server.value())};
    const QString name = arguments.at(3);
    const int count = arguments.at(4).toInt();
    const QString sameKey = arguments.value(5);
    for (int i = 0; i < count; ++i) {
        const QString key = sameKey.isEmpty()
                                ? QStringLiteral("2009-03-25 %1").arg(i, 8, 10, QLatin1Char('0'))
                                : sameKey;
        const StoreResult<qint64> saved = archive.add(visit(key, name));
        if (saved.ok())
            std::printf("saved %lld\n", static_cast<long long>(saved.value()));
        else
            std::printf("failed\n");
        std::fflush(stdout);
    }
    return 0;
}

QList<qint64> reportedRows(QProcess& worker)
{
    QList<qint64> rows;
    static const QRegularExpression saved(QStringLiteral("^saved (\\d+)$"),
                                          QRegularExpression::MultilineOption);
    auto match = saved.globalMatch(QString::fromUtf8(worker.readAllStandardOutput()));
    while (match.hasNext())
        rows << match.next().captured(1).toLongLong();
    return rows;
}

void startWorker(QProcess& worker, const TestStores& stores, const QString& name, int count,
                 const QString& sameKey = QString())
{
    worker.start(QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(kSaveWorker),
                  TestStores::server().connectionText(stores.database()), name,
                  QString::number(count), sameKey});
    QVERIFY2(worker.waitForStarted(), qPrintable(worker.errorString()));
}

// The rows of 档案 meeting `condition`, in row order, read through a connection of the test's
// own: every record looked at, no index of the program's used.
QList<qint64> rowsWhere(const TestStores& stores, const QString& condition,
                        const QVariantList& values)
{
    QList<qint64> rows;
    {
        QSqlDatabase db =
            TestStores::server().addConnection(QStringLiteral("check"), stores.database());
        if (!db.open())
            return rows;
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("SELECT rowid FROM \"档案\" WHERE %1 ORDER BY rowid").arg(condition));
        for (const QVariant& value : values)
            q.addBindValue(value);
        q.exec();
        while (q.next())
            rows << q.value(0).toLongLong();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return rows;
}

QList<qint64> storedRows(const TestStores& stores, const QString& name)
{
    return rowsWhere(stores, QStringLiteral("\"姓名\" = ?"), {name});
}

// Runs `sql` through a second connection, as an administrator or another program would.
bool runElsewhere(const TestStores& stores, const QString& sql, QString* error = nullptr)
{
    bool ran = false;
    {
        QSqlDatabase db =
            TestStores::server().addConnection(QStringLiteral("elsewhere"), stores.database());
        QSqlQuery q(db);
        ran = db.open() && q.exec(sql);
        if (error)
            *error = q.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("elsewhere"));
    return ran;
}

// The message names the server as the user wrote it; around that, no driver text.
bool plainChinese(const StoreStatus& status)
{
    static const QRegularExpression englishWords(QStringLiteral("[A-Za-z]{4,}"));
    QString rest = status.error();
    rest.remove(status.path());
    // Names the user has to type or look for stay as they are.
    for (const char* name : {".pgpass", "postgresql.conf", "listen_addresses", "PostgreSQL"})
        rest.remove(QString::fromLatin1(name));
    return !status.error().isEmpty() && !rest.contains(englishWords);
}

} // namespace

class TestServerStore : public QObject
{
    Q_OBJECT
private slots:
    void passwordAndSettingsStaySingleRows()
    {
        TestStores stores(true);
        QString error;
        QVERIFY(!runElsewhere(
            stores, QStringLiteral("INSERT INTO \"密码\" (\"密码\") VALUES ('x')"), &error));
        QVERIFY(
            !runElsewhere(stores, QStringLiteral("INSERT INTO \"设置\" (\"医生\") VALUES ('x')")));
        QVERIFY(stores.archive().setLoginPassword(QStringLiteral("Secret")).ok());
        QCOMPARE(stores.archive().loginPassword().value(), QStringLiteral("Secret"));
    }

    void lostConnectionIsToldPlainlyAndTheNextCallReconnects()
    {
        TestStores stores(true);
        SettingsStore settings = stores.settings();
        QVERIFY(
            settings.add(ReferenceList::Drugs, QStringLiteral("阿司匹林"), QStringLiteral("asp"))
                .ok());
        // The administrator ends every session of the program (a restart would do the same).
        QVERIFY(runElsewhere(
            stores, QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                   "pg_stat_activity WHERE application_name = 'quilloa'")));
        const StoreResult<qint64> lost =
            settings.add(ReferenceList::Drugs, QStringLiteral("布洛芬"), QStringLiteral("blf"));
        QVERIFY(!lost.ok());
        QCOMPARE(lost.fault(), StoreFault::Unreachable);
        QVERIFY2(plainChinese(lost), qPrintable(lost.error()));
        QVERIFY(lost.error().contains(QStringLiteral("无法连接")));
        // The next operation connects again and works; nothing half-done was left behind.
        QVERIFY(settings.add(ReferenceList::Drugs, QStringLiteral("布洛芬"), QStringLiteral("blf"))
                    .ok());
        QCOMPARE(settings.all(ReferenceList::Drugs).value().size(), 2);
    }

    void aStoppedServerIsToldAndUsedAgainOnceBack()
    {
        TestStores stores(true);
        ArchiveStore archive = stores.archive();
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("甲"))).ok());
        // Asked for once: asking for the server again would start it.
        PostgresServer& server = TestStores::server();
        QVERIFY2(server.stop(), qPrintable(server.errorString()));
        const auto down = archive.search(QStringLiteral("甲"), QString());
        QCOMPARE(down.fault(), StoreFault::Unreachable);
        QVERIFY2(plainChinese(down), qPrintable(down.error()));
        // Still down: told the same way, without a crash or a hang on the dead connection.
        QCOMPARE(archive.loginPassword().fault(), StoreFault::Unreachable);
        QVERIFY2(server.start(), qPrintable(server.errorString()));
        QCOMPARE(archive.search(QStringLiteral("甲"), QString()).value().size(), 1);
    }

    void startupMakesTheTablesOnceOnAnEmptyDatabase()
    {
        const QString database = TestStores::server().createDatabase();
        QVERIFY(!database.isEmpty());
        const auto location = StoreLocation::server(TestStores::server().connectionText(database));
        QVERIFY(location.ok());
        quilloa::test::TestProgramFolder folder(quilloa::test::TestProgramFolder::Stores::None);
        const AppContext context(folder.path(), folder.clock(), location.value());
        const StartupReport first = StartupPreparation::run(context);
        // The test's clock stands years back: told before anything is saved with it.
        QCOMPARE(first.notices.size(), 1);
        QVERIFY2(first.notices.at(0).contains(QStringLiteral("慢了约")),
                 qPrintable(first.notices.at(0)));
        QVERIFY(first.archiveCreated && first.settingsCreated && first.loginRead.ok());
        QVERIFY(!first.needsLogin());
        QVERIFY(!context.settings().all(ReferenceList::Drugs).value().isEmpty());
        QCOMPARE(context.settings().settings().value().doctor, StoreSchema::kSampleDoctor);
        // No store file is made on this computer.
        QVERIFY(!QFile::exists(folder.paths().archiveFile));

        QVERIFY(context.archive().setLoginPassword(QStringLiteral("pw")).ok());
        folder.clock()->set(QDateTime::currentDateTime().addSecs(60));
        const StartupReport second = StartupPreparation::run(context);
        QVERIFY(!second.archiveCreated && second.needsLogin());
        QVERIFY2(second.notices.isEmpty(), qPrintable(second.notices.join(QLatin1Char('\n'))));
        StoreConnection::closeAll();
    }

    // A server that is down at start-up keeps the program closed until it is back (the login
    // cannot be checked), and is told once, not once per step.
    void aServerDownAtStartIsToldOnceAndNothingOpensUnverified()
    {
        TestStores stores(true);
        QVERIFY(stores.archive().setLoginPassword(QStringLiteral("pw")).ok());
        const AppContext context = stores.context();
        PostgresServer& server = TestStores::server();
        QVERIFY2(server.stop(), qPrintable(server.errorString()));
        const StartupReport down = StartupPreparation::run(context);
        QVERIFY(down.loginUnknown());
        QCOMPARE(down.loginRead.fault(), StoreFault::Unreachable);
        QVERIFY2(down.notices.isEmpty(), qPrintable(down.notices.join(QLatin1Char('\n'))));
        QVERIFY2(server.start(), qPrintable(server.errorString()));
        const StartupReport back = StartupPreparation::run(context);
        QVERIFY(!back.loginUnknown() && back.needsLogin() && !back.archiveCreated);
    }

    // Each way a connection fails is told by its own cause: a missing database and role on the
    // live server, the rest from the client library's texts (English and as translated).
    void connectionFailuresAreToldApartByCause()
    {
        TestStores stores(true);
        const QString socket = TestStores::server().socketDirectory();
        for (const auto& [options, expected] :
             {std::pair{QStringLiteral("dbname=no_such_db user=quilloa"),
                        QStringLiteral("no_such_db")},
              std::pair{QStringLiteral("dbname=postgres user=no_such_role"),
                        QStringLiteral("no_such_role")}}) {
            const auto location = StoreLocation::server(
                QStringLiteral("host=%1 port=%2 ").arg(socket).arg(PostgresServer::Port) + options);
            const StoreResult<bool> opened =
                ServerSchema::ensure(StoreConnection(location.value()));
            QCOMPARE(opened.fault(), StoreFault::Unreachable);
            QVERIFY2(opened.error().contains(QStringLiteral("没有名为“%1”").arg(expected)),
                     qPrintable(opened.error()));
        }
        using Cause = ConnectionFailure::Cause;
        const std::pair<const char*, Cause> texts[] = {
            {"FATAL:  password authentication failed for user \"clinic\"", Cause::WrongPassword},
            {"致命错误:  用户 \"clinic\" Password 认证失败", Cause::WrongPassword},
            {"fe_sendauth: no password supplied", Cause::NoPassword},
            {"could not translate host name \"srv\" to address: Name or service not known",
             Cause::HostUnknown},
            {"connection to server at \"10.0.0.9\", port 5432 failed: Connection refused",
             Cause::Refused},
            {"连接到\"10.0.0.9\"上的服务器，端口5432失败：拒绝连接", Cause::Refused},
            {"connection to server at \"10.0.0.9\", port 5432 failed: timeout expired",
             Cause::NoAnswer},
            {"FATAL:  no pg_hba.conf entry for host \"10.0.0.2\"", Cause::NotAllowed},
            {"server closed the connection unexpectedly", Cause::Other},
        };
        for (const auto& [text, cause] : texts)
            QVERIFY2(ConnectionFailure::classify(QString::fromUtf8(text)) == cause, text);
        // A password file others can read is ignored by the client library: that is the cause.
        QTemporaryDir home;
        const QString file = home.filePath(QStringLiteral("pgpass"));
        QFile pgpass(file);
        QVERIFY(pgpass.open(QIODevice::WriteOnly));
        pgpass.close();
        QVERIFY(pgpass.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(ConnectionFailure::passwordFile(file), ConnectionFailure::PasswordFile::Private);
        QVERIFY(pgpass.setPermissions(pgpass.permissions() | QFileDevice::ReadOther));
        QCOMPARE(ConnectionFailure::passwordFile(file),
                 ConnectionFailure::PasswordFile::ReadableByOthers);
        QVERIFY(ConnectionFailure::explain(Cause::NoPassword, QStringLiteral("S"),
                                           ConnectionFailure::PasswordFile::ReadableByOthers)
                    .contains(QStringLiteral("chmod 600")));
        QCOMPARE(ConnectionFailure::passwordFile(home.filePath(QStringLiteral("none"))),
                 ConnectionFailure::PasswordFile::Missing);
    }

    // Both engines fold only A to Z: the same searches and lookups give the same rows, also on
    // a server whose locale would lower Ä and a full-width Ｂ.
    void searchesFoldCaseAsTheStoreFileDoes()
    {
        TestStores file(false);
        TestStores server(true, QStringLiteral("TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE "
                                               "'C.UTF-8' LC_CTYPE 'C.UTF-8'"));
        const QStringList names{QStringLiteral("ÄRZTIN"), QStringLiteral("ärztin"),
                                QStringLiteral("Ａｂｃ"), QStringLiteral("ａｂｃ"),
                                QStringLiteral("Li Lei"), QStringLiteral("li lei"),
                                QStringLiteral("Émile")};
        for (const TestStores* stores : {&file, &server}) {
            for (int i = 0; i < names.size(); ++i) {
                const QString key =
                    QStringLiteral("2009-03-25 08:00:%1").arg(i, 2, 10, QChar(u'0'));
                QVERIFY(stores->archive().add(visit(key, names[i])).ok());
                QVERIFY(stores->settings()
                            .add(ReferenceList::Drugs, names[i], QStringLiteral("x"))
                            .ok());
            }
        }
        const auto found = [](const TestStores& stores, const QString& typed) {
            QStringList rows;
            const auto records = stores.archive().search(typed, QString());
            for (const ArchiveEntry& entry : records.value())
                rows << entry.name;
            rows << QStringLiteral("|");
            const auto drugs = stores.settings().lookup(ReferenceList::Drugs, typed,
                                                        SettingsStore::CodeMatch::Contains);
            for (const ReferenceEntry& drug : drugs.value())
                rows << drug.name();
            return rows;
        };
        for (const char* typed : {"ä", "Ä", "ÄRZ", "Ｂ", "ｂ", "b", "LI", "é", "É"}) {
            const QStringList inFile = found(file, QString::fromUtf8(typed));
            QCOMPARE(found(server, QString::fromUtf8(typed)), inFile);
        }
        QCOMPARE(
            found(file, QStringLiteral("ä")),
            (QStringList{QStringLiteral("ärztin"), QStringLiteral("|"), QStringLiteral("ärztin")}));
    }

    // A workstation role in a database its owner prepared starts without making a table,
    // saves, sets the password and takes the backup copies, but can neither drop nor empty
    // the archive, nor change a table or make one.
    void aWorkstationRoleHasOnlyTheRightsItUses()
    {
        TestStores stores(true, QString(), true);
        const StartupReport started = StartupPreparation::run(stores.context());
        QVERIFY2(started.loginRead.ok() && !started.archiveCreated,
                 qPrintable(started.loginRead.error()));
        QVERIFY(stores.archive()
                    .add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("甲")))
                    .ok());
        QVERIFY(stores.archive().setLoginPassword(QStringLiteral("pw")).ok());
        QStringList notices;
        QVERIFY2(ServerBackup::take(stores.archiveFile(), stores.folder().paths(),
                                    QDate(2009, 3, 30), &notices),
                 qPrintable(notices.join(QLatin1Char('\n'))));
        SettingsStore settings = stores.settings();
        for (const char* drug : {"甲药", "乙药"})
            QVERIFY(settings.add(ReferenceList::Drugs, QString::fromUtf8(drug), QStringLiteral("y"))
                        .ok());
        QSqlDatabase db =
            TestStores::server().addConnection(QStringLiteral("room"), stores.database());
        db.setUserName(TestStores::kWorkstationRole);
        QVERIFY(db.open());
        // Emptying a table, changing every entry at once, or locking the other rooms out is
        // refused for want of the right, not for some other fault of the statement.
        for (const char* sql :
             {"DELETE FROM \"档案\"", "DELETE FROM \"药品\" WHERE rowid > 0",
              "UPDATE \"档案\" SET \"姓名\" = ''", "UPDATE \"药品\" SET \"拼音\" = 'x'",
              "LOCK TABLE \"档案\" IN ACCESS EXCLUSIVE MODE", "LOCK TABLE \"药品\" IN SHARE MODE",
              "LOCK TABLE \"设置\" IN EXCLUSIVE MODE",
              "SELECT quilloa_remove('quilloa_schema', 1, '')"}) {
            // A lock lasts only as long as a transaction.
            QVERIFY(db.transaction());
            QSqlQuery refused(db);
            QVERIFY2(!refused.exec(QString::fromUtf8(sql)), sql);
            QVERIFY2(refused.lastError().nativeErrorCode() == QLatin1String("42501") ||
                         refused.lastError().nativeErrorCode() == QLatin1String("42P01"),
                     qPrintable(refused.lastError().text()));
            refused = QSqlQuery();
            QVERIFY(db.rollback());
        }
        for (const char* sql :
             {"DROP TABLE \"档案\"", "TRUNCATE \"档案\"", "DELETE FROM \"密码\"",
              "INSERT INTO \"设置\" DEFAULT VALUES", "ALTER TABLE \"档案\" DROP COLUMN \"姓名\"",
              "CREATE TABLE \"另一张\" (i int)", "ALTER ROLE quilloa_rooms LOGIN",
              "DELETE FROM \"档案_姓名字\"", "UPDATE \"档案_姓名字\" SET \"数\" = 0"}) {
            QSqlQuery refused(db);
            QVERIFY2(!refused.exec(QString::fromUtf8(sql)), sql);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("room"));
        QCOMPARE(stores.archive().search(QStringLiteral("甲"), QString()).value().size(), 1);
        QCOMPARE(settings.all(ReferenceList::Drugs).value().size(), 2);
    }

    // The server's name index follows every writer: a room's saves and deletes, and another
    // connection's inserts, renames, undated rows, moved rows and deletes. Searches then find
    // exactly what a scan of every record finds, in the same order.
    void theServersNameIndexFollowsEveryWriter()
    {
        TestStores stores(true, QString(), true);
        ArchiveStore archive = stores.archive();
        const QString removed = QStringLiteral("2009-03-25 08:00:01");
        QVERIFY(archive.add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("王秀英")))
                    .ok());
        const StoreResult<qint64> gone = archive.add(visit(removed, QStringLiteral("李王")));
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-04-01 08:00:02"), QStringLiteral("Ab王"))).ok());
        QVERIFY(stores.runElsewhere(QStringLiteral(
            "INSERT INTO \"档案\" (\"名称\", \"姓名\", \"日期\") VALUES ('k1', '张王', "
            "'2009-03-26'), ('k2', '王', NULL), ('k3', '秀李', '2009-03-27'); "
            "UPDATE \"档案\" SET \"姓名\" = '赵秀' WHERE \"姓名\" = '王秀英'; "
            "UPDATE \"档案\" SET \"日期\" = '2009-05-01' WHERE \"名称\" = 'k2'; "
            "UPDATE \"档案\" SET rowid = rowid + 5000 WHERE \"姓名\" = 'Ab王'; "
            "DELETE FROM \"档案\" WHERE \"名称\" = 'k3'")));
        QVERIFY(archive.remove(gone.value(), removed).ok());
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-28 08:00:03"), QStringLiteral("王李"))).ok());
        const QString scan =
            QStringLiteral("\"姓名\" LIKE ? ESCAPE '' AND \"日期\" LIKE ? ESCAPE ''");
        for (const char* typed : {"王", "秀", "李", "a", "B", "王秀", "李王", "赵", "_王", "%"}) {
            for (const char* date : {"", "2009-03", "%-01"}) {
                const QString name = QString::fromUtf8(typed);
                const QList<qint64> expected =
                    rowsWhere(stores, scan,
                              {QStringLiteral("%") + name + QStringLiteral("%"),
                               QString::fromUtf8(date) + QStringLiteral("%")});
                const auto found = archive.searchRows(name, QString::fromUtf8(date));
                QVERIFY2(found.ok(), qPrintable(found.error()));
                QCOMPARE(found.value(), expected);
                QCOMPARE(archive.search(name, QString::fromUtf8(date)).value().size(),
                         expected.size());
            }
        }
    }

    // A database an older program made is brought up by its owner alone: a room that meets it
    // first is told who can, and works once the owner has run the preparation.
    void anOlderDatabaseIsUpgradedByItsOwner()
    {
        TestStores stores(true, QString(), true);
        QVERIFY(stores.archive()
                    .add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("乙")))
                    .ok());
        // A row far beyond the first: the index is filled a few blocks at a time.
        QVERIFY(stores.runElsewhere(QStringLiteral(
            "DROP FUNCTION \"档案_姓名字_记\"() CASCADE; DROP TABLE \"档案_姓名字\"; "
            "UPDATE \"档案\" SET rowid = rowid + 200000 WHERE \"姓名\" = '乙'; "
            "UPDATE quilloa_schema SET version = 1")));
        const StoreResult<bool> refused = ServerSchema::ensure(stores.archiveFile());
        QVERIFY(!refused.ok());
        QVERIFY2(refused.error().contains(QStringLiteral("--prepare-server")),
                 qPrintable(refused.error()));
        StoreConnection::closeAll();
        const auto owner =
            StoreLocation::server(TestStores::server().connectionText(stores.database()) +
                                  QStringLiteral(" user=") + TestStores::kOwnerRole);
        QVERIFY(ServerPreparation::prepare(owner.value(), TestStores::kWorkstationGroup, false).ok);
        StoreConnection::closeAll();
        QVERIFY(ServerSchema::ensure(stores.archiveFile()).ok());
        QVERIFY(stores.archive()
                    .add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("甲")))
                    .ok());
        QCOMPARE(stores.archive().searchRows(QStringLiteral("甲"), QString()).value().size(), 1);
        QCOMPARE(stores.archive().searchRows(QStringLiteral("乙"), QString()).value().size(), 1);
    }

    void aDatabaseMissingSomeTablesIsNotFilledIn()
    {
        TestStores stores(true);
        QVERIFY(runElsewhere(stores, QStringLiteral("DROP TABLE \"地址\"")));
        const StoreResult<bool> ensured = ServerSchema::ensure(stores.archiveFile());
        QCOMPARE(ensured.fault(), StoreFault::Damaged);
        QVERIFY2(plainChinese(ensured), qPrintable(ensured.error()));
    }

    // The character index belongs to store files; on a server there is nothing to build, and
    // asking must not count as a failure that drops the connection.
    void nothingToBuildForTheNameIndex()
    {
        TestStores stores(true);
        const StoreConnection archive = stores.archiveFile();
        QCOMPARE(NameIndex::build(archive, 100).valueOr(false), true);
        QCOMPARE(NameIndex::isComplete(archive).valueOr(false), true);
        QVERIFY(!NameIndex::rarestCharacter(archive, QStringLiteral("张")).has_value());
    }

    // A database that would count a Chinese name's bytes as its characters is not used.
    void aDatabaseNotInUtf8IsRefusedWithWhatToDo()
    {
        TestStores stores(true);
        QVERIFY(runElsewhere(stores, QStringLiteral("CREATE DATABASE bytes_only ENCODING "
                                                    "'SQL_ASCII' TEMPLATE template0")));
        const auto location = StoreLocation::server(
            TestStores::server().connectionText(QStringLiteral("bytes_only")));
        QVERIFY(location.ok());
        const StoreResult<bool> ensured = ServerSchema::ensure(StoreConnection(location.value()));
        QVERIFY(!ensured.ok());
        QVERIFY2(ensured.error().contains(QStringLiteral("UTF8")), qPrintable(ensured.error()));
        // At start-up the program stays closed and says why.
        const AppContext context(stores.folder().path(), stores.folder().clock(), location.value());
        const StartupReport report = StartupPreparation::run(context);
        QVERIFY(report.loginUnknown());
        QVERIFY(report.loginRead.error().contains(QStringLiteral("UTF8")));
        StoreConnection::closeAll();
    }

    void aListRefillShowsWhatAnotherRoomAdded()
    {
        TestStores stores(true);
        SettingsStore settings = stores.settings();
        QVERIFY(settings.add(ReferenceList::Diagnoses, QStringLiteral("感冒"), QStringLiteral("gm"))
                    .ok());
        QVERIFY(runElsewhere(stores, QStringLiteral("INSERT INTO \"诊断\" (\"名称\", \"拼音\") "
                                                    "VALUES ('发热', 'FR')")));
        const auto refilled =
            settings.codeStartsWith(ReferenceList::Diagnoses, QStringLiteral("f"));
        QCOMPARE(refilled.value().size(), 1);
        QCOMPARE(refilled.value().first().name(), QStringLiteral("发热"));
    }

    void twoWorkstationsSavingAtOnceLoseNothing()
    {
        TestStores stores(true);
        QProcess first;
        QProcess second;
        startWorker(first, stores, QStringLiteral("一室"), 500);
        startWorker(second, stores, QStringLiteral("二室"), 500);
        QVERIFY(first.waitForFinished(-1) && second.waitForFinished(-1));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        const QList<qint64> firstSaved = reportedRows(first);
        const QList<qint64> secondSaved = reportedRows(second);
        QCOMPARE(firstSaved.size(), 500);
        QCOMPARE(secondSaved.size(), 500);
        // Every reported save is there exactly once, under its own room, and nothing else.
        QCOMPARE(storedRows(stores, QStringLiteral("一室")), firstSaved);
        QCOMPARE(storedRows(stores, QStringLiteral("二室")), secondSaved);
        QCOMPARE(stores.archive().firstEntries(-1).value().size(), 1000);
    }

    void aDeleteDuringAnotherRoomsSavesRemovesExactlyTheSelectedRow()
    {
        TestStores stores(true);
        ArchiveStore archive = stores.archive();
        const QString second = QStringLiteral("2009-03-25 10:15:07");
        const qint64 selected = archive.add(visit(second, QStringLiteral("甲"))).value();
        QProcess other;
        // The other room saves sheets started in the very same second, so with the same key.
        startWorker(other, stores, QStringLiteral("乙"), 300, second);
        QVERIFY(other.waitForReadyRead(-1));
        QVERIFY(archive.remove(selected, second).ok());
        QVERIFY(other.waitForFinished(-1));
        const QList<qint64> saved = reportedRows(other);
        QCOMPARE(saved.size(), 300);
        QVERIFY(storedRows(stores, QStringLiteral("甲")).isEmpty());
        QCOMPARE(storedRows(stores, QStringLiteral("乙")), saved);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kSaveWorker) == 0)
        return saveWorker(app.arguments());
    TestServerStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "TestServerStore.moc"
