#include "core/exchange/CsvText.h"
#include "core/exchange/ReferenceCsvExport.h"
#include "core/exchange/ReferenceImport.h"
#include "core/text/Cp936Codec.h"
#include "core/text/Pinyin.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

QByteArray gbk(const QStringList& lines)
{
    bool allOk = true;
    const QByteArray bytes = Cp936Codec::encode(lines.join("\r\n") + "\r\n", &allOk);
    return allOk ? bytes : QByteArray();
}

QStringList names(const QList<ReferenceImport::Entry>& entries)
{
    QStringList list;
    for (const ReferenceImport::Entry& entry : entries)
        list << entry.name;
    return list;
}

} // namespace

class TestReferenceImport : public QObject
{
    Q_OBJECT
private slots:
    void gbkDrugFileReportsExactlyItsBadLines()
    {
        const QString tooLong = QString(201, QChar(u'药'));
        const QByteArray file = gbk({
            "药品名称,用法用量,拼音",           // 1: column titles, passed over
            "阿莫西林片 0.25×24,0.5 tid,",      // 2
            "罗红霉素片 150mg×12/150mg bid",    // 3: usage after "/"
            "",                                 // 4: empty
            tooLong,                            // 5: too long
            "青霉素针 960万,,qmsz",             // 6: own code
            "阿莫西林片 0.25×24,0.5 tid",       // 7: same as line 2
            "板蓝根颗粒,,x" + QString(50, 'y'), // 8: code too long
            ",0.5 tid",                         // 9: usage without a name
            "头孢氨苄胶囊,0.5 qid",             // 10: already in the list
        });
        QVERIFY(!file.isEmpty());
        const ReferenceImport import =
            ReferenceImport::read(ReferenceList::Drugs, file, {"头孢氨苄胶囊/0.5 qid"});
        QCOMPARE(import.encoding(), TextDecoding::Encoding::Gbk);
        QCOMPARE(names(import.entries()),
                 (QStringList{"阿莫西林片 0.25×24/0.5 tid", "罗红霉素片 150mg×12/150mg bid",
                              "青霉素针 960万"}));
        QCOMPARE(import.entries()[0].code, QStringLiteral("amxlp"));
        QCOMPARE(import.entries()[1].code, QStringLiteral("lhmsp"));
        QCOMPARE(import.entries()[2].code, QStringLiteral("qmsz"));
        QCOMPARE(
            import.refusalLines(),
            (QStringList{"第4行：名称为空", "第5行：名称有201个字，超过了最多200个字的限制",
                         "第8行：拼音代码有51个字，超过了最多50个字的限制", "第9行：名称为空"}));
        QCOMPARE(import.duplicateLines(), (QList<int>{7, 10}));
    }

    void listCodesAreMadeAsTheWindowMakesThem()
    {
        const QByteArray file = "\xEF\xBB\xBF" + QString("上呼吸道感染\n高血压 二级,\n"
                                                         "\"急性胃炎, 轻度\",jxwy\n")
                                                     .toUtf8();
        const ReferenceImport import = ReferenceImport::read(ReferenceList::Diagnoses, file, {});
        QCOMPARE(import.encoding(), TextDecoding::Encoding::Utf8);
        QVERIFY(import.refused().isEmpty());
        QCOMPARE(import.entries().size(), 3);
        QCOMPARE(import.entries()[0].code, Pinyin::codeOfName("上呼吸道感染"));
        // The list windows keep the code of the first space, blank included.
        QCOMPARE(import.entries()[1].code, QStringLiteral("gxy "));
        QCOMPARE(import.entries()[2].name, QStringLiteral("急性胃炎, 轻度"));
        QCOMPARE(import.entries()[2].code, QStringLiteral("jxwy"));
        const QString fiftyOne(51, QChar(u'村'));
        const ReferenceImport addresses =
            ReferenceImport::read(ReferenceList::Addresses, fiftyOne.toUtf8() + "\n东街村\n", {});
        QCOMPARE(addresses.refusalLines(),
                 QStringList{"第1行：名称有51个字，超过了最多50个字的限制"});
        QCOMPARE(names(addresses.entries()), QStringList{"东街村"});
    }

    void storesAllOrNothing()
    {
        TestProgramFolder folder;
        SettingsStore settings(folder.paths().settingsFile);
        QVERIFY(settings.add(ReferenceList::Addresses, "西街村", "xjc").ok());
        const ReferenceImport import =
            ReferenceImport::read(ReferenceList::Addresses, "东街村\n南街村,njc\n", {});
        QVERIFY(import.store(settings).ok());
        const auto all = settings.all(ReferenceList::Addresses);
        QVERIFY(all.ok());
        QCOMPARE(all.value().size(), 3);
        QCOMPARE(all.value()[1].name(), QStringLiteral("东街村"));
        QCOMPARE(all.value()[1].code(), std::optional<QString>("djc"));
        QCOMPARE(all.value()[2].code(), std::optional<QString>("njc"));

        TestProgramFolder empty(TestProgramFolder::Stores::None);
        QVERIFY(!import.store(SettingsStore(empty.paths().settingsFile)).ok());
        QVERIFY(!QFile::exists(empty.paths().settingsFile));
    }

