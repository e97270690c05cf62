#include "printing/ClinicLogPrintout.h"
#include "printing/PrescriptionPrintout.h"
#include "printing/PrintMargins.h"
#include "printing/QtPrinterDevice.h"

#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace quilloa;

namespace {

// Standard output of a poppler tool, or nothing when the tool is not installed.
std::optional<QString> runTool(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The top-left corner, in points, of the first word of a PDF page exactly equal to text.
std::optional<QPointF> wordCorner(const QString& pdf, const QString& text)
{
    const std::optional<QString> html =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!html) {
        return std::nullopt;
    }
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    for (const QRegularExpressionMatch& match : word.globalMatch(*html)) {
        if (match.captured(3) == text) {
            return QPointF(match.captured(1).toDouble(), match.captured(2).toDouble());
        }
    }
    return QPointF(-1, -1);
}

bool pageIsPortrait(const QString& pdfInfo)
{
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(pdfInfo);
    return size.hasMatch() && size.captured(1).toDouble() < size.captured(2).toDouble();
}

double millimetresInPoints(double millimetres)
{
    return millimetres / 25.4 * 72;
}

QByteArray fileStart(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(5) : QByteArray();
}

PrescriptionPrintout::Sheet sampleSheet()
{
    PrescriptionPrintout::Sheet sheet;
    sheet.captions[0] = QStringLiteral("城关诊所处方笺");
    sheet.titleLeft = 1500;
    sheet.fields[0] = QStringLiteral("张三");
    sheet.fields[3] = QStringLiteral("2009-03-25");
    sheet.body = QStringLiteral("阿莫西林胶囊\r\n    用法：口服\r\n");
    return sheet;
}

QList<QStringList> registerGrid(int visits)
{
    QList<QStringList> rows{QStringList(7)};
    for (int i = 1; i <= visits; ++i) {
        rows.append({QStringLiteral("病人%1").arg(i), QStringLiteral("女"), QStringLiteral("8"),
                     QStringLiteral("咳嗽"), QStringLiteral("东关"),
                     QStringLiteral("2009-03-25 09:30"), QStringLiteral("notes")});
    }
    return rows;
}

} // namespace

class TestQtPrinterDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void prescriptionGivesOnePdfPageWithItsText();
    void textTopLeftLandsAtItsPositionFromThePrintableCorner();
    void registerGivesLandscapePagesMeasuredInMillimetres();
    void lineAdvanceFollowsTheFontInTheCurrentUnit();
    void unwritableFileIsReported();
    void missingDefaultPrinterIsReported();

private:
    QTemporaryDir m_dir;
};

void TestQtPrinterDevice::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestQtPrinterDevice::prescriptionGivesOnePdfPageWithItsText()
{
    const QString pdf = m_dir.filePath(QStringLiteral("prescription.pdf"));
    QtPrinterDevice device(pdf);
    QVERIFY2(PrescriptionPrintout(sampleSheet(), PrintMargins()).print(device),
             qPrintable(device.errorText()));
    QCOMPARE(fileStart(pdf), QByteArray("%PDF-"));

    const std::optional<QString> info = runTool(QStringLiteral("pdfinfo"), {pdf});
    const std::optional<QString> text =
        runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!info || !text) {
        QSKIP("poppler-utils not installed: only the PDF header was checked");
    }
    QVERIFY2(info->contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
             qPrintable(*info));
    QVERIFY2(pageIsPortrait(*info), qPrintable(*info)); // the printer's default is kept
    for (const QString& expected :
         {QStringLiteral("Rp"), QStringLiteral("张三"), QStringLiteral("阿莫西林胶囊"),
          QStringLiteral("城关诊所处方笺")}) {
        QVERIFY2(text->contains(expected), qPrintable(*text));
    }
}

void TestQtPrinterDevice::textTopLeftLandsAtItsPositionFromThePrintableCorner()
{
    const QString pdf = m_dir.filePath(QStringLiteral("margins.pdf"));
    QtPrinterDevice device(pdf);
    QVERIFY(PrescriptionPrintout(sampleSheet(),
                                 PrintMargins(QStringLiteral("20"), QStringLiteral("10")))
                .print(device));
    const std::optional<QPointF> rp = wordCorner(pdf, QStringLiteral("Rp"));
    if (!rp) {
        QSKIP("poppler-utils not installed");
    }
    // 1740.64 and 2809.82 twips from the corner; PDF pages have no unprintable border.
    QVERIFY2(std::abs(rp->x() - 1740.64 / 20) < 0.5, qPrintable(QString::number(rp->x())));
    // The word box starts at the font's ascent, which the device puts at the position; allow
    // for the box being drawn from slightly different font metrics.
    QVERIFY2(std::abs(rp->y() - 2809.82 / 20) < 3, qPrintable(QString::number(rp->y())));
}

