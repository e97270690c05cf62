#include "core/rtf/RtfDocument.h"
#include "core/rtf/RtfReader.h"
#include "core/rtf/RtfWriter.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using quilloa::RtfDocument;
using quilloa::RtfReader;
using quilloa::RtfWriter;

namespace {

QString read(const QString& rtf)
{
    return RtfReader::read(rtf).plainText();
}

bool isPureAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// A document as a Windows rich-edit box writes Chinese text, with the usual extras.
const char* const kRichEditDocument =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
    "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 Arial;}"
    "{\\f2\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5{\\*\\panose 02010609060101010101};}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{ Normal;}{\\s1 heading 1;}}"
    "{\\info{\\author \\'d5\\'c5\\'c8\\'fd}}"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 "
    "\\'b0\\'a2\\'c4\\'aa\\'ce\\'f7\\'c1\\'d6\\'c6\\'ac 0.25\\'a1\\'c124\\par\r\n"
    "\\f1\\fs24 Arial \\b bold\\b0  \\i italic\\i0\\par\r\n"
    "\\f2\\cf1 \\'ba\\'ec\\cf0\\line \\u21834?\\tab x\\par\r\n"
    "}\r\n";

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT
private slots:
    void writerHeaderAndLines()
    {
        const QString rtf = RtfWriter::write(u"阿莫\r\n0.25g"_qs, u"宋体"_qs, 9);
        QCOMPARE(rtf, QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                                     "\\'cb\\'ce\\'cc\\'e5;}}\r\n"
                                     "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 "
                                     "\\'b0\\'a2\\'c4\\'aa\\par\r\n0.25g\\par\r\n}\r\n"));
    }

    void writerEscapes()
    {
        const QString rtf = RtfWriter::write(u"a\\b{c}\td😀€"_qs, u"Font;{x}"_qs, 0);
        QVERIFY(isPureAscii(rtf));
        QVERIFY(rtf.contains(u"\\f0\\fnil\\fcharset134 Font\\'3b\\{x\\};}}"));
        QVERIFY(rtf.contains(u"a\\\\b\\{c\\}\\tab d\\u-10179?\\u-8704?\\'80\\par"));
        QVERIFY(!rtf.contains(u"\\fs"));
        QVERIFY(RtfWriter::write(u"x"_qs, u"f"_qs, 1e300).contains(u"\\fs32766 "));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("ascii") << u"hello world"_qs << u"hello world"_qs;
        QTest::newRow("chinese lines") << u"阿莫西林片 0.25×24\r\n    用法：一日三次"_qs
                                       << u"阿莫西林片 0.25×24\r\n    用法：一日三次"_qs;
        QTest::newRow("lf and cr") << u"a\nb\rc"_qs << u"a\r\nb\r\nc"_qs;
        QTest::newRow("empty lines kept") << u"\r\n\r\na\r\n\r\n"_qs << u"\r\n\r\na\r\n\r\n"_qs;
        QTest::newRow("leading spaces") << u"  a\r\n  b"_qs << u"  a\r\n  b"_qs;
        QTest::newRow("rtf specials") << u"\\par {b} \\'41"_qs << u"\\par {b} \\'41"_qs;
        QTest::newRow("tab and control") << u"a\tb\x01"
                                            "c"_qs
                                         << u"a\tb\x01"
                                            "c"_qs;
        QTest::newRow("outside cp936") << u"😀€ก\u2603"_qs << u"😀€ก\u2603"_qs;
        QTest::newRow("gbk with ascii trail") << u"丂@"_qs << u"丂@"_qs;
        QTest::newRow("semicolons") << u"a;b;"_qs << u"a;b;"_qs;
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString rtf = RtfWriter::write(text, u"宋体"_qs, 10.5);
        QVERIFY(isPureAscii(rtf));
        const RtfDocument document = RtfReader::read(rtf);
        QCOMPARE(document.plainText(), expected);
        for (const RtfDocument::Run& run : document.runs()) {
            QCOMPARE(run.fontFamily, u"宋体"_qs);
            QCOMPARE(run.pointSize, 10.5);
        }
    }

    void richEditDocument()
    {
        const RtfDocument document = RtfReader::read(QString::fromLatin1(kRichEditDocument));
        QCOMPARE(document.plainText(),
                 u"阿莫西林片 0.25×24\r\nArial bold italic\r\n红\r\n啊\tx"_qs);
        const QList<RtfDocument::Run>& runs = document.runs();
        QVERIFY(runs.size() >= 6);
        QCOMPARE(runs.first().fontFamily, u"宋体"_qs);
        QCOMPARE(runs.first().pointSize, 9.0);
        auto runHolding = [&](const QString& text) {
            for (const RtfDocument::Run& run : runs) {
                if (run.text.contains(text))
                    return run;
            }
            return RtfDocument::Run{};
        };
        const RtfDocument::Run bold = runHolding(u"bold"_qs);
        QCOMPARE(bold.fontFamily, u"Arial"_qs);
        QCOMPARE(bold.pointSize, 12.0);
        QVERIFY(bold.bold && !bold.italic);
        QVERIFY(runHolding(u"italic"_qs).italic);
        const RtfDocument::Run red = runHolding(u"红"_qs);
        QCOMPARE(red.fontFamily, u"黑体"_qs);
        QCOMPARE(red.colour, QColor(255, 0, 0));
        QVERIFY(!runHolding(u"啊"_qs).colour.isValid());
    }

    void unicodeAndSkipCounts()
    {
        QCOMPARE(read(u"{\\rtf1\\uc2\\u21834\\'b0\\'a1 x}"_qs), u"啊 x"_qs);
        QCOMPARE(read(u"{\\rtf1\\uc0\\u21834\\'b0\\'a1}"_qs), u"啊啊"_qs);
        QCOMPARE(read(u"{\\rtf1\\u21834??}"_qs), u"啊?"_qs);
        QCOMPARE(read(u"{\\rtf1{\\uc3 a}\\u21834?b}"_qs), u"a啊b"_qs); // \uc is per group
        QCOMPARE(read(u"{\\rtf1\\u-10179?\\u-8704?}"_qs), u"😀"_qs);
        QCOMPARE(read(u"{\\rtf1 \\u21834{b}}"_qs), u"啊b"_qs); // a group ends the skipping
    }

    void codePages()
    {
        // No code page given: the program's own, 936.
        QCOMPARE(read(u"{\\rtf1\\ansi \\'b0\\'a1}"_qs), u"啊"_qs);
        QCOMPARE(read(u"{\\rtf1\\ansi\\ansicpg1252 \\'e9\\'80}"_qs), u"é€"_qs);
        QCOMPARE(read(u"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset134 S;}{\\f1\\fcharset0 "
                      "A;}}\\f0\\'b0\\'a1\\f1\\'e9}"_qs),
                 u"啊é"_qs);
        QCOMPARE(read(u"{\\rtf1\\'81@}"_qs), u"丂"_qs); // unescaped trail byte
    }

    void fontTableForms()
    {
        const RtfDocument document =
            RtfReader::read(u"{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1 Times}\\f1 a\\plain b}"_qs);
        QCOMPARE(document.runs().size(), 2);
        QCOMPARE(document.runs().at(0).fontFamily, u"Times"_qs);
        QCOMPARE(document.runs().at(1).fontFamily, u"Arial"_qs); // \plain: the default font
    }

    void specialWordsAndSkippedContent()
    {
        QCOMPARE(read(u"{\\rtf1 a\\line b\\tab c\\emdash\\~\\{\\}\\\\}"_qs),
                 u"a\r\nb\tc\u2014\u00a0{}\\"_qs);
        QCOMPARE(read(u"{\\rtf1 a{\\*\\unknown x}{\\info{\\title t}}{\\pict\\bin4 {{{{}b}"_qs),
                 u"ab"_qs);
        QCOMPARE(read(u"{\\rtf1 a\\unknownword7 b}c"_qs), u"ab"_qs); // text after the end
        QCOMPARE(read(u"{\\rtf1 a\\\r\nb}"_qs), u"a\r\nb"_qs);       // escaped line break
    }

    void finalParagraphMark()
    {
        QCOMPARE(read(u"{\\rtf1 a\\par}"_qs), u"a"_qs);
        QCOMPARE(read(u"{\\rtf1 a\\par\\par}"_qs), u"a\r\n"_qs);
        QCOMPARE(read(u"{\\rtf1 a}"_qs), u"a"_qs);
    }

    void notRtf()
    {
        QCOMPARE(read(u"plain\r\ntext\rx"_qs), u"plain\r\ntext\r\nx"_qs);
        QCOMPARE(read(u"{\\rt"_qs), u"{\\rt"_qs);
        QCOMPARE(read(u" {\\rtf1 a}"_qs), u" {\\rtf1 a}"_qs);
        QVERIFY(RtfReader::read(QString()).isEmpty());
        QVERIFY(RtfReader::read(u"x"_qs).runs().first().fontFamily.isEmpty());
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unclosed") << u"{\\rtf1 a{\\b b"_qs << u"ab"_qs;
        QTest::newRow("extra closing") << u"{\\rtf1 a}}}b"_qs << u"a"_qs;
        QTest::newRow("backslash at end") << u"{\\rtf1 a\\"_qs << u"a"_qs;
        QTest::newRow("truncated hex") << u"{\\rtf1 a\\'4"_qs << u"a"_qs;
        QTest::newRow("hex without digits") << u"{\\rtf1 a\\'zz}"_qs << u"azz"_qs;
        QTest::newRow("lone lead byte") << u"{\\rtf1 \\'b0}"_qs << u"\uFFFD"_qs;
        QTest::newRow("huge numbers")
            << u"{\\rtf1\\fs99999999999999999999 a\\f-99999999999 b}"_qs << u"ab"_qs;
        QTest::newRow("huge unicode") << u"{\\rtf1\\u99999999999 a}"_qs << u"\uFFFD"_qs;
        QTest::newRow("huge skip count")
            << u"{\\rtf1\\uc999999999\\u65 abcdefghijklmnopqrs}"_qs << u"Aqrs"_qs;
        QTest::newRow("bin past end") << u"{\\rtf1 a\\bin999999999 bc"_qs << u"a"_qs;
        QTest::newRow("negative bin") << u"{\\rtf1 a\\bin-5 b}"_qs << u"ab"_qs;
        QTest::newRow("colour index out of range") << u"{\\rtf1\\cf99 a\\cf-1 b}"_qs << u"ab"_qs;
        QTest::newRow("nul") << QString(u"{\\rtf1 a"_qs + QChar(0) + u"b}"_qs)
                             << QString(u"a"_qs + QChar(0) + u"b"_qs);
    }
    void malformed()
    {
        QFETCH(QString, rtf);
        QFETCH(QString, expected);
        QCOMPARE(read(rtf), expected);
    }

    void deepNestingIsBounded()
    {
        const int depth = 200000;
        const QString rtf = u"{\\rtf1 a"_qs + QString(depth, QLatin1Char('{')) + u"x"_qs +
                            QString(depth, QLatin1Char('}')) + u"b}"_qs;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(read(rtf), u"ab"_qs); // text nested past the limit is dropped
        QVERIFY(timer.elapsed() < 5000);

        const QString withinLimit = u"{\\rtf1 "_qs + QString(100, QLatin1Char('{')) + u"\\b x"_qs +
                                    QString(100, QLatin1Char('}')) + u"y}"_qs;
        const RtfDocument document = RtfReader::read(withinLimit);
        QCOMPARE(document.plainText(), u"xy"_qs);
        QVERIFY(document.runs().first().bold);
        QVERIFY(!document.runs().last().bold);
    }

    void fillsTextDocument()
    {
        const RtfDocument document = RtfReader::read(QString::fromLatin1(kRichEditDocument));
        QTextDocument textDocument;
        textDocument.setPlainText(u"old"_qs);
        document.fillTextDocument(textDocument);
        QCOMPARE(textDocument.blockCount(), 4);
        QCOMPARE(textDocument.toPlainText(), document.plainText().replace(u"\r\n"_qs, u"\n"_qs));

        QTextCursor cursor(textDocument.findBlockByNumber(1));
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 8);
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(cursor.charFormat().fontFamilies().toStringList(), QStringList{u"Arial"_qs});
        QCOMPARE(cursor.charFormat().fontPointSize(), 12.0);

        QTextCursor red(textDocument.findBlockByNumber(2));
        red.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(red.charFormat().foreground().color(), QColor(255, 0, 0));
    }
};

QTEST_MAIN(TestRtf)
#include "TestRtf.moc"
