#include "core/store/ArchiveStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/sql/BoundQuery.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

void add(ArchiveStore& store, const QString& key, const QString& name)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.body = QStringLiteral("{\\rtf1 很长的处方}");
    QVERIFY(store.add(r).ok());
}

QStringList texts(const StoreResult<QList<ArchiveEntry>>& found)
{
    QStringList list;
    for (const ArchiveEntry& e : found.value())
        list << e.text();
    return list;
}

// The plan of the very statement the store would run for this search.
QString planOf(const ArchiveStore& store, const QString& name, const QString& date,
               bool rowsOnly = false)
{
    const ArchiveStore::Statement statement = store.searchStatement(name, date, rowsOnly);
    QStringList steps;
    const StoreStatus read = BoundQuery::read(
        store.file(), QStringLiteral("EXPLAIN QUERY PLAN ") + statement.sql, statement.values,
        [&steps](const QSqlQuery& query) { steps << query.value(3).toString(); });
    if (!read.ok())
        return read.error();
    return steps.join(QLatin1Char('\n'));
}

} // namespace

class TestArchiveSearchIndex : public QObject
{
    Q_OBJECT
private slots:
    // The index is read in name order; the list must still come in the order of saving.
    void matchesComeInTheOrderTheyWereSaved()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        add(store, QStringLiteral("2009-03-02 08:00:00"), QStringLiteral("王五"));
        add(store, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("王三"));
        add(store, QStringLiteral("2009-04-01 08:00:00"), QStringLiteral("李王"));
        add(store, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("王三"));
        add(store, QStringLiteral("2009-03-05 08:00:00"), QStringLiteral("张三"));

        QCOMPARE(texts(store.search(QStringLiteral("王"), QString())),
                 (QStringList{"王五[2009-03-02 08:00:00]", "王三[2009-03-01 08:00:00]",
                              "李王[2009-04-01 08:00:00]", "王三[2009-03-01 08:00:00]"}));
        QCOMPARE(texts(store.search(QString(), QStringLiteral("2009-03"))),
                 (QStringList{"王五[2009-03-02 08:00:00]", "王三[2009-03-01 08:00:00]",
                              "王三[2009-03-01 08:00:00]", "张三[2009-03-05 08:00:00]"}));
        QCOMPARE(texts(store.search(QStringLiteral("三"), QStringLiteral("2009-03-01"))),
                 (QStringList{"王三[2009-03-01 08:00:00]", "王三[2009-03-01 08:00:00]"}));
        QCOMPARE(texts(store.search(QString(), QString())).size(), 5);
    }

    // No search may read the records' bodies: on a large archive that is the difference
    // between a few and a hundred milliseconds. Every shape of search the store chooses
    // between is planned as the store runs it.
    void aSearchNeverWalksTheTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one character") << "王"
                                       << ""
                                       << "档案_姓名字";
        QTest::newRow("two characters and a month") << "王三"
                                                    << "2009-03"
                                                    << "档案_姓名字";
        QTest::newRow("a wildcard alone") << "%"
                                          << ""
                                          << "COVERING INDEX 档案_姓名";
        QTest::newRow("a month") << ""
                                 << "2009-03"
                                 << "SEARCH 档案 USING";
        QTest::newRow("a name on a whole day") << "王"
                                               << "2009-03-01"
                                               << "SEARCH 档案 USING";
    }

    void aSearchNeverWalksTheTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, date);
        QFETCH(QString, expected);
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        add(store, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("王三"));
        for (const bool rowsOnly : {false, true}) {
            const QString plan = planOf(store, name, date, rowsOnly);
            QVERIFY2(plan.contains(expected), qPrintable(plan));
            // A bare scan of 档案 walks every record, bodies and all.
            QVERIFY2(!plan.contains(QRegularExpression(QStringLiteral("SCAN 档案($|\\n)"))),
                     qPrintable(plan));
        }
    }

    // A store written before the name index existed gets it when it is first opened.
    void anOlderStoreGetsTheNameIndex()
    {
        TestProgramFolder folder;
        const QString path = folder.paths().archiveFile;
        {
            const QString name = QStringLiteral("older-") + QUuid::createUuid().toString();
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery query(db);
                QVERIFY(query.exec(QStringLiteral("DROP INDEX [档案_姓名]")));
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
        StoreConnection::closeAll();
        ArchiveStore store(path);
        add(store, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("王三"));
        const QString plan = planOf(store, QStringLiteral("%"), QString());
        QVERIFY2(plan.contains(QStringLiteral("COVERING INDEX 档案_姓名")), qPrintable(plan));
        QCOMPARE(texts(store.search(QStringLiteral("王"), QString())),
                 QStringList{QStringLiteral("王三[2009-03-01 08:00:00]")});
    }
};

QTEST_MAIN(TestArchiveSearchIndex)
#include "TestArchiveSearchIndex.moc"