void TestQtPrinterDevice::registerGivesLandscapePagesMeasuredInMillimetres()
{
    const QString pdf = m_dir.filePath(QStringLiteral("register.pdf"));
    QtPrinterDevice device(pdf);
    QVERIFY2(ClinicLogPrintout(registerGrid(21), QStringLiteral("李四")).print(device),
             qPrintable(device.errorText()));
    QCOMPARE(fileStart(pdf), QByteArray("%PDF-"));

    const std::optional<QString> info = runTool(QStringLiteral("pdfinfo"), {pdf});
    if (!info) {
        QSKIP("poppler-utils not installed: only the PDF header was checked");
    }
    QVERIFY2(info->contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))),
             qPrintable(*info));
    QVERIFY2(info->contains(QStringLiteral("Page size")) && !pageIsPortrait(*info),
             qPrintable(*info));

    // The origin lies 20 mm right of and 10 mm below the corner of the printable area.
    const std::optional<QPointF> title = wordCorner(pdf, QStringLiteral("门"));
    const std::optional<QPointF> heading = wordCorner(pdf, QStringLiteral("就诊时间"));
    QVERIFY(title && heading);
    QVERIFY2(std::abs(title->x() - millimetresInPoints(80 + 20)) < 0.5,
             qPrintable(QString::number(title->x())));
    QVERIFY2(std::abs(heading->x() - millimetresInPoints(179 + 20)) < 0.5,
             qPrintable(QString::number(heading->x())));
    QVERIFY2(std::abs(heading->y() - millimetresInPoints(32 + 10)) < 1.5,
             qPrintable(QString::number(heading->y())));

    const std::optional<QString> text =
        runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text && text->contains(QStringLiteral("第1页共2页")) &&
            text->contains(QStringLiteral("第2页共2页")) &&
            !text->contains(QStringLiteral("notes")));
}

void TestQtPrinterDevice::lineAdvanceFollowsTheFontInTheCurrentUnit()
{
    QtPrinterDevice device(m_dir.filePath(QStringLiteral("advance.pdf")));
    QVERIFY(device.begin());
    device.setFont({QStringLiteral("宋体"), 11, false});
    device.setPosition(QPointF(500, 1000));
    device.printText(QStringLiteral("一行"), LineAdvance::NextLine);
    const double twipsLine = device.currentY() - 1000;
    QCOMPARE(device.currentX(), 0.0);
    QVERIFY2(twipsLine >= 11 * 20 && twipsLine <= 11 * 20 * 2,
             qPrintable(QString::number(twipsLine)));

    device.setPosition(QPointF(10, 20));
    device.printText(QStringLiteral("一行"), LineAdvance::SameLine);
    QCOMPARE(device.currentY(), 20.0);
    QVERIFY(device.currentX() > 10);

    device.setUnit(PageUnit::Millimetres);
    device.setOrigin(-20, -10);
    device.setPosition(QPointF(0, 50));
    device.printText(QStringLiteral("一行"), LineAdvance::NextLine);
    QVERIFY(std::abs((device.currentY() - 50) - twipsLine / QtPrinterDevice::kTwipsPerMillimetre) <
            1e-6);
    QCOMPARE(device.currentX(), -20.0);
    QVERIFY(device.end());
}

void TestQtPrinterDevice::unwritableFileIsReported()
{
    const QString pdf = m_dir.filePath(QStringLiteral("missing-folder/prescription.pdf"));
    QtPrinterDevice device(pdf);
    QVERIFY(!PrescriptionPrintout(sampleSheet(), PrintMargins()).print(device));
    QVERIFY2(device.errorText().contains(pdf), qPrintable(device.errorText()));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!device.end());
}

void TestQtPrinterDevice::missingDefaultPrinterIsReported()
{
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QSKIP("this machine has a default printer");
    }
    QtPrinterDevice device;
    QVERIFY(!ClinicLogPrintout(registerGrid(1), QString()).print(device));
    QCOMPARE(device.errorText(), QStringLiteral("没有默认打印机，无法打印。"));
}

QTEST_MAIN(TestQtPrinterDevice)
#include "TestQtPrinterDevice.moc"
