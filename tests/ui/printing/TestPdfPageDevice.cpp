#include "core/printing/ClinicLogPrintout.h"
#include "core/printing/InjectionCardPrintout.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/PrintMargins.h"
#include "core/printing/SheetFaceMetrics.h"
#include "ui/printing/PdfPageDevice.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/PdfWords.h"

#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::PdfWords;

namespace {

constexpr double kTolerance = 0.1 / 25.4 * 72; // 0.1 mm in points

PrescriptionPrintout::Sheet sampleSheet()
{
    PrescriptionPrintout::Sheet sheet;
    sheet.captions[0] = QStringLiteral("城关诊所处方笺");
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

// How far above the baseline pdftotext puts the top of a word's box: the stand-in face's own
// ascent, which the PDF carries for it.
double boxAscent(const QString& face, double pointSize, bool bold = false)
{
    QFont font(face);
    font.setPixelSize(1000);
    font.setBold(bold);
    return QFontMetricsF(font).ascent() / 1000 * pointSize;
}

// The baseline a text placed with its top at `top` points must have.
double describedBaseline(double top, double pointSize)
{
    return top + SheetFaceMetrics::kAscentPerEm * pointSize;
}

} // namespace

class TestPdfPageDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textsSitOnTheSheetFaceBaselineWhateverFaceStandsIn();
    void halfWidthCharactersAndSpacesTakeHalfAnEm();
    void positionsCountFromThePrintableCornerOfThePaper();
    void landscapePagesCountFromTheirOwnPrintableCorner();
    void theRegisterShrinksWholeOntoA5();
    void allFifteenCardLinesStayInsideTheFrame();
    void lineAdvanceIsTheSheetFaceHeightInTheCurrentUnit();
    void unwritableFileIsReported();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestPdfPageDevice::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // QUILLOA_KEEP_PDF=1 keeps the pages for a look.
    m_dir.setAutoRemove(!qEnvironmentVariableIsSet("QUILLOA_KEEP_PDF"));
    FontSetup::install();
    if (!PdfWords::available()) {
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed: PDF pages cannot be read");
    }
}

void TestPdfPageDevice::textsSitOnTheSheetFaceBaselineWhateverFaceStandsIn()
{
    const QString pdf = path(QStringLiteral("prescription.pdf"));
    PdfPageDevice device(pdf);
    QVERIFY2(PrescriptionPrintout(sampleSheet(),
                                  PrintMargins(QStringLiteral("20"), QStringLiteral("10")))
                 .print(device),
             qPrintable(device.errorText()));
    QCOMPARE(PdfWords::pageCount(pdf), 1);
    QCOMPARE(PdfWords::pageSize(pdf), QSizeF(595, 842)); // A4 when no printer says otherwise
    const QList<PdfWords::Word> words = PdfWords::words(pdf);

    // "Rp", 宋体 18 pt bold: 1740.64, 2809.82 twips from the corner with margins 20 and 10.
    const QList<PdfWords::Word> rp = PdfWords::named(words, QStringLiteral("Rp"));
    QCOMPARE(rp.size(), 1);
    const double rpBaseline = rp[0].box.top() + boxAscent(QStringLiteral("宋体"), 18, true);
    QVERIFY2(std::abs(rpBaseline - describedBaseline(2809.82 / 20, 18)) < kTolerance,
             qPrintable(QString::number(rpBaseline)));

    // The first body line: 楷体_GB2312 11 pt, top 2862.88 + 560, left 1784.34 + 1120 twips.
    const QList<PdfWords::Word> body = PdfWords::named(words, QStringLiteral("阿莫西林胶囊"));
    QCOMPARE(body.size(), 1);
    QVERIFY(std::abs(body[0].box.left() - (1784.34 + 1120) / 20) < kTolerance);
    const double bodyBaseline = body[0].box.top() + boxAscent(QStringLiteral("楷体_GB2312"), 11);
    QVERIFY2(std::abs(bodyBaseline - describedBaseline((2862.88 + 560) / 20, 11)) < kTolerance,
             qPrintable(QString::number(bodyBaseline)));
    // The second line follows one described line (11 pt) and the 70-twip gap lower.
    const QList<PdfWords::Word> usage = PdfWords::named(words, QStringLiteral("用法：口服"));
    QCOMPARE(usage.size(), 1);
    QVERIFY(std::abs((usage[0].box.top() - body[0].box.top()) - (11 + 70.0 / 20)) < kTolerance);
}

