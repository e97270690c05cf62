#include "core/reports/WorkloadStatistics.h"
#include "core/store/ArchiveStore.h"
#include "core/store/sql/BoundQuery.h"
#include "support/ArchiveVisits.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QTest>

#include <limits>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

namespace {

using quilloa::test::addVisit;

QString dayText(const ArchiveStore& store, const QString& y, const QString& m, const QString& d)
{
    const StoreResult<WorkloadTotals> totals =
        WorkloadStatistics::of(store, ReportPeriod::day(y, m, d));
    return totals.ok() ? totals.value().text() : QStringLiteral("failed: ") + totals.error();
}

QString monthText(const ArchiveStore& store, const QString& y, const QString& m)
{
    const StoreResult<WorkloadTotals> totals =
        WorkloadStatistics::of(store, ReportPeriod::month(y, m));
    return totals.ok() ? totals.value().text() : QStringLiteral("failed: ") + totals.error();
}

} // namespace

class TestWorkloadStatistics : public QObject
{
    Q_OBJECT
private slots:
    void dayWithoutRecordsHasNoFigures()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-24"), QStringLiteral("5"));
        QCOMPARE(dayText(store, "2009", "03", "25"), QStringLiteral("无统计数字"));
    }

    void dayFeesAddUpExactly_data()
    {
        QTest::addColumn<QStringList>("fees");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mixed") << QStringList{"12.5", "7", "0"}
                               << QStringLiteral("门诊处方数：3张，业务额：19.5元");
        QTest::newRow("whole") << QStringList{"12.5", "17.5"}
                               << QStringLiteral("门诊处方数：2张，业务额：30元");
        QTest::newRow("no binary rounding")
            << QStringList{"0.1", "0.1", "0.1"} << QStringLiteral("门诊处方数：3张，业务额：0.3元");
        QTest::newRow("four decimals") << QStringList{"0.0001", "1.2345"}
                                       << QStringLiteral("门诊处方数：2张，业务额：1.2346元");
        QTest::newRow("no fee at all")
            << QStringList{"", ""} << QStringLiteral("门诊处方数：2张，业务额：元");
        QTest::newRow("some without fee")
            << QStringList{"", "8", ""} << QStringLiteral("门诊处方数：3张，业务额：8元");
    }

    void dayFeesAddUpExactly()
    {
        QFETCH(QStringList, fees);
        QFETCH(QString, expected);
        TestStores stores;
        ArchiveStore store = stores.archive();
        for (const QString& fee : fees)
            addVisit(store, QStringLiteral("2009-03-25"), fee);
        addVisit(store, QStringLiteral("2009-03-26"), QStringLiteral("100"));
        QCOMPARE(dayText(store, "2009", "03", "25"), expected);
    }

    void dayMatchesTheDateTextExactly()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-3-25"), QStringLiteral("1"));
        addVisit(store, QStringLiteral("2009-03-25 "), QStringLiteral("1"));
        addVisit(store, QStringLiteral("2009-03-05"), QStringLiteral("1"));
        QCOMPARE(dayText(store, "2009", "03", "25"), QStringLiteral("无统计数字"));
        QCOMPARE(dayText(store, "2009", "03", "5"), QStringLiteral("无统计数字"));
        QCOMPARE(dayText(store, "2009", "3", "25"), QStringLiteral("门诊处方数：1张，业务额：1元"));
    }

    void monthCountsEveryDateWithItsPrefix()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-01"), QStringLiteral("2.5"));
        addVisit(store, QStringLiteral("2009-03-31"), QStringLiteral("3"));
        addVisit(store, QStringLiteral("2009-04-01"), QStringLiteral("50"));
        addVisit(store, QStringLiteral("2008-03-15"), QStringLiteral("50"));
        QCOMPARE(monthText(store, "2009", "03"), QStringLiteral("门诊处方数：2张，业务额：5.5元"));
        QCOMPARE(monthText(store, "2009", "3"), QStringLiteral("无统计数字"));
        QCOMPARE(monthText(store, "2010", "03"), QStringLiteral("无统计数字"));
    }

    void quoteInABoxIsJustACharacter()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-25"), QStringLiteral("1"));
        addVisit(store, QStringLiteral("2009'-03-25"), QStringLiteral("2"));
        QCOMPARE(dayText(store, "2009' OR ''='", "03", "25"), QStringLiteral("无统计数字"));
        QCOMPARE(dayText(store, "2009'", "03", "25"),
                 QStringLiteral("门诊处方数：1张，业务额：2元"));
        QCOMPARE(monthText(store, "2009'", "03"), QStringLiteral("门诊处方数：1张，业务额：2元"));
        QCOMPARE(dayText(store, "2009", "03", "25"),
                 QStringLiteral("门诊处方数：1张，业务额：1元"));
    }

    void sumBeyondTheCurrencyRangeIsNotShownWrapped()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-25"), QStringLiteral("1"));
        PrescriptionRecord huge;
        huge.key = QStringLiteral("2009-03-25 09:00:00");
        huge.date = QStringLiteral("2009-03-25");
        huge.fee = Money::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY(store.add(huge).ok());
        addVisit(store, QStringLiteral("2009-03-25"), QStringLiteral(""));

        const StoreResult<WorkloadTotals> totals =
            WorkloadStatistics::of(store, ReportPeriod::day("2009", "03", "25"));
        QVERIFY(totals.ok());
        QCOMPARE(totals.value().count, 3);
        QVERIFY(totals.value().takingsOutOfRange);
        QVERIFY(!totals.value().takings);
        QCOMPARE(totals.value().text(), QStringLiteral("门诊处方数：3张，业务额超出计算范围"));
    }

    void missingStoreIsAFailureNotAnEmptyDay()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        ArchiveStore store(folder.paths().archiveFile);
        QVERIFY(!WorkloadStatistics::of(store, ReportPeriod::day("2009", "03", "25")).ok());
        QVERIFY(!QFile::exists(folder.paths().archiveFile));
    }
};

QTEST_MAIN(TestWorkloadStatistics)
#include "TestWorkloadStatistics.moc"
