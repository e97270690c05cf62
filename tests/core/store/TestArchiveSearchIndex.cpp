#include "core/store/ArchiveStore.h"
#include "core/store/BoundQuery.h"
#include "core/store/StoreFile.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

const QString kSearch =
    QStringLiteral("SELECT rowid, [姓名], [名称] FROM [档案] WHERE [姓名] LIKE ? "
                   "AND [日期] LIKE ? ORDER BY +rowid");

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

QString planOf(const StoreFile& file, const QString& name, const QString& date)
{
    QStringList steps;
    const StoreStatus read = BoundQuery::read(
        file, QStringLiteral("EXPLAIN QUERY PLAN ") + kSearch,
        {QStringLiteral("%") + name + QStringLiteral("%"), date + QStringLiteral("%")},
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

    // A search by name alone must not read the records' bodies: on a large archive that is
    // the difference between a few and a hundred milliseconds.
    void aSearchNeverWalksTheTable()
    {
        TestProgramFolder folder;
        const ArchiveStore store(folder.paths().archiveFile);
        const StoreFile& file = store.file();
        const QString byName = planOf(file, QStringLiteral("王"), QString());
        QVERIFY2(byName.contains(QStringLiteral("COVERING INDEX 档案_姓名")), qPrintable(byName));
        const QString byDate = planOf(file, QString(), QStringLiteral("2009-03"));
        QVERIFY2(byDate.contains(QStringLiteral("SEARCH 档案 USING")), qPrintable(byDate));
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
        StoreFile::closeAll();
        ArchiveStore store(path);
        add(store, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("王三"));
        const QString plan = planOf(store.file(), QStringLiteral("王"), QString());
        QVERIFY2(plan.contains(QStringLiteral("COVERING INDEX 档案_姓名")), qPrintable(plan));
        QCOMPARE(texts(store.search(QStringLiteral("王"), QString())),
                 QStringList{QStringLiteral("王三[2009-03-01 08:00:00]")});
    }
};

QTEST_MAIN(TestArchiveSearchIndex)
#include "TestArchiveSearchIndex.moc"
