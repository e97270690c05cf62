#include "core/rtf/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

using quilloa::RtfDocument;
using quilloa::RtfReader;

// Runs every seed of the reader's fuzzing corpus (including the inputs that once crashed it)
// through the reader, and checks what the well-formed seeds must read as.
class TestRtfCorpus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QByteArray sourceDir = qgetenv("QUILLOA_SOURCE_DIR");
        QVERIFY2(!sourceDir.isEmpty(), "QUILLOA_SOURCE_DIR is not set");
        m_corpus = QDir(QString::fromLocal8Bit(sourceDir) + QStringLiteral("/fuzz/corpus/rtf"));
        QVERIFY2(m_corpus.exists(), qPrintable(m_corpus.path()));
    }

    void everySeedReads()
    {
        const QStringList names = m_corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY(names.size() >= 10);
        for (const QString& name : names) {
            const QByteArray bytes = seed(name);
            for (const QString& input : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
                const RtfDocument document = RtfReader::read(input);
                QTextDocument textDocument;
                document.fillTextDocument(textDocument);
                QCOMPARE(
                    textDocument.toPlainText(),
                    document.plainText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            }
        }
    }

    void wellFormedSeeds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("plainText");
        QTest::newRow("writer") << "writer_body.rtf"
                                << u"阿莫西林片 0.25×24\r\n    用法：0.5 tid po\r\n头孢呋辛钠针 "
                                   "2.25\r\n    用法：2.25 bid iv"_qs;
        QTest::newRow("writer specials") << "writer_specials.rtf" << u"a\\b{c}\td😀€ 丂@\r\n\r\n"_qs;
        QTest::newRow("writer empty") << "writer_empty.rtf" << QString();
        QTest::newRow("old rich edit") << "riched32_plain.rtf" << u"高血压病\r\nsecond line"_qs;
        QTest::newRow("unicode") << "richedit_unicode.rtf" << u"啊😀€\u2014\u2022\u201cx\u201d"_qs;
        QTest::newRow("picture") << "picture_and_bin.rtf" << u"beforeafter"_qs;
    }
    void wellFormedSeeds()
    {
        QFETCH(QString, name);
        QFETCH(QString, plainText);
        QCOMPARE(RtfReader::read(QString::fromLatin1(seed(name))).plainText(), plainText);
    }

    void richEditSeedKeepsFonts()
    {
        const RtfDocument document =
            RtfReader::read(QString::fromLatin1(seed(QStringLiteral("richedit_chinese.rtf"))));
        QVERIFY(document.plainText().startsWith(u"阿莫西林片 0.25×24\r\n    用法：0.5 tid po\r\n"));
        QVERIFY(document.plainText().endsWith(u"\r\n丂"));
        QStringList families;
        for (const RtfDocument::Run& run : document.runs())
            families << run.fontFamily;
        families.removeDuplicates();
        QCOMPARE(families, (QStringList{u"宋体"_qs, u"Arial"_qs, u"黑体"_qs}));
    }

private:
    QByteArray seed(const QString& name) const
    {
        QFile file(m_corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        return file.readAll();
    }

    QDir m_corpus;
};

QTEST_MAIN(TestRtfCorpus)
#include "TestRtfCorpus.moc"
