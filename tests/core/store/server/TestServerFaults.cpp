#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/UnsettledSave.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerPreparation.h"
#include "core/store/server/ServerWait.h"
#include "support/FaultRelay.h"
#include "support/PostgresServer.h"
#include "support/TestStores.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <optional>

using namespace quilloa;
using namespace std::chrono_literals;
using quilloa::test::FaultRelay;
using quilloa::test::PostgresServer;
using quilloa::test::TestStores;

namespace {

constexpr auto kLimit = 2000ms;

PrescriptionRecord visit(const QString& key, const QString& name)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.body = QStringLiteral("{\\rtf1 x}");
    r.fee = Money::fromUnits(125000);
    return r;
}

// The stores of a fresh database, reached through a relay that can fail like a network.
struct Relayed
{
    Relayed() : relay(TestStores::server().socketPath())
    {
        if (!relay.start())
            qFatal("The relay could not listen on a loopback port.");
        location = StoreLocation::server(
                       relay.connectionText(stores.database(), PostgresServer::SuperUser))
                       .value();
    }
    ArchiveStore archive() const { return ArchiveStore(StoreConnection(location)); }
    int rowsNamed(const QString& name) const
    {
        return int(stores.archive().search(name, QString()).value().size());
    }

    TestStores stores{true};
    FaultRelay relay;
    StoreLocation location;
};

// Counts its turns; on the first it runs `meanwhile`, as a repaint that reads a list line would.
class CountingHook : public ServerWaitHook
{
public:
    void waiting(std::chrono::milliseconds) override
    {
        if (calls++ == 0 && meanwhile)
            meanwhile();
    }
    void finished() override { ++finishes; }
    int calls = 0;
    int finishes = 0;
    std::function<void()> meanwhile;
};

// What the other sessions of the server see of this program's last statements.
QStringList activityTexts(const QString& database)
{
    QStringList texts;
    {
        QSqlDatabase db = TestStores::server().addConnection(QStringLiteral("activity"), database);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("SELECT query FROM pg_stat_activity WHERE "
                                               "application_name = 'quilloa'"))) {
            while (q.next())
                texts << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("activity"));
    return texts;
}

} // namespace

class TestServerFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ServerDriver::setReplyLimit(kLimit); }

    void aStalledServerIsToldWithinTheLimitAndTheNextCallWorks()
    {
        Relayed relayed;
        ArchiveStore archive = relayed.archive();
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("甲"))).ok());
        CountingHook hook;
        std::optional<StoreStatus> nested;
        hook.meanwhile = [&] { nested = archive.loginPassword(); };
        ServerWait::setHook(&hook);
        relayed.relay.setMode(FaultRelay::Mode::Stall);
        QElapsedTimer clock;
        clock.start();
        const auto stalled = archive.search(QStringLiteral("甲"), QString());
        const qint64 waited = clock.elapsed();
        ServerWait::setHook(nullptr);
        QCOMPARE(stalled.fault(), StoreFault::TimedOut);
        QVERIFY2(stalled.error().contains(QStringLiteral("2 秒内没有回答")),
                 qPrintable(stalled.error()));
        // The limit, the cancel's short grace, and nothing more.
        QVERIFY2(waited < 4000, qPrintable(QString::number(waited)));
        // The window was given its turn all along, and told when the wait ended.
        QVERIFY(hook.calls > 20);
        QCOMPARE(hook.finishes, 1);
        // A call made from inside the wait is turned away at once, leaving the connection be.
        QVERIFY(nested && !nested->ok());
        relayed.relay.setMode(FaultRelay::Mode::Pass);
        QCOMPARE(archive.search(QStringLiteral("甲"), QString()).value().size(), 1);
    }

    void aSaveWhoseAnswerWasLostIsStoredOnce()
    {
        Relayed relayed;
        ArchiveStore archive = relayed.archive();
        // The connection has its statements ready, as after the first save of the day.
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-25 08:55:00"), QStringLiteral("甲"))).ok());
        // The answer to the INSERT is lost, the server is reached again: the save is found.
        relayed.relay.setMode(FaultRelay::Mode::DropReplies, true);
        const PrescriptionRecord first =
            visit(QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("乙"));
        const StoreResult<qint64> found = archive.add(first);
        QVERIFY2(found.ok(), qPrintable(found.error()));
        QCOMPARE(archive.recordAt(found.value()).value()->name, QStringLiteral("乙"));
        // Nothing comes back at all: the outcome is told as unknown, and 保存 again finds the
        // first attempt instead of storing a second record.
        const PrescriptionRecord second =
            visit(QStringLiteral("2009-03-25 09:05:00"), QStringLiteral("丙"));
        relayed.relay.setMode(FaultRelay::Mode::DropReplies);
        QElapsedTimer clock;
        clock.start();
        const StoreResult<qint64> unknown = archive.add(second);
        // One limit for the attempt and the look after it, told without a second limit's text.
        QVERIFY2(clock.elapsed() < 4200, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(UnsettledSave::is(unknown));
        QVERIFY2(!unknown.error().contains(QStringLiteral("秒内没有回答")),
                 qPrintable(unknown.error()));
        relayed.relay.setMode(FaultRelay::Mode::Pass);
        QVERIFY(archive.add(second).ok());
        QCOMPARE(relayed.rowsNamed(QStringLiteral("乙")), 1);
        QCOMPARE(relayed.rowsNamed(QStringLiteral("丙")), 1);
        // A connection cut before the statement arrived: told as not saved, and saved once.
        relayed.relay.cutAll();
        QTest::qWait(100);
        const PrescriptionRecord third =
            visit(QStringLiteral("2009-03-25 09:09:00"), QStringLiteral("丁"));
        const StoreResult<qint64> cut = archive.add(third);
        QVERIFY2(!cut.ok() && cut.error().contains(QStringLiteral("这张处方没有保存")),
                 qPrintable(cut.error()));
        QVERIFY(archive.add(third).ok());
        QCOMPARE(relayed.rowsNamed(QStringLiteral("丁")), 1);
    }

    // Only the program's own server process stops while the server answers: the save is told
    // as unknown within its limit, never as not saved, and once the process runs again 保存
    // stores the record once, whatever the process did with the first attempt.
    void aStoppedSessionNeverGivesADuplicate()
    {
        TestStores stores(true);
        ArchiveStore archive = stores.archive();
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-25 12:00:00"), QStringLiteral("甲"))).ok());
        PostgresServer& server = TestStores::server();
        const qint64 backend = server.programSession(stores.database());
        QVERIFY2(PostgresServer::pauseProcess(backend, true), qPrintable(server.errorString()));
        const PrescriptionRecord stalled =
            visit(QStringLiteral("2009-03-25 12:05:00"), QStringLiteral("乙"));
        const StoreResult<qint64> first = archive.add(stalled);
        QVERIFY(PostgresServer::pauseProcess(backend, false));
        QVERIFY(UnsettledSave::is(first));
        QVERIFY2(first.error().contains(QStringLiteral("结束不了")), qPrintable(first.error()));
        const StoreResult<qint64> again = archive.add(stalled);
        QVERIFY2(again.ok(), qPrintable(again.error()));
        QCOMPARE(stores.archive().search(QStringLiteral("乙"), QString()).value().size(), 1);
    }

    void theFirstReadsAfterAServerRestartWork()
    {
        TestStores stores(true);
        ArchiveStore archive = stores.archive();
        SettingsStore settings = stores.settings();
        QVERIFY(
            archive.add(visit(QStringLiteral("2009-03-25 10:00:00"), QStringLiteral("戊"))).ok());
        QVERIFY(
            settings.add(ReferenceList::Drugs, QStringLiteral("阿司匹林"), QStringLiteral("asp"))
                .ok());
        PostgresServer& server = TestStores::server();
        QVERIFY2(server.restart(), qPrintable(server.errorString()));
        const auto found = archive.search(QStringLiteral("戊"), QString());
        QVERIFY2(found.ok(), qPrintable(found.error()));
        QCOMPARE(found.value().size(), 1);
        const auto drugs = settings.lookup(ReferenceList::Drugs, QStringLiteral("a"),
                                           SettingsStore::CodeMatch::Prefix);
        QVERIFY2(drugs.ok(), qPrintable(drugs.error()));
        QCOMPARE(drugs.value().size(), 1);
    }

    void noPatientValueReachesTheServersLogOrSessionList()
    {
        PostgresServer& server = TestStores::server();
        QVERIFY2(
            server.configure(QStringLiteral("log_min_error_statement"), QStringLiteral("error")),
            qPrintable(server.errorString()));
        QTest::qWait(300); // the server rereads its settings
        TestStores stores(true);
        ArchiveStore archive = stores.archive();
        // Too long for its column: refused before it leaves the program, with the limit named.
        const QString tooLong = QStringLiteral("患者甲乙丙丁戊己庚辛壬癸");
        const auto refused = archive.add(visit(QStringLiteral("2009-03-25 11:00:00"), tooLong));
        QCOMPARE(refused.fault(), StoreFault::TooLong);
        QVERIFY2(refused.error().contains(QStringLiteral("“姓名”最多 10 个字")),
                 qPrintable(refused.error()));
        const QString searched = QStringLiteral("独一无二");
        QVERIFY(archive.search(searched, QString()).ok());
        for (const QString& text : activityTexts(stores.database()))
            QVERIFY2(!text.contains(searched), qPrintable(text));
        QVERIFY(!server.logText().contains(tooLong));
        // A server logging every statement: the prepared database keeps the values out.
        {
            const TestStores roles(true, QString(), true); // makes the workstation roles
        }
        const ServerPreparation::Outcome prepared =
            ServerPreparation::prepare(stores.location(), TestStores::kWorkstationGroup, false);
        QVERIFY2(prepared.ok && !prepared.message.contains(QStringLiteral("注意")),
                 qPrintable(prepared.message));
        StoreConnection::closeAll();
        QVERIFY(server.configure(QStringLiteral("log_statement"), QStringLiteral("all")));
        QTest::qWait(300);
        const QString saved = QStringLiteral("病人己庚");
        QVERIFY(archive.add(visit(QStringLiteral("2009-03-25 11:05:00"), saved)).ok());
        QVERIFY(server.configure(QStringLiteral("log_statement"), QStringLiteral("none")));
        QVERIFY(server.logText().contains(QStringLiteral("INSERT INTO")));
        QVERIFY(!server.logText().contains(saved));
    }
};

QTEST_GUILESS_MAIN(TestServerFaults)
#include "TestServerFaults.moc"
