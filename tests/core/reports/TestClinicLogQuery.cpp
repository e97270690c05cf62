#include "core/reports/ClinicLogQuery.h"
#include "core/store/ArchiveStore.h"
#include "core/store/sql/BoundQuery.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

namespace {

void addVisit(ArchiveStore& store, const QString& key, const QString& name,
              const QString& date = QString())
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.sex = QStringLiteral("女");
    r.age = QStringLiteral("34");
    r.date = date.isNull() ? key.left(10) : date;
    r.diagnosis = QStringLiteral("上呼吸道感染");
    r.address = QStringLiteral("东街村");
    r.doctor = QStringLiteral("王医生");
    QVERIFY(store.add(r).ok());
}

QStringList names(const StoreResult<QList<ClinicLogRow>>& rows)
{
    QStringList list;
    if (!rows.ok())
        return {QStringLiteral("failed: ") + rows.error()};
    for (const ClinicLogRow& row : rows.value())
        list << row.name();
    return list;
}

} // namespace

class TestClinicLogQuery : public QObject
{
    Q_OBJECT
private slots:
    void rowHoldsTheRegisterFieldsAndAnEmptyNote()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-25 18:08:43"), QStringLiteral("李四"));
        const auto rows = ClinicLogQuery::rows(store, ReportPeriod::day("2009", "03", "25"));
        QVERIFY(rows.ok());
        QCOMPARE(rows.value().size(), 1);
        QCOMPARE(rows.value().first().cells(), (QStringList{"李四", "女", "34", "上呼吸道感染",
                                                            "东街村", "2009-03-25 18:08", ""}));
        QCOMPARE(ClinicLogRow::headings().size(), ClinicLogRow::kColumnCount);
    }

    void fieldsWithoutValueGiveEmptyCells()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        QVERIFY(
            BoundQuery::run(store.file(), "INSERT INTO \"档案\" (\"名称\", \"日期\") VALUES (?, ?)",
                            {QStringLiteral("2009-03-25 07:00:00"), QStringLiteral("2009-03-25")})
                .ok());
        QVERIFY(BoundQuery::run(store.file(), "INSERT INTO \"档案\" (\"日期\") VALUES (?)",
                                {QStringLiteral("2009-03-25")})
                    .ok());
        const auto rows = ClinicLogQuery::rows(store, ReportPeriod::day("2009", "03", "25"));
        QVERIFY(rows.ok());
        QCOMPARE(rows.value().size(), 2);
        // A record without a key sorts first; its every cell is empty.
        QCOMPARE(rows.value().at(0).cells(), QStringList(7, QString()));
        QCOMPARE(rows.value().at(1).visitTime(), QStringLiteral("2009-03-25 07:00"));
        QCOMPARE(rows.value().at(1).name(), QString());
    }

    void monthIsOrderedByKeyAcrossDays()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-01-31 08:00:00"), QStringLiteral("丁"));
        addVisit(store, QStringLiteral("2009-01-01 17:30:00"), QStringLiteral("甲"));
        addVisit(store, QStringLiteral("2009-02-01 08:00:00"), QStringLiteral("二月"));
        addVisit(store, QStringLiteral("2009-01-15 09:00:00"), QStringLiteral("丙"));
        addVisit(store, QStringLiteral("2009-01-01 08:15:00"), QStringLiteral("乙"));
        addVisit(store, QStringLiteral("2008-01-10 08:00:00"), QStringLiteral("去年"));
        QCOMPARE(names(ClinicLogQuery::rows(store, ReportPeriod::month("2009", "01"))),
                 (QStringList{"乙", "甲", "丙", "丁"}));
    }

    void equalKeysKeepTheOrderTheyWereSaved()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-03-25 10:00:00"), QStringLiteral("后"));
        addVisit(store, QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("第一"));
        addVisit(store, QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("第二"));
        addVisit(store, QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("第三"));
        QCOMPARE(names(ClinicLogQuery::rows(store, ReportPeriod::day("2009", "03", "25"))),
                 (QStringList{"第一", "第二", "第三", "后"}));
    }

    void datesAreMatchedAsText()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        addVisit(store, QStringLiteral("2009-01-05 08:00:00"), QStringLiteral("A"));
        addVisit(store, QStringLiteral("2009-01-06 08:00:00"), QStringLiteral("B"), "2009-1-6");
        QCOMPARE(names(ClinicLogQuery::rows(store, ReportPeriod::month("2009", "1"))),
                 QStringList{"B"});
        QCOMPARE(names(ClinicLogQuery::rows(store, ReportPeriod::day("2009", "01", "5"))),
                 QStringList());
        QCOMPARE(names(ClinicLogQuery::rows(store, ReportPeriod::day("2009", "01", "05"))),
                 QStringList{"A"});
    }

    void missingStoreIsAFailure()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        ArchiveStore store(folder.paths().archiveFile);
        QVERIFY(!ClinicLogQuery::rows(store, ReportPeriod::month("2009", "01")).ok());
    }
};

QTEST_MAIN(TestClinicLogQuery)
#include "TestClinicLogQuery.moc"
