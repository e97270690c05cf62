#include "core/store/ArchiveStore.h"
#include "core/store/StoreConnection.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <limits>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

namespace {

PrescriptionRecord record(const QString& key, const QString& name, const QString& date)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = date;
    r.sex = QStringLiteral("男");
    r.fee = Money::fromLeadingNumber(QStringLiteral("12.5"));
    r.body = QStringLiteral("{\\rtf1 x}");
    return r;
}

QStringList texts(const QList<ArchiveEntry>& entries)
{
    QStringList list;
    for (const ArchiveEntry& e : entries)
        list << e.text();
    return list;
}

} // namespace

class TestArchiveStore : public QObject
{
    Q_OBJECT
private slots:
    void freshStoreHasColumnsInOrderAndEmptyPassword()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        QCOMPARE(store.loginPassword().value(), QString());
        QSqlDatabase db = store.file().database().value();
        const QSqlRecord columns = db.record(QStringLiteral("档案"));
        QStringList names;
        for (int i = 0; i < columns.count(); ++i)
            names << columns.fieldName(i);
        // A server's table carries its row id as a last column of its own.
        const QString rowId = TestStores::onServer() ? QStringLiteral(",rowid") : QString();
        QCOMPARE(names.join(QLatin1Char(',')),
                 QStringLiteral("名称,姓名,性别,年龄,日期,诊断,地址,处方,医生,配药,收费") + rowId);
    }

    void recordRoundTripKeepsEveryField()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        PrescriptionRecord r = record(QStringLiteral("2009-03-01 09:05:07"), QStringLiteral("张三"),
                                      QStringLiteral("2009-03-01"));
        r.age = QStringLiteral("45");
        r.diagnosis = QStringLiteral("上呼吸道感染");
        r.address = QStringLiteral("东街村");
        r.doctor = QStringLiteral("王医生");
        r.dispenser = QStringLiteral("李");
        const StoreResult<qint64> added = store.add(r);
        QVERIFY(added.ok());
        const auto loaded = store.recordAt(added.value());
        QVERIFY(loaded.ok() && loaded.value().has_value());
        const PrescriptionRecord& back = *loaded.value();
        QCOMPARE(back.key, r.key);
        QCOMPARE(back.name, r.name);
        QCOMPARE(back.age, r.age);
        QCOMPARE(back.diagnosis, r.diagnosis);
        QCOMPARE(back.address, r.address);
        QCOMPARE(back.doctor, r.doctor);
        QCOMPARE(back.dispenser, r.dispenser);
        QCOMPARE(back.body, r.body);
        QCOMPARE(back.fee->toPlainString(), QStringLiteral("12.5"));
        QCOMPARE(store.firstEntries(100).value().first().text(),
                 QStringLiteral("张三[2009-03-01 09:05:07]"));
    }

    void emptyFeeStaysEmpty()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        PrescriptionRecord r = record(QStringLiteral("2009-03-01 09:05:07"), QString(), QString());
        r.fee.reset();
        const qint64 row = store.add(r).value();
        QVERIFY(!store.recordAt(row).value()->fee.has_value());
        QCOMPARE(store.recordAt(row).value()->name, QString(QLatin1String("")));
    }

    void tooLongValueIsRefused()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        PrescriptionRecord r = record(QStringLiteral("2009-03-01 09:05:07"),
                                      QStringLiteral("一二三四五六七八九十"), QString());
        QVERIFY(store.add(r).ok());
        r.name += QStringLiteral("一");
        QVERIFY(!store.add(r).ok());
        QCOMPARE(store.firstEntries(100).value().size(), 1);
    }

    void naturalOrderIsInsertionOrder()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        QList<qint64> rows;
        for (const char* name : {"甲", "乙", "丙", "丁"})
            rows << store
                        .add(record(QStringLiteral("2009-03-0%1 08:00:00").arg(rows.size() + 1),
                                    QString::fromUtf8(name), QStringLiteral("2009-03-01")))
                        .value();
        QVERIFY(store.remove(rows[1], QStringLiteral("2009-03-02 08:00:00")).ok());
        QVERIFY(store.remove(rows[3], QStringLiteral("2009-03-04 08:00:00")).ok());
        test::setUp(store.add(record(QStringLiteral("2009-01-01 08:00:00"), QStringLiteral("戊"),
                                     QStringLiteral("2009-03-01"))));
        QCOMPARE(texts(store.firstEntries(100).value()),
                 QStringList({QStringLiteral("甲[2009-03-01 08:00:00]"),
                              QStringLiteral("丙[2009-03-03 08:00:00]"),
                              QStringLiteral("戊[2009-01-01 08:00:00]")}));
        QCOMPARE(store.firstEntries(2).value().size(), 2);
    }

    // More lines than one read holds, newest first: each comes back in its place, the record
    // removed since left out.
    void entriesComeInTheOrderAsked()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        QList<qint64> rows;
        for (int i = 0; i < 70; ++i) {
            const QString key = QStringLiteral("2009-03-01 08:%1").arg(i, 5, 10, QChar('0'));
            rows.prepend(store.add(record(key, QStringLiteral("甲"), key.left(10))).value());
        }
        QVERIFY(store.remove(rows.at(1), QStringLiteral("2009-03-01 08:00068")).ok());
        const QList<ArchiveEntry> read = store.entriesOf(rows).value();
        QCOMPARE(read.size(), rows.size() - 1);
        for (int i = 0; i < int(read.size()); ++i)
            QCOMPARE(read.at(i).rowId, rows.at(i < 1 ? i : i + 1));
    }

    void sameKeyTwiceBothStoredAndRemovedSeparately()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        const QString key = QStringLiteral("2009-05-10 08:03:09");
        const qint64 first = store.add(record(key, QStringLiteral("甲"), QString())).value();
        const qint64 second = store.add(record(key, QStringLiteral("乙"), QString())).value();
        QCOMPARE(store.firstRecordWithKey(key).value()->name, QStringLiteral("甲"));
        QVERIFY(store.remove(second, key).ok());
        QCOMPARE(texts(store.firstEntries(10).value()), QStringList({"甲[" + key + "]"}));
        // A row whose key no longer matches is left alone.
        QVERIFY(!store.remove(first, QStringLiteral("2009-05-10 08:03:10")).ok());
        QCOMPARE(store.firstEntries(10).value().size(), 1);
    }

    void searchMatchesNameAnywhereAndDatePrefix()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        test::setUp(store.add(record(QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("张三"),
                                     QStringLiteral("2009-03-25"))));
        test::setUp(store.add(record(QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("李四"),
                                     QStringLiteral("2009-3-25"))));
        test::setUp(store.add(record(QStringLiteral("2009-04-01 09:00:00"), QStringLiteral("王三"),
                                     QStringLiteral("2009-04-01"))));
        test::setUp(store.add(record(QStringLiteral("2009-04-02 09:00:00"),
                                     QStringLiteral("O'Neil"), QStringLiteral("2009-04-02"))));
        test::setUp(store.add(record(QStringLiteral("2009-04-03 09:00:00"), QStringLiteral("Amy"),
                                     QStringLiteral("2009-04-03"))));
        QCOMPARE(store.search(QStringLiteral("三"), QString()).value().size(), 2);
        QCOMPARE(store.search(QString(), QStringLiteral("2009-03")).value().size(), 1);
        QCOMPARE(store.search(QString(), QStringLiteral("2009-03-25")).value().size(), 1);
        QCOMPARE(store.search(QString(), QString()).value().size(), 5);
        // A quote is an ordinary character; case of Latin letters does not matter.
        QCOMPARE(store.search(QStringLiteral("'"), QString()).value().size(), 1);
        QCOMPARE(store.search(QStringLiteral("o'n"), QString()).value().size(), 1);
        QCOMPARE(store.firstRecordWithKey(QStringLiteral("2009-04-03 09:00:00")).value()->name,
                 QStringLiteral("Amy"));
        // "%" and "_" keep their wildcard meaning.
        QCOMPARE(store.search(QStringLiteral("张_"), QString()).value().size(), 1);
    }

    // A backslash is an ordinary character, as are quotes; only "%" and "_" are wildcards.
    void backslashAndWildcardsMeanTheSameOnEveryEngine()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        test::setUp(store.add(record(QStringLiteral("2009-04-02 09:00:00"), QStringLiteral("A\\B"),
                                     QStringLiteral("2009-04-02"))));
        test::setUp(store.add(record(QStringLiteral("2009-04-03 09:00:00"), QStringLiteral("A_%B"),
                                     QStringLiteral("2009-04-03"))));
        test::setUp(store.add(record(QStringLiteral("2009-04-04 09:00:00"), QStringLiteral("AB"),
                                     QStringLiteral("2009-04-04"))));
        QCOMPARE(texts(store.search(QStringLiteral("a\\b"), QString()).value()),
                 QStringList({QStringLiteral("A\\B[2009-04-02 09:00:00]")}));
        QCOMPARE(store.search(QStringLiteral("a\\"), QString()).value().size(), 1);
        QCOMPARE(store.search(QStringLiteral("a_b"), QString()).value().size(), 1);
        QCOMPARE(store.search(QStringLiteral("a%b"), QString()).value().size(), 3);
        QCOMPARE(
            store.searchRows(QStringLiteral("A%B"), QStringLiteral("2009-04-0_")).value().size(),
            3);
    }

    // Fees come back to the ten-thousandth, across the whole range of the fee.
    void feesAreExactAtTheEdges()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        const QList<Money> fees = {Money::fromUnits(1), Money::fromUnits(123456),
                                   Money::fromUnits(-50000),
                                   Money::fromUnits(std::numeric_limits<qint64>::max()),
                                   Money::fromUnits(std::numeric_limits<qint64>::min() + 1)};
        QList<qint64> rows;
        for (const Money& fee : fees) {
            PrescriptionRecord r = record(QStringLiteral("2009-04-02 09:00:00"),
                                          QStringLiteral("甲"), QStringLiteral("2009-04-02"));
            r.fee = fee;
            const StoreResult<qint64> added = store.add(r);
            QVERIFY2(added.ok(), qPrintable(added.error()));
            rows << added.value();
        }
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(store.recordAt(rows[i]).value()->fee, std::optional<Money>(fees[i]));
        QList<std::optional<Money>> read;
        QVERIFY(store
                    .readFees({VisitDates::Match::Exact, QStringLiteral("2009-04-02")},
                              [&read](const std::optional<Money>& fee) { read << fee; })
                    .ok());
        QCOMPARE(read.size(), fees.size());
        for (const Money& fee : fees)
            QVERIFY(read.contains(std::optional<Money>(fee)));
    }

    void equalityIgnoresLatinCase()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        test::setUp(store.add(record(QStringLiteral("2009-04-03 09:00:00"), QStringLiteral("Amy"),
                                     QStringLiteral("2009-04-03"))));
        QSqlDatabase db = store.file().database().value();
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM \"档案\" WHERE \"姓名\" = 'AMY'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

    void keyIsCutFromEntryText()
    {
        QCOMPARE(ArchiveEntry::keyFromText(QStringLiteral("张三[2009-03-01 09:05:07]")),
                 QStringLiteral("2009-03-01 09:05:07"));
        QCOMPARE(ArchiveEntry::keyFromText(QStringLiteral("[2009-03-01 09:05:07]")),
                 QStringLiteral("2009-03-01 09:05:07"));
        QCOMPARE(ArchiveEntry::keyFromText(QStringLiteral("short")), QString());
    }

    void missingOrDamagedStoreFailsWithoutCreatingIt()
    {
        if (TestStores::onServer())
            QSKIP("a store file of its own");
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        ArchiveStore missing(folder.paths().archiveFile);
        QVERIFY(!missing.firstEntries(10).ok());
        QVERIFY(!missing.add(record(QStringLiteral("k"), QString(), QString())).ok());
        QVERIFY(!QFile::exists(folder.paths().archiveFile));

        QDir().mkpath(folder.paths().dataFolder);
        QFile damaged(folder.paths().archiveFile);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("this is not a store at all, just some bytes");
        damaged.close();
        ArchiveStore broken(folder.paths().archiveFile);
        QVERIFY(!broken.loginPassword().ok());
        QVERIFY(!broken.search(QStringLiteral("a"), QString()).ok());
    }

    void loginPasswordRewritesTheSingleRow()
    {
        TestStores stores;
        ArchiveStore store = stores.archive();
        QVERIFY(store.setLoginPassword(QStringLiteral("Secret")).ok());
        QVERIFY(store.setLoginPassword(QStringLiteral("again")).ok());
        QCOMPARE(store.loginPassword().value(), QStringLiteral("again"));
        QSqlQuery q(store.file().database().value());
        q.exec(QStringLiteral("SELECT count(*) FROM \"密码\""));
        q.next();
        QCOMPARE(q.value(0).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestArchiveStore)
#include "TestArchiveStore.moc"
