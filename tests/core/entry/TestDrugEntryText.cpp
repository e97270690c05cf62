#include "core/entry/DrugEntryText.h"
#include "core/entry/KeyboardKeys.h"

#include <QTest>

using namespace quilloa;

class TestDrugEntryText : public QObject
{
    Q_OBJECT

private slots:
    void eachSlashStartsAUsageLine_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("lines");
        QTest::newRow("no usage") << "维生素C片 0.1g×100"
                                  << "维生素C片 0.1g×100\r\n";
        QTest::newRow("one usage") << "阿莫西林胶囊 0.25g×24/0.5 tid"
                                   << "阿莫西林胶囊 0.25g×24\r\n    用法：0.5 tid\r\n";
        QTest::newRow("two usages") << "青霉素/80万u im bid/皮试"
                                    << "青霉素\r\n    用法：80万u im bid\r\n    用法：皮试\r\n";
        QTest::newRow("trailing slash") << "葡萄糖注射液/"
                                        << "葡萄糖注射液\r\n    用法：\r\n";
        QTest::newRow("only a usage") << "/qd"
                                      << "\r\n    用法：qd\r\n";
        QTest::newRow("empty") << ""
                               << "\r\n";
    }

    void eachSlashStartsAUsageLine()
    {
        QFETCH(QString, entry);
        QFETCH(QString, lines);
        QCOMPARE(DrugEntryText::appendedLines(entry), lines);
    }

    void picksAlwaysGoToTheEnd()
    {
        QString body;
        body = DrugEntryText::bodyAfterPick(body, QStringLiteral("甲/tid"));
        body = DrugEntryText::bodyAfterPick(body, QStringLiteral("甲/tid"));
        QCOMPARE(body, QStringLiteral("甲\r\n    用法：tid\r\n甲\r\n    用法：tid\r\n"));
        // A body the doctor typed without a final line end is not mended.
        QCOMPARE(DrugEntryText::bodyAfterPick(QStringLiteral("手写"), QStringLiteral("乙")),
                 QStringLiteral("手写乙\r\n"));
    }

    void lineEndsConvertBothWays()
    {
        QCOMPARE(DrugEntryText::toCrLf(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
        QCOMPARE(DrugEntryText::toCrLf(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
        QCOMPARE(DrugEntryText::toCrLf(QStringLiteral("a\rb")), QStringLiteral("a\r\nb"));
        QCOMPARE(DrugEntryText::fromCrLf(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
        QCOMPARE(DrugEntryText::fromCrLf(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a\n\nb"));
        const QString body = QStringLiteral("x\r\n\r\n    用法：y\r\n");
        QCOMPARE(DrugEntryText::toCrLf(DrugEntryText::fromCrLf(body)), body);
    }

    void usageLinesAreInsertedWithALineEnd()
    {
        QCOMPARE(keyboard::insertedText(u"bid"), QStringLiteral("bid"));
        QCOMPARE(keyboard::insertedText(u"    用法：iv/gtt qd"),
                 QStringLiteral("    用法：iv/gtt qd\r\n"));
        QCOMPARE(keyboard::insertedText(u"    用法："), QStringLiteral("    用法：\r\n"));
    }

    void characterKeysTypeDigitsThenLetters()
    {
        QCOMPARE(keyboard::characterOf(0), QChar(u'1'));
        QCOMPARE(keyboard::characterOf(9), QChar(u'0'));
        QCOMPARE(keyboard::characterOf(10), QChar(u'a'));
        QCOMPARE(keyboard::characterOf(35), QChar(u'z'));
        QVERIFY(keyboard::characterOf(36).isNull());
        QVERIFY(keyboard::characterOf(-1).isNull());
    }
};

QTEST_MAIN(TestDrugEntryText)
#include "TestDrugEntryText.moc"
