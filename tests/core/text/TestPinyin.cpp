#include "core/text/Cp936Codec.h"
#include "core/text/Pinyin.h"

#include <QTest>

using quilloa::Cp936Codec;
using quilloa::Pinyin;

namespace {

QChar characterOfCode(quint16 code)
{
    const char bytes[2] = {char(code >> 8), char(code & 0xFF)};
    const QString text = Cp936Codec::decode(QByteArrayView(bytes, 2));
    return text.size() == 1 ? text.at(0) : QChar();
}

} // namespace

class TestPinyin : public QObject
{
    Q_OBJECT
private slots:
    void rangeBounds_data()
    {
        QTest::addColumn<QChar>("initial");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        const struct
        {
            char initial;
            int first;
            int last;
        } ranges[] = {
            {'A', 0xB0A1, 0xB0C4}, {'B', 0xB0C5, 0xB2C0}, {'C', 0xB2C1, 0xB4ED},
            {'D', 0xB4EE, 0xB6E9}, {'E', 0xB6EA, 0xB7A1}, {'F', 0xB7A2, 0xB8C0},
            {'G', 0xB8C1, 0xB9FD}, {'H', 0xB9FE, 0xBBF6}, {'J', 0xBBF7, 0xBFA5},
            {'K', 0xBFA6, 0xC0AB}, {'L', 0xC0AC, 0xC2E7}, {'M', 0xC2E8, 0xC4C2},
            {'N', 0xC4C3, 0xC5B5}, {'O', 0xC5B6, 0xC5BD}, {'P', 0xC5BE, 0xC6D9},
            {'Q', 0xC6DA, 0xC8BA}, {'R', 0xC8BB, 0xC8F5}, {'S', 0xC8F6, 0xCBF9},
            {'T', 0xCBFA, 0xCDD9}, {'W', 0xCDDA, 0xCEF3}, {'X', 0xCEF4, 0xD1B8},
            {'Y', 0xD1B9, 0xD4D0}, {'Z', 0xD4D1, 0xD7F9},
        };
        for (const auto& range : ranges) {
            QTest::addRow("%c", range.initial)
                << QChar(QLatin1Char(range.initial)) << range.first << range.last;
        }
    }
    // Each range from its first to its last character, through the character's own code.
    void rangeBounds()
    {
        QFETCH(QChar, initial);
        QFETCH(int, first);
        QFETCH(int, last);
        for (const int code : {first, last}) {
            const QChar character = characterOfCode(quint16(code));
            QVERIFY2(!character.isNull(), qPrintable(QString::number(code, 16)));
            QCOMPARE(Pinyin::characterCode(character), qint16(quint16(code)));
            QCOMPARE(Pinyin::initialOf(Pinyin::characterCode(character)), initial);
        }
        QVERIFY(Pinyin::initialOf(qint16(quint16(first - 1))) != initial);
        QVERIFY(Pinyin::initialOf(qint16(quint16(last + 1))) != initial);
    }

    void signedValuesOfTheTable()
    {
        QCOMPARE(Pinyin::characterCode(QChar(u'啊')), qint16(-20319));
        QCOMPARE(Pinyin::characterCode(QChar(u'匝')), qint16(-11055));
        QCOMPARE(Pinyin::initialOf(-20319), QLatin1Char('A'));
        QCOMPARE(Pinyin::initialOf(-20320), QLatin1Char(' '));
        QCOMPARE(Pinyin::initialOf(-10247), QLatin1Char('Z'));
        QCOMPARE(Pinyin::initialOf(-10246), QLatin1Char(' '));
        QCOMPARE(Pinyin::initialOf(-32768), QLatin1Char(' '));
        QCOMPARE(Pinyin::initialOf(32767), QLatin1Char(' '));
    }

    void levelTwoExceptions()
    {
        QCOMPARE(Pinyin::characterCode(QChar(u'唑')), qint16(-8206));
        QCOMPARE(Pinyin::characterCode(QChar(u'孢')), qint16(-6433));
        QCOMPARE(Pinyin::characterCode(QChar(u'呋')), qint16(-8261));
        QCOMPARE(Pinyin::initialOf(-8206), QLatin1Char('Z'));
        QCOMPARE(Pinyin::initialOf(-6433), QLatin1Char('B'));
        QCOMPARE(Pinyin::initialOf(-8261), QLatin1Char('F'));
        // Their neighbours are ordinary level-2 characters.
        QCOMPARE(Pinyin::initialOf(-8205), QLatin1Char(' '));
        QCOMPARE(Pinyin::initialOf(-6434), QLatin1Char(' '));
        QCOMPARE(Pinyin::characterCode(QChar(u'啉')), qint16(quint16(0xDFF8)));
        QCOMPARE(Pinyin::initialOf(Pinyin::characterCode(QChar(u'啉'))), QLatin1Char(' '));
    }

    void extensionCodesFallInTheirRange()
    {
        // A GBK code with a trail byte below A1 in rows B0 to D7 sits between level-1 codes.
        const QChar character = characterOfCode(0xB040);
        QVERIFY(!character.isNull());
        QCOMPARE(Pinyin::characterCode(character), qint16(quint16(0xB040)));
        QCOMPARE(Pinyin::initialOf(qint16(quint16(0xB040))), QLatin1Char(' ')); // below B0A1
        QCOMPARE(Pinyin::initialOf(qint16(quint16(0xB140))), QLatin1Char('B'));
        QCOMPARE(Pinyin::initialOf(qint16(quint16(0xD740))), QLatin1Char('Z'));
    }

    void singleByteAndUnencodable()
    {
        QCOMPARE(Pinyin::characterCode(QChar(u'a')), qint16('a'));
        QCOMPARE(Pinyin::characterCode(QChar(u'1')), qint16('1'));
        QCOMPARE(Pinyin::characterCode(QChar(u' ')), qint16(' '));
        QCOMPARE(Pinyin::characterCode(char32_t(0x1F600)), qint16(' ')); // emoji
        QCOMPARE(Pinyin::characterCode(QChar(0xD800)), qint16(' '));     // lone surrogate
        QCOMPARE(Pinyin::initialOf(qint16('A')), QLatin1Char(' '));
        QCOMPARE(Pinyin::initialOf(0), QLatin1Char(' '));
        // Full-width punctuation lies below the first range.
        QCOMPARE(Pinyin::initialOf(Pinyin::characterCode(QChar(u'，'))), QLatin1Char(' '));
    }

    void codeOfName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("drug with shape") << u"阿莫西林片 0.25×24"_qs << "amxlp ";
        QTest::newRow("exceptions") << u"头孢呋辛钠针 2.25"_qs << "tbfxnz ";
        QTest::newRow("digit before space") << u"奥美拉唑片1 10mg"_qs << "amlzp  ";
        QTest::newRow("no space") << u"高血压病"_qs << "gxyb";
        QTest::newRow("leading symbols") << u"5%葡萄糖注射液 500ml"_qs << "  pttzsy ";
        QTest::newRow("level-2 character") << u"啉"_qs << " ";
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("leading space") << u" 阿莫"_qs << " ";
        QTest::newRow("latin") << u"ABC"_qs << "   ";
        QTest::newRow("full-width space does not end it") << u"阿　莫"_qs << "a m";
        QTest::newRow("emoji is one character") << u"阿😀莫"_qs << "a m";
    }
    void codeOfName()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QCOMPARE(Pinyin::codeOfName(name), code);
    }
};

QTEST_MAIN(TestPinyin)
#include "TestPinyin.moc"
