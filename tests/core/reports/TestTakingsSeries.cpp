#include "core/reports/TakingsSeries.h"
#include "core/reports/WorkloadStatistics.h"
#include "core/store/ArchiveStore.h"
#include "support/ArchiveVisits.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

namespace {

using quilloa::test::addVisit;

// A year of visits with the awkward dates a clinic's hand-typed records hold.
void addYear(ArchiveStore& store)
{
    addVisit(store, "2009-03-01", "12.5");
    addVisit(store, "2009-03-01", "");
    addVisit(store, "2009-03-25", "7");
    addVisit(store, "2009-03-25", "0.25");
    addVisit(store, "2009-03-31", "30");
    addVisit(store, "2009-03-5", "3");    // a day typed by hand: in the month, on no day
    addVisit(store, "2009-03-25 x", "4"); // likewise
    addVisit(store, "2009-04-01", "100");
    addVisit(store, "2009-12-31", "1.5");
    addVisit(store, "2009-1-02", "8");    // in the year, in no month
    addVisit(store, "2010-03-01", "999"); // another year
}

QString text(const WorkloadTotals& totals)
{
    return totals.text();
}

QString statistics(const ArchiveStore& store, const ReportPeriod& period)
{
    const StoreResult<WorkloadTotals> totals = WorkloadStatistics::of(store, period);
    return totals.ok() ? totals.value().text() : QStringLiteral("failed");
}

} // namespace

class TestTakingsSeries : public QObject
{
    Q_OBJECT
private slots:
    void daysOfMonthEqualTheDayAndMonthStatistics()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addYear(store);
        const auto series = TakingsSeries::daysOfMonth(store, "2009", "03");
        QVERIFY(series.ok());
        const QList<TakingsSeries::Bar>& bars = series.value().bars();
        QCOMPARE(bars.size(), 32); // 31 days and the bar of dates on no day
        for (int day = 1; day <= 31; ++day) {
            const QString dd = QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
            QCOMPARE(text(bars[day - 1].totals),
                     statistics(store, ReportPeriod::day("2009", "03", dd)));
        }
        QCOMPARE(bars.last().label, TakingsSeries::otherLabel());
        QCOMPARE(bars.last().totals.count, 2);
        QCOMPARE(text(series.value().total()),
                 statistics(store, ReportPeriod::month("2009", "03")));
        QCOMPARE(text(series.value().total()), QStringLiteral("门诊处方数：7张，业务额：56.75元"));
    }

    void monthsOfYearEqualTheMonthStatistics()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addYear(store);
        const auto series = TakingsSeries::monthsOfYear(store, "2009");
        QVERIFY(series.ok());
        const QList<TakingsSeries::Bar>& bars = series.value().bars();
        QCOMPARE(bars.size(), 13);
        for (int month = 1; month <= 12; ++month) {
            const QString mm = QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
            QCOMPARE(text(bars[month - 1].totals),
                     statistics(store, ReportPeriod::month("2009", mm)));
        }
        QCOMPARE(bars[2].label, QStringLiteral("3月"));
        QCOMPARE(bars.last().totals.count, 1); // 2009-1-02
        QCOMPARE(series.value().total().count, 10);
        QCOMPARE(text(series.value().total()),
                 QStringLiteral("门诊处方数：10张，业务额：166.25元"));
    }

    void shortMonthsAndEmptyPeriods()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, "2009-02-28", "1");
        const auto february = TakingsSeries::daysOfMonth(store, "2009", "02");
        QVERIFY(february.ok());
        QCOMPARE(february.value().bars().size(), 28);
        QCOMPARE(february.value().bars().last().totals.count, 1);
        const auto empty = TakingsSeries::monthsOfYear(store, "2011");
        QVERIFY(empty.ok());
        QCOMPARE(empty.value().bars().size(), 12);
        QCOMPARE(empty.value().total().text(), QStringLiteral("无统计数字"));
    }

    void missingStoreFails()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        QVERIFY(
            !TakingsSeries::monthsOfYear(ArchiveStore(folder.paths().archiveFile), "2009").ok());
    }
};

QTEST_GUILESS_MAIN(TestTakingsSeries)
#include "TestTakingsSeries.moc"
