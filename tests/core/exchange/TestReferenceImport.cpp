#include "core/exchange/CsvText.h"
#include "core/exchange/ReferenceCsvExport.h"
#include "core/exchange/ReferenceImport.h"
#include "core/store/Cp936Codec.h"
#include "core/store/Pinyin.h"
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
    }
};

QTEST_GUILESS_MAIN(TestReferenceImport)
#include "TestReferenceImport.moc"
