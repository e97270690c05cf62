#include "core/store/SettingsStore.h"
#include "core/store/StoreSchema.h"
#include "support/TestStores.h"

#include <QSqlQuery>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestStores;

namespace {

QStringList names(const StoreResult<QList<ReferenceEntry>>& result)
{
    QStringList list;
    for (const ReferenceEntry& e : result.value())
        list << e.name();
    return list;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void freshSettingsRecord()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const SettingsRecord r = store.settings().value();
        QCOMPARE(r.topMargin, QStringLiteral("0"));
        QCOMPARE(r.leftMargin, QStringLiteral("0"));
        QCOMPARE(r.cardTopMargin, QStringLiteral("0"));
        QCOMPARE(r.cardLeftMargin, QStringLiteral("0"));
        QCOMPARE(r.dispenser, QString(QLatin1String("")));
        QCOMPARE(r.doctor, StoreSchema::kSampleDoctor);
        QCOMPARE(r.clinicName, StoreSchema::kSampleClinic);
        QVERIFY(store.all(ReferenceList::Drugs).value().isEmpty());
    }

    void settingsRewriteAndRefuseTooLong()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        SettingsRecord r{QStringLiteral("李医生"),      QStringLiteral("10"), QStringLiteral("20"),
                         QStringLiteral("5"),           QStringLiteral("6"),  QStringLiteral("张"),
                         QStringLiteral(" 城东卫生院 ")};
        QVERIFY(store.setSettings(r).ok());
        QCOMPARE(store.settings().value().clinicName, QStringLiteral(" 城东卫生院 "));
        r.doctor = QStringLiteral("一二三四五六七八九十十");
        QVERIFY(!store.setSettings(r).ok());
        QCOMPARE(store.settings().value().doctor, QStringLiteral("李医生"));
    }

    void codeLookupsPrefixContainsCaseAndOrder()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        store.add(ReferenceList::Drugs, QStringLiteral("阿莫西林片 0.25×24/0.5 tid"),
                  QStringLiteral("amxlp"));
        store.add(ReferenceList::Drugs, QStringLiteral("克拉霉素片"), QStringLiteral("klmsp"));
        store.add(ReferenceList::Drugs, QStringLiteral("氨茶碱片"), QStringLiteral("acjp"));
        QCOMPARE(names(store.codeContains(ReferenceList::Drugs, QStringLiteral("AMX"))),
                 QStringList({QStringLiteral("阿莫西林片 0.25×24/0.5 tid")}));
        QCOMPARE(names(store.codeContains(ReferenceList::Drugs, QStringLiteral("p"))).size(), 3);
        QCOMPARE(names(store.codeStartsWith(ReferenceList::Drugs, QStringLiteral("a"))),
                 QStringList(
                     {QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("氨茶碱片")}));
        QCOMPARE(store.codeContains(ReferenceList::Drugs, QString(), 2).value().size(), 2);
        QVERIFY(store.codeContains(ReferenceList::Drugs, QStringLiteral("'")).ok());
        QVERIFY(store.codeContains(ReferenceList::Drugs, QStringLiteral("'")).value().isEmpty());
    }

    void editAndDeleteReachExactlyTheirRow()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const qint64 a =
            store.add(ReferenceList::Diagnoses, QStringLiteral("感冒"), QStringLiteral("gm"))
                .value();
        const qint64 b =
            store.add(ReferenceList::Diagnoses, QStringLiteral("感冒"), QStringLiteral("gm"))
                .value();
        QVERIFY(
            store.update(ReferenceList::Diagnoses, b, QStringLiteral("流感"), QStringLiteral("lg"))
                .ok());
        QCOMPARE(names(store.all(ReferenceList::Diagnoses)),
                 QStringList({QStringLiteral("感冒"), QStringLiteral("流感")}));
        QVERIFY(store.remove(ReferenceList::Diagnoses, a).ok());
        QVERIFY(!store.remove(ReferenceList::Diagnoses, a).ok());
        QVERIFY(!store.update(ReferenceList::Diagnoses, a, QStringLiteral("x"), QString()).ok());
        QCOMPARE(names(store.all(ReferenceList::Diagnoses)), QStringList({QStringLiteral("流感")}));
    }

    void nullCodeListedButNeverMatched()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        QSqlQuery q(store.file().database().value());
        QVERIFY(q.exec(QStringLiteral("INSERT INTO \"地址\" (\"名称\") VALUES ('无码村')")));
        store.add(ReferenceList::Addresses, QStringLiteral("东街村"), QStringLiteral("djc"));
        const QList<ReferenceEntry> all = store.all(ReferenceList::Addresses).value();
        QCOMPARE(all.size(), 2);
        QVERIFY(!all[0].code().has_value());
        QCOMPARE(store.codeStartsWith(ReferenceList::Addresses, QString()).value().size(), 1);
    }

    // A list added in one go is added whole or not at all, and the store works on afterwards.
    void addAllIsAllOrNothing()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const ReferenceList list = ReferenceList::Addresses;
        QVERIFY(store.add(list, QStringLiteral("西街村"), QStringLiteral("xjc")).ok());
        QVERIFY(!store
                     .addAll(list, {{0, QStringLiteral("东街村"), QStringLiteral("djc")},
                                    {0, QString(1000, QChar(u'长')), QStringLiteral("c")}})
                     .ok());
        QCOMPARE(store.all(list).value().size(), 1);
        QVERIFY(store
                    .addAll(list, {{0, QStringLiteral("东街村"), QStringLiteral("djc")},
                                   {0, QStringLiteral("无码"), std::nullopt}})
                    .ok());
        const auto all = store.all(list);
        QCOMPARE(all.value().size(), 3);
        // A missing code goes in as an empty code, never as none.
        QCOMPARE(all.value()[2].code(), std::optional<QString>(QString()));
        QVERIFY(store.add(list, QStringLiteral("南街村"), QStringLiteral("njc")).ok());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "TestSettingsStore.moc"
