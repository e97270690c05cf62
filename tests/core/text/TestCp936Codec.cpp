#include "core/text/Cp936Codec.h"

#include <QTest>

using quilloa::Cp936Codec;

class TestCp936Codec : public QObject
{
    Q_OBJECT
private slots:
    void encodesCharacters()
    {
        QCOMPARE(Cp936Codec::encodeChar(U'a'), QByteArray("a"));
        QCOMPARE(Cp936Codec::encodeChar(U'\0'), QByteArray(1, '\0'));
        QCOMPARE(Cp936Codec::encodeChar(U'啊'), QByteArray("\xB0\xA1"));
        QCOMPARE(Cp936Codec::encodeChar(U'宋'), QByteArray("\xCB\xCE"));
        QCOMPARE(Cp936Codec::encodeChar(U'丂'), QByteArray("\x81\x40")); // GBK, ASCII trail
        QCOMPARE(Cp936Codec::encodeChar(U'€'), QByteArray("\x80"));
        QCOMPARE(Cp936Codec::encodeChar(U'×'), QByteArray("\xA1\xC1"));
    }

    void refusesWhatItCannotRoundTrip()
    {
        QVERIFY(!Cp936Codec::encodeChar(U'😀'));
        QVERIFY(!Cp936Codec::encodeChar(char32_t(0xD800)));
        QVERIFY(!Cp936Codec::encodeChar(char32_t(0x110000)));
        QVERIFY(!Cp936Codec::encodeChar(char32_t(0xFFFD)));
        QVERIFY(!Cp936Codec::encodeChar(U'\u0E01')); // Thai
        // A failure must not leave state behind for the next call.
        QCOMPARE(Cp936Codec::encodeChar(U'啊'), QByteArray("\xB0\xA1"));
    }

    void encodesText()
    {
        bool ok = false;
        QCOMPARE(Cp936Codec::encode(u"阿莫西林 0.25g", &ok),
                 QByteArray("\xB0\xA2\xC4\xAA\xCE\xF7\xC1\xD6 0.25g"));
        QVERIFY(ok);
        QCOMPARE(Cp936Codec::encode(u"a😀啊", &ok), QByteArray("a?\xB0\xA1"));
        QVERIFY(!ok);
        QCOMPARE(Cp936Codec::encode(u"", &ok), QByteArray());
        QVERIFY(ok);
        QCOMPARE(Cp936Codec::encode(u"?"), QByteArray("?"));
    }

    void decodesBytes()
    {
        QCOMPARE(Cp936Codec::decode("\xB0\xA1"
                                    "abc"),
                 u"啊abc"_qs);
        QCOMPARE(Cp936Codec::decode("\x81\x40"), u"丂"_qs);
        QCOMPARE(Cp936Codec::decode(QByteArrayView()), QString());
    }

    void truncatedLeadByteDoesNotLeak()
    {
        // A lead byte at the end is a broken character of its own, never joined to the next call.
        const QString broken = Cp936Codec::decode("a\xB0");
        QCOMPARE(broken.size(), 2);
        QCOMPARE(broken.at(0), QLatin1Char('a'));
        QCOMPARE(broken.at(1), QChar(QChar::ReplacementCharacter));
        QCOMPARE(Cp936Codec::decode("\x81 b"),
                 QString(QChar(QChar::ReplacementCharacter)) + QLatin1String(" b"));
        QCOMPARE(Cp936Codec::decode("\xB0\xA1"), u"啊"_qs);
    }

    void roundTripsEveryLevelOneCharacter()
    {
        for (int lead = 0xB0; lead <= 0xD7; ++lead) {
            for (int trail = 0xA1; trail <= 0xFE; ++trail) {
                if (lead == 0xD7 && trail > 0xF9)
                    break;
                const char bytes[2] = {char(lead), char(trail)};
                const QString text = Cp936Codec::decode(QByteArrayView(bytes, 2));
                QCOMPARE(text.size(), 1);
                QCOMPARE(Cp936Codec::encodeChar(text.at(0).unicode()), QByteArray(bytes, 2));
            }
        }
    }
};

QTEST_MAIN(TestCp936Codec)
#include "TestCp936Codec.moc"
