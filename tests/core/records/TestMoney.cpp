#include "core/records/Money.h"

#include <QTest>

using quilloa::Money;

class TestMoney : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<qint64>("units");
        QTest::newRow("decimal") << "30.5" << true << qint64(305000);
        QTest::newRow("unit after number") << "12元" << true << qint64(120000);
        QTest::newRow("empty is nothing owed") << "" << true << qint64(0);
        QTest::newRow("blanks only") << "   " << true << qint64(0);
        QTest::newRow("not a number") << "abc" << false << qint64(0);
        QTest::newRow("leading blanks") << "  7" << true << qint64(70000);
        QTest::newRow("point first") << ".5" << true << qint64(5000);
        QTest::newRow("trailing point") << "8." << true << qint64(80000);
        QTest::newRow("negative") << "-2.25" << true << qint64(-22500);
        // What a Chinese input method types in full-width mode.
        QTest::newRow("full-width digits") << "１２.５" << true << qint64(125000);
        QTest::newRow("full-width point and minus") << "－１２．５元" << true << qint64(-125000);
        QTest::newRow("ideographic blank first") << "　８" << true << qint64(80000);
        QTest::newRow("full-width letters stay no number") << "ａ１" << false << qint64(0);
        QTest::newRow("half to even down") << "0.00005" << true << qint64(0);
        QTest::newRow("half to even up") << "0.00015" << true << qint64(2);
        QTest::newRow("above half") << "0.000051" << true << qint64(1);
        QTest::newRow("largest") << "922337203685477.5807" << true
                                 << std::numeric_limits<qint64>::max();
        QTest::newRow("just too large") << "922337203685477.5808" << false << qint64(0);
        QTest::newRow("far too large") << "99999999999999999999999" << false << qint64(0);
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(qint64, units);
        const std::optional<Money> money = Money::fromLeadingNumber(text);
        QCOMPARE(money.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(money->units(), units);
    }

    void plainText()
    {
        QCOMPARE(Money::fromUnits(125000).toPlainString(), QStringLiteral("12.5"));
        QCOMPARE(Money::fromUnits(300000).toPlainString(), QStringLiteral("30"));
        QCOMPARE(Money::fromUnits(1).toPlainString(), QStringLiteral("0.0001"));
        QCOMPARE(Money::fromUnits(-2500).toPlainString(), QStringLiteral("-0.25"));
        QCOMPARE(Money::fromUnits(0).toPlainString(), QStringLiteral("0"));
        QCOMPARE(Money::fromUnits(std::numeric_limits<qint64>::min()).toPlainString(),
                 QStringLiteral("-922337203685477.5808"));
    }

    void sumsAreExactAndNeverWrap()
    {
        std::optional<Money> total = Money();
        for (int i = 0; i < 10; ++i)
            total = total->plus(*Money::fromLeadingNumber(QStringLiteral("0.1")));
        QCOMPARE(total->toPlainString(), QStringLiteral("1"));
        const Money big = Money::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY(!big.plus(Money::fromUnits(1)).has_value());
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "TestMoney.moc"
