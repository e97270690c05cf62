#include "support/PostgresServer.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTest>

#include <signal.h>

using quilloa::test::PostgresServer;

namespace {

// Runs one statement through psql, so the connection texts are checked by libpq itself.
QString psqlValue(const QString& connection, const QString& sql)
{
    const QString binDir = PostgresServer::findServerBinaries();
    QProcess psql;
    psql.start(binDir + QStringLiteral("/psql"),
               {QStringLiteral("-X"), QStringLiteral("-A"), QStringLiteral("-t"),
                QStringLiteral("-d"), connection, QStringLiteral("-c"), sql});
    if (!psql.waitForFinished(60000) || psql.exitCode() != 0)
        return QStringLiteral("psql failed: ") +
               QString::fromLocal8Bit(psql.readAllStandardError());
    return QString::fromUtf8(psql.readAllStandardOutput()).trimmed();
}

QVariant scalar(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("query failed");
    return query.value(0);
}

} // namespace

class TestPostgresServer : public QObject
{
    Q_OBJECT
private slots:
    // The server the store tests stand on: reachable by Qt's driver and by libpq texts, only
    // through its own socket, with citext available for the case-blind columns.
    void startsAServerOfItsOwn()
    {
        PostgresServer server;
        QVERIFY2(server.start(), qPrintable(server.errorString()));
        const QString name = server.createDatabase();
        QVERIFY2(!name.isEmpty(), qPrintable(server.errorString()));
        {
            QSqlDatabase db = server.addConnection(QStringLiteral("harness"), name);
            QVERIFY2(db.open(), qPrintable(server.logText()));
            QCOMPARE(scalar(db, QStringLiteral("select current_user")).toString(),
                     PostgresServer::SuperUser);
            QCOMPARE(scalar(db, QStringLiteral("show listen_addresses")).toString(), QString());
            QCOMPARE(scalar(db, QStringLiteral("show server_encoding")).toString(),
                     QStringLiteral("UTF8"));
            QSqlQuery citext(db);
            QVERIFY2(citext.exec(QStringLiteral("create extension citext")),
                     "citext is missing: install postgresql-contrib");
            QCOMPARE(scalar(db, QStringLiteral("select 'Abc'::citext = 'aBC'::citext")).toBool(),
                     true);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("harness"));

        QCOMPARE(
            psqlValue(server.connectionText(name), QStringLiteral("select current_database()")),
            name);
        QCOMPARE(psqlValue(server.uri(name), QStringLiteral("select current_database()")), name);
        QVERIFY(server.createDatabase(QStringLiteral("bad name; drop")).isEmpty());
    }

    // Two servers at once (two workstations' tests, or two test programs in parallel), each
    // with its own data; data outlives a restart; the server is gone with its object.
    void serversRunSideBySideAndRestart()
    {
        qint64 firstPid = 0;
        {
            PostgresServer first;
            PostgresServer second;
            QVERIFY2(first.start(), qPrintable(first.errorString()));
            QVERIFY2(second.start(), qPrintable(second.errorString()));
            firstPid = first.processId();
            const QString db = first.createDatabase(QStringLiteral("shared"));
            QVERIFY2(!db.isEmpty(), qPrintable(first.errorString()));
            psqlValue(first.connectionText(db), QStringLiteral("create table t(v text)"));
            psqlValue(first.connectionText(db), QStringLiteral("insert into t values ('kept')"));
            QCOMPARE(psqlValue(first.connectionText(db), QStringLiteral("select v from t")),
                     QStringLiteral("kept"));
            QVERIFY(psqlValue(second.connectionText(db), QStringLiteral("select 1"))
                        .startsWith(QStringLiteral("psql failed")));

            QVERIFY2(first.restart(), qPrintable(first.errorString()));
            QVERIFY(first.processId() != firstPid);
            firstPid = first.processId();
            QCOMPARE(psqlValue(first.connectionText(db), QStringLiteral("select v from t")),
                     QStringLiteral("kept"));

            QVERIFY(first.stop());
            QVERIFY(psqlValue(first.connectionText(db), QStringLiteral("select 1"))
                        .startsWith(QStringLiteral("psql failed")));
            QVERIFY2(first.start(), qPrintable(first.errorString()));
            firstPid = first.processId();
        }
        QCOMPARE(::kill(static_cast<pid_t>(firstPid), 0), -1);
    }
};

QTEST_GUILESS_MAIN(TestPostgresServer)
#include "TestPostgresServer.moc"