void TestPdfPageDevice::halfWidthCharactersAndSpacesTakeHalfAnEm()
{
    const QString pdf = path(QStringLiteral("headings.pdf"));
    PdfPageDevice device(pdf);
    QVERIFY(ClinicLogPrintout(registerGrid(1), QStringLiteral("李四")).print(device));
    const QList<PdfWords::Word> words = PdfWords::words(pdf);
    // "诊            断": 诊 at 55 mm, twelve half-em spaces of 12 pt, then 断 (origin 20 mm).
    // (The title above has a 诊 of its own; the heading's is the lower one.)
    const QList<PdfWords::Word> first = PdfWords::named(words, QStringLiteral("诊"));
    const QList<PdfWords::Word> last = PdfWords::named(words, QStringLiteral("断"));
    QVERIFY(first.size() == 2 && last.size() == 1);
    QVERIFY(std::abs(first[1].box.left() - PdfWords::points(75)) < kTolerance);
    QVERIFY2(std::abs(last[0].box.left() - (PdfWords::points(75) + 12 + 12 * 6)) < kTolerance,
             qPrintable(QString::number(last[0].box.left())));
    // The title's seven characters stand one em and one half-em space (33 pt) apart.
    QVERIFY(std::abs(first[0].box.left() - (PdfWords::points(100) + 33)) < kTolerance);
    // Digits and the dash of the visit time keep their half-em cells: the time spans
    // 16 half-width characters, 8 em, from 171 mm.
    const QList<PdfWords::Word> date = PdfWords::named(words, QStringLiteral("2009-03-25"));
    const QList<PdfWords::Word> time = PdfWords::named(words, QStringLiteral("09:30"));
    QVERIFY(date.size() == 1 && time.size() == 1);
    QVERIFY(date[0].box.left() >= PdfWords::points(191) - kTolerance);
    QVERIFY(time[0].box.right() <= PdfWords::points(191) + 8 * 12 + kTolerance);
    QVERIFY2(time[0].box.left() >= PdfWords::points(191) + 5.5 * 12 - kTolerance,
             qPrintable(QString::number(time[0].box.left())));
}

void TestPdfPageDevice::positionsCountFromThePrintableCornerOfThePaper()
{
    const QString pdf = path(QStringLiteral("card.pdf"));
    PaperSetup paper;
    paper.size = QSizeF(200, 250);
    paper.unprintable = QMarginsF(6, 8, 4, 12);
    PdfPageDevice device(pdf, paper);
    InjectionCardPrintout::Card card;
    card.body = QStringLiteral("青霉素");
    QVERIFY(InjectionCardPrintout(card, PrintMargins(QStringLiteral("5"), QStringLiteral("0")))
                .print(device));
    QCOMPARE(PdfWords::pageSize(pdf).toSize(), QSize(567, 709));
    const QList<PdfWords::Word> title =
        PdfWords::named(PdfWords::words(pdf), QStringLiteral("门诊注射卡"));
    QCOMPARE(title.size(), 1);
    // 1320 twips plus the 5 mm margin (280 twips) from the printable corner at (6, 8) mm.
    QVERIFY(std::abs(title[0].box.left() - (PdfWords::points(6) + (1320 + 280) / 20.0)) <
            kTolerance);
    const double baseline = title[0].box.top() + boxAscent(QStringLiteral("黑体"), 12);
    QVERIFY(std::abs(baseline - describedBaseline(PdfWords::points(8) + 300 / 20.0, 12)) <
            kTolerance);
}

void TestPdfPageDevice::landscapePagesCountFromTheirOwnPrintableCorner()
{
    const QString pdf = path(QStringLiteral("register.pdf"));
    PaperSetup paper;
    paper.unprintable = QMarginsF(6.35, 10.58, 6.35, 14.82); // 18, 30, 18 and 42 pt
    PdfPageDevice device(pdf, paper);
    QVERIFY(ClinicLogPrintout(registerGrid(21), QStringLiteral("李四")).print(device));
    QCOMPARE(PdfWords::pageCount(pdf), 2);
    QCOMPARE(PdfWords::pageSize(pdf), QSizeF(842, 595));
    // The landscape page lies on the paper a quarter turn counter-clockwise: its printable
    // corner is the paper's bottom strip across and the left strip down.
    const QPointF corner(PdfWords::points(14.82), PdfWords::points(6.35));
    const QList<PdfWords::Word> words = PdfWords::words(pdf);
    const QList<PdfWords::Word> heading = PdfWords::named(words, QStringLiteral("就诊时间"), 2);
    QCOMPARE(heading.size(), 1);
    QVERIFY2(std::abs(heading[0].box.left() - (corner.x() + PdfWords::points(179 + 20))) <
                 kTolerance,
             qPrintable(QString::number(heading[0].box.left())));
    const double baseline = heading[0].box.top() + boxAscent(QStringLiteral("宋体"), 12, true);
    QVERIFY(std::abs(baseline - describedBaseline(corner.y() + PdfWords::points(32 + 10), 12)) <
            kTolerance);
    QCOMPARE(PdfWords::named(words, QStringLiteral("第2页共2页")).size(), 1);
    QVERIFY(PdfWords::named(words, QStringLiteral("notes")).isEmpty());
}

