#include "core/exchange/CsvText.h"
#include "core/reports/ClinicLogCsvWriter.h"
#include "core/reports/ClinicLogFormat.h"
#include "core/reports/ClinicLogSheet.h"
#include "core/reports/ClinicLogXlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

using namespace quilloa;

namespace {

ClinicLogRow visit(const QString& name, const QString& time, std::optional<qint64> feeUnits)
{
    return ClinicLogRow(name, QStringLiteral("女"), QStringLiteral("34"),
                        QStringLiteral("上感, 发热"), QStringLiteral("东街村"), time,
                        feeUnits ? std::optional<Money>(Money::fromUnits(*feeUnits))
                                 : std::nullopt);
}

ClinicLogSheet sampleSheet()
{
    return ClinicLogSheet(
        QStringLiteral("春风诊所"), ReportPeriod::month("2009", "03"),
        {visit(QStringLiteral("李四"), QStringLiteral("2009-03-01 09:05"), 125000),
         visit(QStringLiteral("=王五"), QStringLiteral("2009-03-25 18:08"), 70000),
         visit(QStringLiteral("张\"三\""), QStringLiteral("2009-03-31 23:59"), std::nullopt)});
}

// A program under Wine cannot start the build machine's unzip, so there the workbook is only
// written, not read back.
bool canReadWorkbooks()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

QByteArray unzipped(const QString& zip, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

// The cells of the first sheet of a workbook, by reference ("A1"), as the text of a string cell
// or the raw value of a number cell, with the formula and style where present.
struct XlsxCell
{
    QString value;
    QString formula;
    bool isString = false;
    int style = 0;
};

QStringList sharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si"))
            strings << QString();
        else if (reader.isStartElement() && reader.name() == QLatin1String("t"))
            strings.last() += reader.readElementText();
    }
    return strings;
}

QMap<QString, XlsxCell> readSheet(const QString& path)
{
    const QStringList strings = sharedStrings(unzipped(path, "xl/sharedStrings.xml"));
    QMap<QString, XlsxCell> cells;
    QXmlStreamReader reader(unzipped(path, "xl/worksheets/sheet1.xml"));
    QString reference;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("c")) {
            reference = reader.attributes().value("r").toString();
            cells[reference].isString = reader.attributes().value("t") == QLatin1String("s");
            cells[reference].style = reader.attributes().value("s").toInt();
        } else if (reader.name() == QLatin1String("f")) {
            cells[reference].formula = reader.readElementText();
        } else if (reader.name() == QLatin1String("v")) {
            const QString v = reader.readElementText();
            cells[reference].value = cells[reference].isString ? strings.value(v.toInt()) : v;
        }
    }
    return cells;
}

QString column(int index)
{
    return QString(QChar(u'A' + index));
}

} // namespace

class TestClinicLogExport : public QObject
{
    Q_OBJECT
private slots:
    void sheetTitleHeadingsAndTotal()
    {
        const ClinicLogSheet sheet = sampleSheet();
        QCOMPARE(sheet.title(), QStringLiteral("春风诊所 门诊日志 2009-03"));
        QCOMPARE(ClinicLogSheet::headings(),
                 (QStringList{"姓名", "性别", "年龄", "诊断", "地址", "就诊时间", "备注", "收费"}));
        QCOMPARE(sheet.feeTotal(), Money::fromUnits(195000));
        const qint64 huge = std::numeric_limits<qint64>::max() - 5;
        const ClinicLogSheet overflow(
            QString(), ReportPeriod::day("2009", "03", "25"),
            {visit("a", "2009-03-25 08:00", huge), visit("b", "2009-03-25 09:00", 10)});
        QVERIFY(!overflow.feeTotal());
        QCOMPARE(overflow.title(), QStringLiteral("门诊日志 2009-03-25"));
    }

