#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreLocation.h"
#include "core/store/server/ServerImport.h"
#include "core/store/server/ServerSchema.h"
#include "support/PostgresServer.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::PostgresServer;
using quilloa::test::TestProgramFolder;

namespace {

PrescriptionRecord visit(const QString& key, const QString& name, std::optional<qint64> feeUnits)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.diagnosis = QString(50, QChar(u'炎'));
    r.body = QStringLiteral("{\\rtf1 复方甘草片 100片\\par}");
    if (feeUnits)
        r.fee = Money::fromUnits(*feeUnits);
    return r;
}

// A data folder as a clinic has it after some years: gaps where records were deleted, Latin
// names in both cases, values as long as their columns allow, fees to the ten-thousandth.
void fill(const TestProgramFolder& folder)
{
    ArchiveStore archive(folder.paths().archiveFile);
    QVERIFY(archive.add(visit("2009-05-18 08:00:00", "Li Lei", 1)).ok());
    const auto gone = archive.add(visit("2009-05-18 09:00:00", "王五", 30000));
    QVERIFY(gone.ok());
    QVERIFY(archive.add(visit("2009-05-19 10:00:00", "li lei", -1234567)).ok());
    QVERIFY(archive.add(visit("2009-05-19 11:00:00", "欧阳秀英欧阳秀英欧阳", std::nullopt)).ok());
    QVERIFY(archive.remove(gone.value(), "2009-05-18 09:00:00").ok());
    QVERIFY(archive.setLoginPassword("MiMa").ok());
    SettingsStore settings(folder.paths().settingsFile);
    QVERIFY(settings.add(ReferenceList::Drugs, QString(200, QChar(u'药')), "ABC").ok());
    QVERIFY(settings.add(ReferenceList::Drugs, "Amoxicillin", "abc").ok());
    QVERIFY(settings.add(ReferenceList::Addresses, "东街村", "djc").ok());
}

} // namespace

class TestServerImport : public QObject
{
    Q_OBJECT

    PostgresServer m_server;

    StoreConnection serverFor(const QString& database) const
    {
        return StoreConnection(StoreLocation::server(m_server.connectionText(database)).value());
    }

    int programTablesOn(const QString& database) const
    {
        int tables = -1;
        {
            QSqlDatabase db = m_server.addConnection(QStringLiteral("tables"), database);
            QSqlQuery query(db);
            if (db.open() &&
                query.exec(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = "
                                          "'public'")) &&
                query.next())
                tables = query.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("tables"));
        return tables;
    }

