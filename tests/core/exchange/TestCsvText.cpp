#include "core/exchange/CsvText.h"

#include <QTest>

using namespace quilloa;

class TestCsvText : public QObject
{
    Q_OBJECT
private slots:
    void quotesOnlyWhatNeedsIt()
    {
        QCOMPARE(CsvText::line({"阿莫西林", "0.5 tid"}), QStringLiteral("阿莫西林,0.5 tid"));
        QCOMPARE(CsvText::line({"a,b", "say \"hi\"", "two\nlines"}),
                 QStringLiteral("\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\""));
        QCOMPARE(CsvText::utf8WithBom({{"名"}, {"x", ""}}),
                 QByteArray("\xEF\xBB\xBF") + QString("名\r\nx,\r\n").toUtf8());
    }

    void parsesWhatItWritesAndCountsLines()
    {
        const QList<QStringList> lines{{"a,b", "say \"hi\""}, {"two\r\nlines", "x"}, {"last"}};
        QString text;
        for (const QStringList& line : lines)
            text += CsvText::line(line) + "\r\n";
        const QList<CsvText::Record> records = CsvText::parse(text);
        QCOMPARE(records.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(records[i].fields, lines[i]);
        QCOMPARE(records[0].lineNumber, 1);
        QCOMPARE(records[1].lineNumber, 2);
        QCOMPARE(records[2].lineNumber, 4); // the quoted line break took a line
    }

    void acceptsLoneLineEndsBlankLinesAndStrayQuotes()
    {
        const QList<CsvText::Record> records = CsvText::parse("a\rb\n\nc 5\"x,\"\"\"\"\n");
        QCOMPARE(records.size(), 4);
        QCOMPARE(records[1].fields, QStringList{"b"});
        QCOMPARE(records[2].fields, QStringList{""});
        QCOMPARE(records[2].lineNumber, 3);
        QCOMPARE(records[3].fields, (QStringList{"c 5\"x", "\""}));
        QVERIFY(CsvText::parse(QString()).isEmpty());
    }

    void defusesFormulaStarts()
    {
        QCOMPARE(CsvText::defused("=1+1"), QStringLiteral("'=1+1"));
        QCOMPARE(CsvText::defused("@x"), QStringLiteral("'@x"));
        QCOMPARE(CsvText::defused("张=三"), QStringLiteral("张=三"));
        QCOMPARE(CsvText::defused(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestCsvText)
#include "TestCsvText.moc"
