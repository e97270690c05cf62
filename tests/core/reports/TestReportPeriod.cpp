#include "core/reports/ClinicLogQuery.h"
#include "core/reports/ReportPeriod.h"
#include "core/reports/WorkloadStatistics.h"
#include "core/store/ArchiveStore.h"
#include "core/store/BoundQuery.h"
#include "support/TestProgramFolder.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

QString planOf(const StoreFile& file, const QString& sql, const ReportPeriod& period)
{
    StoreResult<QSqlQuery> result =
        BoundQuery::run(file, QStringLiteral("EXPLAIN QUERY PLAN ") + sql, {period.boundValue()});
    if (!result.ok())
        return result.error();
    QSqlQuery query = result.takeValue();
    QStringList steps;
    while (query.next())
        steps << query.value(3).toString();
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
        QCOMPARE(ReportPeriod::day("", "", "").boundValue(), QVariant(QStringLiteral("--")));
        QCOMPARE(ReportPeriod::month("2009", "03").boundValue(),
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
            for (const QString& sql :
                 {WorkloadStatistics::statement(period), ClinicLogQuery::statement(period)}) {
                const QString plan = planOf(store.file(), sql, period);
                QVERIFY2(plan.contains(dateSearch), qPrintable(plan));
                QVERIFY2(!plan.contains(QStringLiteral("SCAN 档案")), qPrintable(plan));
            }
        }
    }
};

QTEST_MAIN(TestReportPeriod)
#include "TestReportPeriod.moc"
