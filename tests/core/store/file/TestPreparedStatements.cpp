#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/DirectRows.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/sql/BoundQuery.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <functional>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

namespace {

const QString kCodes =
    QStringLiteral("SELECT \"拼音\" FROM \"诊断\" WHERE \"拼音\" LIKE ? ORDER BY rowid");

QStringList codesLike(const StoreConnection& file, const QString& pattern)
{
    QStringList codes;
    const StoreStatus read = BoundQuery::read(
        file, kCodes, {pattern}, [&](const QSqlQuery& q) { codes << q.value(0).toString(); });
    return read.ok() ? codes : QStringList{QStringLiteral("failed: ") + read.error()};
}

QStringList directCodesLike(const StoreConnection& file, const QString& pattern,
                            const std::function<void()>& eachRow = {})
{
    QStringList codes;
    const StoreStatus read = DirectRows::read(file, kCodes, {pattern}, [&](const DirectRow& r) {
        codes << r.text(0);
        if (eachRow)
            eachRow();
    });
    return read.ok() ? codes : QStringList{QStringLiteral("failed: ") + read.error()};
}

// A second, independent connection to the same file, as another program would have.
class OtherConnection
{
public:
    explicit OtherConnection(const QString& path)
        : m_name(QStringLiteral("other-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        db.open();
    }
    ~OtherConnection() { QSqlDatabase::removeDatabase(m_name); }

    // True when this connection could take the write lock, that is when no read stays open.
    bool canLockForWriting()
    {
        QSqlDatabase db = QSqlDatabase::database(m_name);
        QSqlQuery query(db);
        const bool locked = query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        query.exec(QStringLiteral("ROLLBACK"));
        return locked;
    }

private:
    QString m_name;
};

} // namespace

class TestPreparedStatements : public QObject
{
    Q_OBJECT
private slots:
    // An empty text goes in as an empty text, whichever path the statement takes: a NULL would
    // drop out of the LIKE every search makes.
    void emptyTextIsStoredAsTextNotNull()
    {
        TestStores stores;
        SettingsStore settings = stores.settings();
        const StoreConnection& file = settings.file();
        QVERIFY(BoundQuery::run(
                    file, QStringLiteral("INSERT INTO \"诊断\" (\"名称\", \"拼音\") VALUES (?, ?)"),
                    {QStringLiteral("甲"), QString()})
                    .ok());
        QVERIFY(BoundQuery::change(
                    file, QStringLiteral("UPDATE \"诊断\" SET \"名称\" = ? WHERE \"名称\" = ?"),
                    {QString(), QStringLiteral("甲")})
                    .ok());
        int nulls = -1;
        QVERIFY(
            BoundQuery::read(file,
                             QStringLiteral("SELECT COUNT(*) FROM \"诊断\" WHERE \"名称\" IS NULL "
                                            "OR \"拼音\" IS NULL"),
                             {}, [&](const QSqlQuery& q) { nulls = q.value(0).toInt(); })
                .ok());
        QCOMPARE(nulls, 0);
        QCOMPARE(codesLike(file, QStringLiteral("%")).size(), 1);
        // The direct reads bind the same way: an empty text finds the empty name.
        qint64 empty = -1;
        QVERIFY(DirectRows::read(file,
                                 QStringLiteral("SELECT COUNT(*) FROM \"诊断\" WHERE \"名称\" = ?"),
                                 {QString()}, [&](const DirectRow& r) { empty = r.integer(0); })
                    .ok());
        QCOMPARE(empty, 1);
    }

    void repeatedReadsFollowTheStoreAndLeaveNoReadOpen()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        QVERIFY(
            store.add(ReferenceList::Diagnoses, QStringLiteral("高血压病"), QStringLiteral("gxyb"))
                .ok());
        QCOMPARE(codesLike(store.file(), QStringLiteral("g%")),
                 QStringList{QStringLiteral("gxyb")});

        // The kept statement sees rows added since, and other values bound.
        QVERIFY(
            store.add(ReferenceList::Diagnoses, QStringLiteral("感冒"), QStringLiteral("gm")).ok());
        QCOMPARE(codesLike(store.file(), QStringLiteral("g%")),
                 (QStringList{QStringLiteral("gxyb"), QStringLiteral("gm")}));
        QCOMPARE(codesLike(store.file(), QStringLiteral("gm%")), QStringList{QStringLiteral("gm")});

        // A read that stops after its first row (a record by key) leaves nothing open either.
        if (TestStores::onServer())
            return;
        OtherConnection other(stores.folder().paths().settingsFile);
        QVERIFY(other.canLockForWriting());
        QVERIFY(store.codeStartsWith(ReferenceList::Diagnoses, QStringLiteral("g"), 1).ok());
        QVERIFY(other.canLockForWriting());
    }