    void csvReadsBackAsTheGridWithFeesAndTotal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("log.csv");
        QVERIFY(ClinicLogCsvWriter().write(sampleSheet(), path).ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<CsvText::Record> records = CsvText::parse(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(records.size(), 6);
        QCOMPARE(records[0].fields, QStringList{"春风诊所 门诊日志 2009-03"});
        QCOMPARE(records[1].fields, ClinicLogSheet::headings());
        QCOMPARE(records[2].fields, (QStringList{"李四", "女", "34", "上感, 发热", "东街村",
                                                 "2009-03-01 09:05", "", "12.5"}));
        // A name that a spreadsheet would run as a formula is written inert.
        QCOMPARE(records[3].fields.first(), QStringLiteral("'=王五"));
        QCOMPARE(records[4].fields.first(), QStringLiteral("张\"三\""));
        QCOMPARE(records[4].fields.last(), QString());
        QCOMPARE(records[5].fields, (QStringList{"合计", "", "", "", "", "", "", "19.5"}));
    }

    void xlsxReadsBackWithDatesNumbersAndTotalFormula()
    {
        QTemporaryDir dir;
        // The library opens files by narrow names: a Chinese name with a space proves the path.
        const QString path = dir.filePath("门诊日志 三月.xlsx");
        QVERIFY(ClinicLogXlsxWriter().write(sampleSheet(), path).ok());
        // Names, diagnoses and fees: the workbook is its owner's alone (Windows keeps that in
        // the profile folder's access lists, not in a mode).
#ifndef Q_OS_WIN
        QVERIFY(!(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::ReadGroup)));
#endif
        if (!canReadWorkbooks())
            QSKIP("no unzip to read the workbook back (under Wine)");
        const QMap<QString, XlsxCell> cells = readSheet(path);
        QCOMPARE(cells.value("A1").value, QStringLiteral("春风诊所 门诊日志 2009-03"));
        const QStringList headings = ClinicLogSheet::headings();
        for (int c = 0; c < headings.size(); ++c)
            QCOMPARE(cells.value(column(c) + "2").value, headings[c]);
        QCOMPARE(cells.value("A3").value, QStringLiteral("李四"));
        QCOMPARE(cells.value("D3").value, QStringLiteral("上感, 发热"));
        QCOMPARE(cells.value("A4").value,
                 QStringLiteral("=王五")); // a string cell, never a formula
        QVERIFY(cells.value("A4").isString);
        // 2009-03-25 18:08 is day 39897 of the spreadsheet calendar plus 1088 of 1440 minutes.
        const XlsxCell time = cells.value("F4");
        QVERIFY(!time.isString);
        QVERIFY(time.style != 0);
        QVERIFY(qAbs(time.value.toDouble() - (39897 + 1088.0 / 1440)) < 1e-6);
        QCOMPARE(cells.value("H3").value.toDouble(), 12.5);
        QVERIFY(!cells.value("H3").isString);
        QVERIFY(!cells.contains("H5"));
        QCOMPARE(cells.value("A6").value, QStringLiteral("合计"));
        QCOMPARE(cells.value("H6").formula, QStringLiteral("SUM(H3:H5)"));
        QCOMPARE(cells.value("H6").value.toDouble(), 19.5);
    }

    void failedWriteLeavesNothingAndExistingFileUntouched()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("no-such-folder/log.xlsx");
        for (const ClinicLogWriter* writer :
             {static_cast<const ClinicLogWriter*>(new ClinicLogXlsxWriter),
              static_cast<const ClinicLogWriter*>(new ClinicLogCsvWriter)}) {
            const FileWriteStatus status = writer->write(sampleSheet(), missing);
            QVERIFY(!status.ok());
            QVERIFY(status.message().contains(QStringLiteral("无法在文件夹")));
            delete writer;
        }
        // A read-only folder: the old file stays as it was and no temporary is left beside it.
        const QString path = dir.filePath("old.xlsx");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const FileWriteStatus refused = ClinicLogXlsxWriter().write(sampleSheet(), path);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(dir.path()).isWritable() && refused.ok())
            QSKIP("running with rights that ignore folder permissions");
        QVERIFY(!refused.ok());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.xlsx"});
    }

    // A write the disk refuses part way (here a file size limit, as a full disk would) is told,
    // and the export it was to replace stays whole, for the workbook and the CSV alike.
    void refusedWriteIsToldAndKeepsTheOldExport()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no file size limit of a process to stand in for a full disk");
#else
        QTemporaryDir dir;
        ClinicLogSheet big = sampleSheet();
        QList<ClinicLogRow> rows;
        for (int i = 0; i < 400; ++i)
            rows << big.rows().first();
        big = ClinicLogSheet(QStringLiteral("春风诊所"), ReportPeriod::month("2009", "03"), rows);
        for (const QString name : {"log.csv", "log.xlsx"}) {
            const QString path = dir.filePath(name);
            QVERIFY(ClinicLogFormat::writerFor(path)->write(sampleSheet(), path).ok());
            const QByteArray old = [&] {
                QFile file(path);
                return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            }();
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved;
            small.rlim_cur = rlim_t(old.size() + 64);
            setrlimit(RLIMIT_FSIZE, &small);
            const FileWriteStatus refused = ClinicLogFormat::writerFor(path)->write(big, path);
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previous);
            QVERIFY2(!refused.ok(), qPrintable(name));
            QVERIFY(refused.message().contains(QStringLiteral("没有保存")));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), old);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(name).size(), 1);
        }
#endif
    }

    void replacesAnExistingExportWhole()
    {
        QTemporaryDir dir;
        // The library opens files by narrow names: a Chinese name with a space proves the path.
        const QString path = dir.filePath("门诊日志 三月.xlsx");
        QVERIFY(ClinicLogXlsxWriter().write(sampleSheet(), path).ok());
        const ClinicLogSheet day(QStringLiteral("春风诊所"), ReportPeriod::day("2009", "03", "25"),
                                 {});
        QVERIFY(ClinicLogXlsxWriter().write(day, path).ok());
        if (!canReadWorkbooks())
            QSKIP("no unzip to read the workbook back (under Wine)");
        const QMap<QString, XlsxCell> cells = readSheet(path);
        QCOMPARE(cells.value("A1").value, QStringLiteral("春风诊所 门诊日志 2009-03-25"));
        QCOMPARE(cells.value("A3").value, QStringLiteral("合计"));
        QCOMPARE(cells.value("H3").value.toDouble(), 0.0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("门诊日志 三月.xlsx")});
    }
};

QTEST_GUILESS_MAIN(TestClinicLogExport)
#include "TestClinicLogExport.moc"
