#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "support/TestStores.h"

#include <QFile>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::TestStores;

class TestLookupNames : public QObject
{
    Q_OBJECT

    static QStringList names(const SettingsStore& store, ReferenceList list, const QString& code,
                             SettingsStore::CodeMatch match)
    {
        const auto found = store.names(list, code, match);
        if (!found.ok())
            qFatal("lookup failed: %s", qPrintable(found.error()));
        return found.value().toStringList();
    }

private slots:
    void matchesAsTheStoreDoes()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("东湖"), QStringLiteral("dh")));
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("城东"), QStringLiteral("cd")));
        QVERIFY(BoundQuery::run(
                    store.file(),
                    QStringLiteral("INSERT INTO \"地址\" (\"名称\", \"拼音\") VALUES (?, NULL)"),
                    {QStringLiteral("无码")})
                    .ok());
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("大屯"), QStringLiteral("DT")));
        test::setUp(
            store.add(ReferenceList::Diagnoses, QStringLiteral("胆囊炎"), QStringLiteral("dny")));

        using M = SettingsStore::CodeMatch;
        const auto addresses = ReferenceList::Addresses;
        QCOMPARE(names(store, addresses, QStringLiteral("d"), M::Prefix),
                 QStringList({"东湖", "大屯"}));
        QCOMPARE(names(store, addresses, QStringLiteral("d"), M::Contains),
                 QStringList({"东湖", "城东", "大屯"}));
        // An empty code lists every entry whose code is set, in the order they were added.
        QCOMPARE(names(store, addresses, QString(), M::Prefix),
                 QStringList({"东湖", "城东", "大屯"}));
        QCOMPARE(names(store, ReferenceList::Diagnoses, QString(), M::Contains),
                 QStringList({"胆囊炎"}));
        // "_" and "%" typed into a field keep acting as wildcards.
        QCOMPARE(names(store, addresses, QStringLiteral("_h"), M::Prefix), QStringList({"东湖"}));
        QCOMPARE(names(store, addresses, QStringLiteral("%d"), M::Prefix),
                 QStringList({"东湖", "城东", "大屯"}));
        QCOMPARE(names(store, addresses, QStringLiteral("d_"), M::Contains),
                 QStringList({"东湖", "大屯"}));
        // Each case of the typed code finds the same names, as the store's own lookups do.
        for (M match : {M::Prefix, M::Contains}) {
            for (const QString& code : {QStringLiteral("dh"), QStringLiteral("DH"),
                                        QStringLiteral("d'"), QStringLiteral("dn")}) {
                const auto viaStore = match == M::Prefix ? store.codeStartsWith(addresses, code)
                                                         : store.codeContains(addresses, code);
                QStringList expected;
                for (const ReferenceEntry& entry : viaStore.value())
                    expected << entry.name();
                QCOMPARE(names(store, addresses, code, match), expected);
            }
        }
    }

    // A word an input method committed finds the names holding it besides the codes it
    // matches, in store order; Latin letters stay a code lookup.
    void chineseTextAlsoFindsNames()
    {
        TestStores stores;
        SettingsStore store = stores.settings();
        const auto diagnoses = ReferenceList::Diagnoses;
        test::setUp(store.add(diagnoses, QStringLiteral("原发性高血压"), QStringLiteral("yfxgxy")));
        test::setUp(store.add(diagnoses, QStringLiteral("高血压病"), QStringLiteral("gxyb")));
        test::setUp(store.add(diagnoses, QStringLiteral("高血"), QStringLiteral("高血压")));
        const QStringList all{"原发性高血压", "高血压病", "高血"};
        QCOMPARE(
            names(store, diagnoses, QStringLiteral("高血压"), SettingsStore::CodeMatch::Prefix),
            all);
        QCOMPARE(names(store, diagnoses, QStringLiteral("g"), SettingsStore::CodeMatch::Prefix),
                 QStringList({"高血压病"}));
    }

    void missingStoreFails()
    {
        if (TestStores::onServer())
            QSKIP("a store file of its own");
        TestProgramFolder folder;
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(folder.paths().settingsFile));
        const auto found = folder.context().settings().names(
            ReferenceList::Diagnoses, QStringLiteral("a"), SettingsStore::CodeMatch::Prefix);
        QVERIFY(!found.ok());
    }
};

QTEST_MAIN(TestLookupNames)
#include "TestLookupNames.moc"