void TestPdfPageDevice::theRegisterShrinksWholeOntoA5()
{
    const QString pdf = path(QStringLiteral("registerA5.pdf"));
    PaperSetup paper;
    paper.size = QSizeF(148, 210);
    paper.unprintable = QMarginsF(4, 4, 4, 4);
    PdfPageDevice device(pdf, paper);
    QVERIFY(ClinicLogPrintout(registerGrid(21), QStringLiteral("李四")).print(device));
    QVERIFY(device.scale() < 1);
    const QRectF printable(PdfWords::points(4), PdfWords::points(4), PdfWords::points(202),
                           PdfWords::points(140));
    const QList<PdfWords::Word> words = PdfWords::words(pdf);
    for (const PdfWords::Word& word : words) {
        QVERIFY2(printable.contains(word.box), qPrintable(word.text));
    }
    QCOMPARE(PdfWords::named(words, QStringLiteral("第2页共2页")).size(), 1);
    QCOMPARE(PdfWords::named(words, QStringLiteral("病人21")).size(), 1);
}

void TestPdfPageDevice::allFifteenCardLinesStayInsideTheFrame()
{
    const QString pdf = path(QStringLiteral("card15.pdf"));
    PdfPageDevice device(pdf);
    InjectionCardPrintout::Card card;
    card.captions[1] = QStringLiteral("张三，男，45");
    for (int i = 1; i <= 15; ++i) {
        card.body += QStringLiteral("注射%1\r\n").arg(QChar(u'一' + i)); // one word a line
    }
    QVERIFY(InjectionCardPrintout(card, PrintMargins()).print(device));
    const QList<PdfWords::Word> words = PdfWords::words(pdf);
    // The frame runs from 900 to 5280 twips down; every body word's box, drawn from the
    // stand-in's own taller ascent and descent, lies inside it, the fifteenth line too.
    int bodyLines = 0;
    for (const PdfWords::Word& word : words) {
        if (!word.text.startsWith(QStringLiteral("注射")) || word.text.size() != 3) {
            continue;
        }
        ++bodyLines;
        QVERIFY2(word.box.top() > 900 / 20.0 && word.box.bottom() < 5280 / 20.0,
                 qPrintable(QStringLiteral("%1 spans %2 to %3 pt")
                                .arg(word.text)
                                .arg(word.box.top())
                                .arg(word.box.bottom())));
    }
    QCOMPARE(bodyLines, 15);
    // The patient line sits above the frame's top rule.
    const QList<PdfWords::Word> patient = PdfWords::named(words, QStringLiteral("张三，男，45"));
    QCOMPARE(patient.size(), 1);
    QVERIFY(patient[0].box.bottom() < 900 / 20.0);
}

void TestPdfPageDevice::lineAdvanceIsTheSheetFaceHeightInTheCurrentUnit()
{
    PdfPageDevice device(path(QStringLiteral("advance.pdf")));
    QVERIFY(device.begin());
    device.setFont({QStringLiteral("宋体"), 11, false});
    device.setPosition(QPointF(500, 1000));
    device.printText(QStringLiteral("一行"), LineAdvance::NextLine);
    QCOMPARE(device.currentY(), 1000.0 + 220);
    QCOMPARE(device.currentX(), 0.0);

    device.setPosition(QPointF(10, 20));
    device.printText(QStringLiteral("Rp 一行"), LineAdvance::SameLine);
    QCOMPARE(device.currentY(), 20.0);
    QCOMPARE(device.currentX(), 10.0 + 1.5 * 220 + 2 * 220);

    device.setUnit(PageUnit::Millimetres);
    device.setOrigin(-20, -10);
    device.setPosition(QPointF(0, 50));
    device.printText(QStringLiteral("一行"), LineAdvance::NextLine);
    QVERIFY(std::abs(device.currentY() - (50 + 11 / 72.0 * 25.4)) < 1e-9);
    QCOMPARE(device.currentX(), -20.0);
    QVERIFY(device.end());
}

void TestPdfPageDevice::unwritableFileIsReported()
{
    const QString pdf = path(QStringLiteral("missing-folder/prescription.pdf"));
    PdfPageDevice device(pdf);
    QVERIFY(!PrescriptionPrintout(sampleSheet(), PrintMargins()).print(device));
    QVERIFY2(device.errorText().contains(pdf), qPrintable(device.errorText()));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!device.end());
}

QTEST_MAIN(TestPdfPageDevice)
#include "TestPdfPageDevice.moc"
