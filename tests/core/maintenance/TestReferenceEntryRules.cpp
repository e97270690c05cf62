#include "core/maintenance/DrugEntryFields.h"
#include "core/maintenance/EntryCodeRules.h"
#include "core/maintenance/ReferenceLines.h"
#include "core/text/Pinyin.h"

#include <QTest>

using namespace quilloa;

class TestReferenceEntryRules : public QObject
{
    Q_OBJECT
private slots:
    void drugEntrySplitsAtTheFirstSlash_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("usage");
        QTest::newRow("name and usage") << "阿莫西林片 0.25×24/0.5 tid"
                                        << "阿莫西林片 0.25×24"
                                        << "0.5 tid";
        QTest::newRow("name alone") << "青霉素针 960万"
                                    << "青霉素针 960万"
                                    << "";
        QTest::newRow("slash inside") << "维生素B1/B6片/1片 tid"
                                      << "维生素B1"
                                      << "B6片/1片 tid";
        QTest::newRow("leading slash") << "/0.5 tid"
                                       << ""
                                       << "0.5 tid";
        QTest::newRow("trailing slash") << "头孢/"
                                        << "头孢"
                                        << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }

    void drugEntrySplitsAtTheFirstSlash()
    {
        QFETCH(QString, stored);
        const DrugEntryFields fields = DrugEntryFields::fromStored(stored);
        QTEST(fields.name(), "name");
        QTEST(fields.usage(), "usage");
    }

    void drugEntryJoinsUsageOnlyWhenThereIsSome()
    {
        QCOMPARE(DrugEntryFields(QStringLiteral("阿莫西林片 0.25×24"), QStringLiteral("0.5 tid"))
                     .stored(),
                 QStringLiteral("阿莫西林片 0.25×24/0.5 tid"));
        QCOMPARE(DrugEntryFields(QStringLiteral("青霉素针 960万"), QString()).stored(),
                 QStringLiteral("青霉素针 960万"));
        // Blanks are a usage: only a usage box with no character at all drops the "/".
        QCOMPARE(DrugEntryFields(QStringLiteral("甲"), QStringLiteral(" ")).stored(),
                 QStringLiteral("甲/ "));
        QCOMPARE(DrugEntryFields(QString(), QString()).stored(), QString());
    }

    void storedDrugEntryComesBackAsTyped()
    {
        const DrugEntryFields typed(QStringLiteral("阿莫西林片 0.25×24"), QStringLiteral("0.5/日"));
        const DrugEntryFields back = DrugEntryFields::fromStored(typed.stored());
        QCOMPARE(back.name(), typed.name());
        QCOMPARE(back.usage(), typed.usage());
    }

    void drugCodeFallsBackToTheNameAndIsTrimmed()
    {
        const QString name = QStringLiteral("阿莫西林片 0.25×24");
        QCOMPARE(EntryCodeRules::drugCodeBox(QString(), name), name);
        QCOMPARE(EntryCodeRules::drugCodeBox(QStringLiteral("   "), name), name);
        QCOMPARE(EntryCodeRules::drugCodeBox(QStringLiteral(" amx "), name),
                 QStringLiteral(" amx "));
        QCOMPARE(EntryCodeRules::storedDrugCode(QStringLiteral("amxlp ")), QStringLiteral("amxlp"));
        QCOMPARE(EntryCodeRules::storedDrugCode(QStringLiteral("  a b  ")), QStringLiteral("a b"));
        QCOMPARE(EntryCodeRules::storedDrugCode(QStringLiteral("   ")), QString());
        // Only spaces are trimmed, as the box shows them.
        QCOMPARE(EntryCodeRules::storedDrugCode(QStringLiteral("\tab")), QStringLiteral("\tab"));
        // The name used as a code is trimmed like any typed code.
        QCOMPARE(EntryCodeRules::storedDrugCode(
                     EntryCodeRules::drugCodeBox(QString(), QStringLiteral(" 头孢 "))),
                 QStringLiteral("头孢"));
    }

    void listCodeKeepsBlanksAndFallsBackOnlyWhenEmpty()
    {
        const QString name = QStringLiteral("高血压病");
        QCOMPARE(EntryCodeRules::listCode(QString(), name), name);
        QCOMPARE(EntryCodeRules::listCode(QStringLiteral(" "), name), QStringLiteral(" "));
        QCOMPARE(EntryCodeRules::listCode(QStringLiteral("amxlp "), name),
                 QStringLiteral("amxlp "));
    }

    void builtCodeEndsWithTheSpaceOnlyInTheLists()
    {
        const QString built = Pinyin::codeOfName(QStringLiteral("阿莫西林片 0.25×24"));
        QCOMPARE(built, QStringLiteral("amxlp "));
        QCOMPARE(EntryCodeRules::storedDrugCode(EntryCodeRules::drugCodeBox(built, QString())),
                 QStringLiteral("amxlp"));
        QCOMPARE(EntryCodeRules::listCode(built, QString()), QStringLiteral("amxlp "));
    }

    void linesKeepTheRowOfEachEntry()
    {
        ReferenceLines lines;
        QVERIFY(lines.isEmpty());
        QVERIFY(!lines.at(0));
        lines.reset({{7, QStringLiteral("感冒"), QStringLiteral("gm")},
                     {3, QStringLiteral("感冒"), std::nullopt},
                     {9, QStringLiteral("发热"), QStringLiteral("fr")}});
        QCOMPARE(lines.names(), QStringList({"感冒", "感冒", "发热"}));
        QCOMPARE(lines.rowIdAt(0), std::optional<qint64>(7));
        QCOMPARE(lines.rowIdAt(1), std::optional<qint64>(3));
        QVERIFY(!lines.at(1)->code());
        QVERIFY(!lines.rowIdAt(-1));
        QVERIFY(!lines.rowIdAt(3));

        lines.append({12, QStringLiteral("咳嗽"), QStringLiteral("ks")});
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.rowIdAt(3), std::optional<qint64>(12));

        lines.reset({{9, QStringLiteral("发热"), QStringLiteral("fr")}});
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.rowIdAt(0), std::optional<qint64>(9));
        lines.clear();
        QVERIFY(lines.names().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReferenceEntryRules)
#include "TestReferenceEntryRules.moc"