    void aReadInsideTheSameReadGetsItsOwnStatement()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        for (const char* code : {"aa", "ab", "b"})
            QVERIFY(store
                        .add(ReferenceList::Diagnoses, QString::fromLatin1(code),
                             QString::fromLatin1(code))
                        .ok());
        QStringList pairs;
        const StoreStatus outer =
            BoundQuery::read(store.file(), kCodes, {QStringLiteral("a%")}, [&](const QSqlQuery& q) {
                const QString first = q.value(0).toString();
                for (const QString& second : codesLike(store.file(), QStringLiteral("%")))
                    pairs << first + QLatin1Char('-') + second;
            });
        QVERIFY(outer.ok());
        QCOMPARE(pairs, (QStringList{"aa-aa", "aa-ab", "aa-b", "ab-aa", "ab-ab", "ab-b"}));
        QCOMPARE(codesLike(store.file(), QStringLiteral("b%")), QStringList{QStringLiteral("b")});
    }

    // The same for the statements read straight through the library, and none stays open.
    void aDirectReadInsideTheSameDirectReadGetsItsOwnStatement()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        for (const char* code : {"aa", "b"})
            QVERIFY(store
                        .add(ReferenceList::Diagnoses, QString::fromLatin1(code),
                             QString::fromLatin1(code))
                        .ok());
        QStringList inner;
        const QStringList outer = directCodesLike(store.file(), QStringLiteral("%"), [&] {
            inner << directCodesLike(store.file(), QStringLiteral("b%"));
        });
        QCOMPARE(outer, (QStringList{"aa", "b"}));
        QCOMPARE(inner, (QStringList{"b", "b"}));
        QCOMPARE(directCodesLike(store.file(), QStringLiteral("a%")), QStringList{"aa"});
        if (TestStores::onServer())
            return;
        OtherConnection other(stores.folder().paths().settingsFile);
        QVERIFY(other.canLockForWriting());
    }

    void aStoreReplacedOnDiskIsReadAfresh()
    {
        if (TestStores::onServer())
            QSKIP("a store file of its own");
#ifdef Q_OS_WIN
        QSKIP("Windows removes no store this program holds open; nobody can replace it meanwhile");
#endif
        TestProgramFolder folder;
        const QString path = folder.paths().settingsFile;
        SettingsStore store(path);
        QVERIFY(
            store.add(ReferenceList::Diagnoses, QStringLiteral("旧"), QStringLiteral("old")).ok());
        QCOMPARE(codesLike(store.file(), QStringLiteral("%")), QStringList{QStringLiteral("old")});

        QVERIFY(QFile::remove(path));
        QVERIFY(!store.codeContains(ReferenceList::Diagnoses, QString()).ok());
        QVERIFY(StoreSchema::createSettingsStore(path, false).ok());
        QVERIFY(
            store.add(ReferenceList::Diagnoses, QStringLiteral("新"), QStringLiteral("new")).ok());
        QCOMPARE(codesLike(store.file(), QStringLiteral("%")), QStringList{QStringLiteral("new")});
    }

    void aTextThatDoesNotCompileFailsEveryTime()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const QString broken = QStringLiteral("SELECT \"拼音\" FROM \"没有这个表\"");
        for (int i = 0; i < 2; ++i) {
            bool called = false;
            const StoreStatus read = BoundQuery::read(store.file(), broken, {},
                                                      [&](const QSqlQuery&) { called = true; });
            QVERIFY(!read.ok());
            QVERIFY(!called);
        }
        QVERIFY(store.all(ReferenceList::Diagnoses).ok());
    }

    // Writes keep their statements too: each use reports its own row, and a write that failed
    // leaves the next one with the same text working.
    void keptWritesReportTheirOwnRow()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const auto first = store.add(ReferenceList::Diagnoses, QStringLiteral("甲"), "j");
        const auto second = store.add(ReferenceList::Diagnoses, QStringLiteral("乙"), "y");
        QVERIFY(first.ok() && second.ok());
        QVERIFY(second.value() > first.value());
        QVERIFY(!store.add(ReferenceList::Diagnoses, QString(1000, QChar(u'长')), "c").ok());
        const auto third = store.add(ReferenceList::Diagnoses, QStringLiteral("丙"), "b");
        QVERIFY(third.ok());
        QVERIFY(third.value() > second.value());
        // A change that reaches no row fails; the same statement then changes the row it names.
        QVERIFY(!store.remove(ReferenceList::Diagnoses, third.value() + 100).ok());
        QVERIFY(store.remove(ReferenceList::Diagnoses, first.value()).ok());
        QCOMPARE(codesLike(store.file(), QStringLiteral("%")),
                 (QStringList{QStringLiteral("y"), QStringLiteral("b")}));
        QVERIFY(!store.remove(ReferenceList::Diagnoses, first.value()).ok());
    }
};

QTEST_MAIN(TestPreparedStatements)
#include "TestPreparedStatements.moc"
