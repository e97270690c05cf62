#include "core/settings/ClinicSettings.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/file/StoreSchema.h"
#include "support/SetUp.h"
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
        test::setUp(store.add(ReferenceList::Drugs, QStringLiteral("阿莫西林片 0.25×24/0.5 tid"),
                              QStringLiteral("amxlp")));
        test::setUp(
            store.add(ReferenceList::Drugs, QStringLiteral("克拉霉素片"), QStringLiteral("klmsp")));
        test::setUp(
            store.add(ReferenceList::Drugs, QStringLiteral("氨茶碱片"), QStringLiteral("acjp")));
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

    // Two rooms on one store: a drug changed in the other room since this one read it is not
    // written over unasked (a change of case counts), the same edit made twice is no conflict,
    // and a drug gone is told as gone.
    void anEntryChangedElsewhereIsNeverWrittenOverUnasked()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const qint64 row =
            store.add(ReferenceList::Drugs, QStringLiteral("Amoxicillin"), QStringLiteral("amx"))
                .value();
        const ReferenceEntry read = store.entry(ReferenceList::Drugs, row).value().value();
        const QString where = QStringLiteral(" WHERE rowid = %1").arg(row);
        QVERIFY(stores.runElsewhere(QStringLiteral("UPDATE \"药品\" SET \"名称\" = 'AMOXICILLIN'") +
                                    where));
        const auto refused = store.updateIfUnchanged(
            ReferenceList::Drugs, read, QStringLiteral("阿莫西林"), QStringLiteral("amx"));
        QVERIFY(refused.ok() && refused.value());
        QCOMPARE(refused.value()->name(), QStringLiteral("AMOXICILLIN"));
        QCOMPARE(store.entry(ReferenceList::Drugs, row).value()->name(),
                 QStringLiteral("AMOXICILLIN"));
        // Kept over theirs, knowingly: written against the entry as it now stands.
        const auto kept =
            store.updateIfUnchanged(ReferenceList::Drugs, *refused.value(),
                                    QStringLiteral("阿莫西林"), QStringLiteral("amx"));
        QVERIFY(kept.ok() && !kept.value());
        QVERIFY(
            stores.runElsewhere(QStringLiteral("UPDATE \"药品\" SET \"拼音\" = 'AMX'") + where));
        QVERIFY(!store
                     .updateIfUnchanged(ReferenceList::Drugs, *refused.value(),
                                        QStringLiteral("阿莫西林"), QStringLiteral("AMX"))
                     .value());
        QVERIFY(stores.runElsewhere(QStringLiteral("DELETE FROM \"药品\"") + where));
        QCOMPARE(store
                     .updateIfUnchanged(ReferenceList::Drugs, read, QStringLiteral("x"),
                                        QStringLiteral("x"))
                     .fault(),
                 StoreFault::NoRow);
    }

    // Two rooms in 基本设置: a save writes only what this room changed, so the other room's new
    // clinic name stays; a value both changed, the password too, waits for the user's answer.
    void settingsWriteOnlyWhatChangedAndAskAboutTheRest()
    {
        TestStores stores;
        ClinicSettings room(stores.settings(), stores.archive());
        QVERIFY(room.refreshAll().ok());
        room.edit(ClinicSettings::Doctor, QStringLiteral("李医生"));
        QVERIFY(stores.runElsewhere(QStringLiteral("UPDATE \"设置\" SET \"名称\" = '新诊所'")));
        QVERIFY(room.save().ok());
        SettingsRecord stored = stores.settings().settings().value();
        QCOMPARE(stored.clinicName, QStringLiteral("新诊所"));
        QCOMPARE(stored.doctor, QStringLiteral("李医生"));

        room.edit(ClinicSettings::Dispenser, QStringLiteral("张"));
        room.edit(ClinicSettings::Password, QStringLiteral("mine"));
        QVERIFY(stores.runElsewhere(QStringLiteral("UPDATE \"设置\" SET \"配药\" = '赵'")));
        QVERIFY(
            stores.runElsewhere(QStringLiteral("UPDATE \"密码\" SET \"密码\" = 'theirs'"), true));
        ClinicSettings::Saved asked = room.save();
        QCOMPARE(asked.conflicts.size(), 2);
        QCOMPARE(asked.conflicts[0].field, ClinicSettings::Dispenser);
        QCOMPARE(asked.conflicts[0].theirs, QStringLiteral("赵"));
        QVERIFY(asked.conflicts[1].field == ClinicSettings::Password &&
                asked.conflicts[1].theirs.isEmpty());
        QCOMPARE(stores.settings().settings().value().dispenser, QStringLiteral("赵"));
        room.keepMine(ClinicSettings::Dispenser);
        room.takeTheirs(ClinicSettings::Password);
        QVERIFY(room.save().ok());
        QCOMPARE(stores.settings().settings().value().dispenser, QStringLiteral("张"));
        QCOMPARE(stores.archive().loginPassword().value(), QStringLiteral("theirs"));
    }

    void nullCodeListedButNeverMatched()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        QSqlQuery q(store.file().database().value());
        QVERIFY(q.exec(QStringLiteral("INSERT INTO \"地址\" (\"名称\") VALUES ('无码村')")));
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("东街村"), QStringLiteral("djc")));
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