    void exportReadsBackAsTheSameList()
    {
        TestProgramFolder folder;
        SettingsStore settings(folder.paths().settingsFile);
        QVERIFY(settings.add(ReferenceList::Drugs, "阿莫西林片 0.25×24/0.5 tid", "amxlp").ok());
        QVERIFY(settings.add(ReferenceList::Drugs, "青霉素针 960万", "qmsz").ok());
        QVERIFY(settings.add(ReferenceList::Drugs, "复方, \"甘草\"片/2# tid", "ffgcp").ok());
        QTemporaryDir dir;
        const QString path = dir.filePath("drugs.csv");
        const auto before = settings.all(ReferenceList::Drugs).value();
        QVERIFY(ReferenceCsvExport::write(ReferenceList::Drugs, before, path).ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ReferenceImport again =
            ReferenceImport::read(ReferenceList::Drugs, file.readAll(), {});
        QVERIFY(again.refused().isEmpty());
        QCOMPARE(again.entries().size(), before.size());
        for (int i = 0; i < before.size(); ++i) {
            QCOMPARE(again.entries()[i].name, before[i].name());
            QCOMPARE(again.entries()[i].code, *before[i].code());
        }
        QVERIFY(!ReferenceCsvExport::write(ReferenceList::Drugs, before,
                                           dir.filePath("missing/drugs.csv"))
                     .ok());

        // Blanks the windows keep, and a name ending in "/", come back as they were stored.
        const QList<ReferenceEntry> diagnoses{{1, " 感冒 ", " gm"}, {2, "高血压", "gxy "}};
        const ReferenceImport exact = ReferenceImport::read(
            ReferenceList::Diagnoses,
            CsvText::utf8WithBom(ReferenceCsvExport::lines(ReferenceList::Diagnoses, diagnoses)),
            {});
        QCOMPARE(names(exact.entries()), (QStringList{" 感冒 ", "高血压"}));
        QCOMPARE(exact.entries()[0].code, QStringLiteral(" gm"));
        QCOMPARE(exact.entries()[1].code, QStringLiteral("gxy "));
        const ReferenceImport slash =
            ReferenceImport::read(ReferenceList::Drugs,
                                  CsvText::utf8WithBom(ReferenceCsvExport::lines(
                                      ReferenceList::Drugs, {{1, "维生素C片/", "wsscp"}})),
                                  {});
        QCOMPARE(names(slash.entries()), QStringList{"维生素C片/"});
    }

    // Nothing of a file that is not text is taken, whatever lines of it would pass.
    void filesThatAreNotTextGiveNoEntries()
    {
        QByteArray random(20000, '\0');
        quint32 seed = 7;
        for (char& byte : random) {
            seed = seed * 1664525u + 1013904223u;
            byte = char(seed >> 24);
        }
        const QByteArray utf16 =
            QByteArray::fromRawData(reinterpret_cast<const char*>(u"感冒\r\n高血压\r\n"), 2 * 9);
        const QByteArray workbook =
            QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) + "[Content_Types].xml";
        for (const QByteArray& bytes :
             {random, utf16, workbook, QByteArray("\xEF\xBB\xBF\xFF感冒")}) {
            const ReferenceImport import =
                ReferenceImport::read(ReferenceList::Diagnoses, bytes, {});
            QVERIFY(import.fileRefusal().contains(QStringLiteral("不是文本文件")));
            QVERIFY(import.entries().isEmpty());
        }
        // Text with control characters names its lines, and still gives nothing.
        const ReferenceImport control =
            ReferenceImport::read(ReferenceList::Diagnoses, "感冒\r\n发\x01热\r\n咳嗽\t,ks\n", {});
        QCOMPARE(control.fileRefusal(),
                 QStringLiteral("第2行有控制字符 U+0001，第3行有控制字符 U+0009，不像是名称列表"));
        QVERIFY(control.entries().isEmpty());
        // UTF-16 with its byte order mark, either way round, is text.
        for (const QByteArray& marked :
             {QByteArray("\xFF\xFE") + utf16, QByteArray("\xFE\xFF\x61\x1F\x51\x92\x00\x0A", 8)}) {
            const ReferenceImport import =
                ReferenceImport::read(ReferenceList::Diagnoses, marked, {});
            QVERIFY2(import.fileRefusal().isEmpty(), qPrintable(import.fileRefusal()));
            QCOMPARE(import.encoding(), TextDecoding::Encoding::Utf16);
            QCOMPARE(import.entries().first().name, QStringLiteral("感冒"));
        }
    }

    void headingsNameTheirColumns()
    {
        const ReferenceImport drugs = ReferenceImport::read(
            ReferenceList::Drugs,
            QString("拼音码,品名规格,规格,用法用量\nqms,青霉素,1支,肌注\n").toUtf8(), {});
        QCOMPARE(names(drugs.entries()), QStringList{"青霉素/肌注"});
        QCOMPARE(drugs.entries()[0].code, QStringLiteral("qms"));
        QCOMPARE(drugs.columnsText(),
                 QStringLiteral("第1行是标题：名称取自“品名规格”列，用法取自“用法用量”列，"
                                "拼音代码取自“拼音码”列；“规格”列没有导入"));
        const ReferenceImport shortHeading =
            ReferenceImport::read(ReferenceList::Drugs, QString("药名,用法\n").toUtf8(), {});
        QVERIFY(shortHeading.entries().isEmpty());
        QVERIFY(shortHeading.refused().isEmpty());
        // A first line with a cell that is no title is an entry.
        const ReferenceImport data =
            ReferenceImport::read(ReferenceList::Diagnoses, QString("名称,感冒\n").toUtf8(), {});
        QCOMPARE(names(data.entries()), QStringList{"名称"});
        QVERIFY(data.columnsText().startsWith(QStringLiteral("第1行不是标题")));
    }
};

QTEST_GUILESS_MAIN(TestReferenceImport)
#include "TestReferenceImport.moc"
