#include "core/reports/ReportPeriod.h"
#include "core/store/ArchiveStore.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/VisitStatements.h"
#include "support/TestProgramFolder.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

QString planOf(const StoreConnection& file, const QString& sql, const ReportPeriod& period)
{
    QStringList steps;
    const StoreStatus read = BoundQuery::read(
        file, QStringLiteral("EXPLAIN QUERY PLAN ") + sql, {VisitStatements::value(period.dates())},
        [&steps](const QSqlQuery& query) { steps << query.value(3).toString(); });
    if (!read.ok())
        return read.error();
    return steps.join(QLatin1Char('\n'));
}

} // namespace

class TestReportPeriod : public QObject
{
    Q_OBJECT
private slots:
    void partsAreJoinedAsTyped()
    {
        QCOMPARE(ReportPeriod::day("2009", "03", "25").dateText(), QStringLiteral("2009-03-25"));
        QCOMPARE(ReportPeriod::day("2009", "3", " 5").dateText(), QStringLiteral("2009-3- 5"));
        QCOMPARE(ReportPeriod::day("", "", "").dates().text, QStringLiteral("--"));
        QVERIFY(ReportPeriod::day("", "", "").dates().match == VisitDates::Match::Exact);
        QCOMPARE(ReportPeriod::month("2009", "03").dates().text, QStringLiteral("2009-03"));
        QVERIFY(ReportPeriod::month("2009", "03").dates().match == VisitDates::Match::Prefix);
        QCOMPARE(VisitStatements::value(ReportPeriod::month("2009", "03").dates()),
                 QVariant(QStringLiteral("2009-03%")));
        QVERIFY(ReportPeriod::day("2009", "03", "25").isDay());
        QVERIFY(!ReportPeriod::month("2009", "03").isDay());
    }

    // Day and month reports must stay index searches on 日期 on a store of a million records,
    // whatever other indexes the store gains.
    void bothReportsSearchAnIndexOnTheDate()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        const QRegularExpression dateSearch(
            QStringLiteral("SEARCH 档案 USING (COVERING )?INDEX \\S+ \\(日期[=>]"));
        for (const ReportPeriod& period :
             {ReportPeriod::day("2009", "03", "25"), ReportPeriod::month("2009", "03")}) {
            for (const QString& sql : {VisitStatements::fees(store.file(), period.dates()),
                                       VisitStatements::datedFees(store.file(), period.dates()),
                                       VisitStatements::visits(store.file(), period.dates())}) {
                const QString plan = planOf(store.file(), sql, period);
                QVERIFY2(plan.contains(dateSearch), qPrintable(plan));
                QVERIFY2(!plan.contains(QStringLiteral("SCAN 档案")), qPrintable(plan));
            }
        }
    }
};

QTEST_MAIN(TestReportPeriod)
#include "TestReportPeriod.moc"