private slots:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorString())); }
    void cleanup() { StoreConnection::closeAll(); }

    // Every row arrives with its row id, case, length and exact fee; the program then goes on
    // adding after the copied rows, and searches ignore the case of Latin letters.
    void copiesEveryRowExactly()
    {
        TestProgramFolder folder;
        fill(folder);
        const QString database = m_server.createDatabase();
        const ServerImport::Outcome outcome =
            ServerImport::copy(folder.paths(), serverFor(database));
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(QStringLiteral("档案  3 条")),
                 qPrintable(outcome.message));
        for (const QString& table : test::storeTables()) {
            const QString file = table == u"档案" || table == u"密码" ? folder.paths().archiveFile
                                                                      : folder.paths().settingsFile;
            QCOMPARE(test::serverRows(m_server, database, table), test::fileRows(file, table));
        }

        const StoreConnection server = serverFor(database);
        // A workstation starting on the copied database finds it complete and leaves it be.
        const StoreResult<bool> created = ServerSchema::ensure(server, true);
        QVERIFY(created.ok());
        QVERIFY(!created.value());
        const StoreResult<qint64> added =
            ArchiveStore(server).add(visit("2009-05-20 08:00:00", "赵六", 100));
        QVERIFY2(added.ok(), qPrintable(added.error()));
        QCOMPARE(added.value(), qint64(5)); // after the last copied row id (4), not 1
        const auto found = ArchiveStore(server).search(QStringLiteral("LI LEI"), QString());
        QVERIFY(found.ok());
        QCOMPARE(found.value().size(), 2);
        QCOMPARE(ArchiveStore(server).loginPassword().value(), QStringLiteral("MiMa"));
    }

    // A database that already holds the program's tables is not merged into or written over.
    void refusesADatabaseInUse()
    {
        TestProgramFolder folder;
        fill(folder);
        const QString database = m_server.createDatabase();
        QVERIFY(ServerSchema::ensure(serverFor(database), true).ok());
        const QStringList drugs = test::serverRows(m_server, database, "药品");
        const ServerImport::Outcome outcome =
            ServerImport::copy(folder.paths(), serverFor(database));
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.message.contains(QStringLiteral("已经有本程序的数据表")),
                 qPrintable(outcome.message));
        QCOMPARE(test::serverRows(m_server, database, "药品"), drugs);
    }

    // A database every workstation would refuse for its encoding is refused before the copy,
    // with the same advice as at start-up.
    void refusesATargetNotInUtf8()
    {
        TestProgramFolder folder;
        fill(folder);
        const QString database =
            m_server.createDatabase(QStringLiteral("ascii_target"),
                                    QStringLiteral("ENCODING 'SQL_ASCII' TEMPLATE template0"));
        QVERIFY2(!database.isEmpty(), qPrintable(m_server.errorString()));
        const ServerImport::Outcome outcome =
            ServerImport::copy(folder.paths(), serverFor(database));
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.message.contains(QStringLiteral("createdb -E UTF8 -T template0")),
                 qPrintable(outcome.message));
        QCOMPARE(programTablesOn(database), 0);
    }

    // A row the server refuses undoes the whole copy: the database is left empty, ready for the
    // next try.
    void aRefusedRowLeavesTheDatabaseEmpty()
    {
        TestProgramFolder folder;
        fill(folder);
        // A NUL character: the file keeps it, a server text cannot.
        QVERIFY(ArchiveStore(folder.paths().archiveFile)
                    .add(visit("2009-05-20 08:00:00", QStringLiteral("坏") + QChar(0), 1))
                    .ok());
        const QString database = m_server.createDatabase();
        const ServerImport::Outcome outcome =
            ServerImport::copy(folder.paths(), serverFor(database));
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.message.contains(QStringLiteral("没有改动")), qPrintable(outcome.message));
        QCOMPARE(programTablesOn(database), 0);
    }

    // Through the program itself, without a screen: exit code and summary on success, a plain
    // reason and a failing exit code when the server cannot be reached.
    void commandLineCopiesWithoutAScreen()
    {
        TestProgramFolder folder;
        fill(folder);
        const QString program =
            qEnvironmentVariable("QUILLOA_BUILD_DIR") + QStringLiteral("/quilloa");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QProcess run;
        run.setProcessEnvironment(environment);

        const QString database = m_server.createDatabase();
        run.start(program, {"--data", folder.path(), "--copy-stores-to", m_server.uri(database)});
        QVERIFY(run.waitForFinished(120000));
        const QString said = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(run.exitCode() == 0, qPrintable(said + run.readAllStandardError()));
        QVERIFY2(said.contains(QStringLiteral("档案  3 条")), qPrintable(said));
        QCOMPARE(test::serverRows(m_server, database, "档案").size(), 3);

        run.start(program, {"--data", folder.path(), "--copy-stores-to",
                            "host=/nonexistent port=5432 dbname=x user=quilloa"});
        QVERIFY(run.waitForFinished(120000));
        const QString reason = QString::fromUtf8(run.readAllStandardError());
        QCOMPARE(run.exitCode(), 1);
        // No server listens on that socket: told as a refused connection, with what to check.
        QVERIFY2(reason.startsWith(QStringLiteral("没有复制：")) &&
                     reason.contains(QStringLiteral("拒绝连接")),
                 qPrintable(reason));
        QVERIFY2(!reason.contains(QStringLiteral("No such file")), qPrintable(reason));
    }
};

QTEST_GUILESS_MAIN(TestServerImport)
#include "TestServerImport.moc"
