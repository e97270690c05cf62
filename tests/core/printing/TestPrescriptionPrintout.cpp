#include "PagePositions.h"

#include "core/printing/BodyLines.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/PrintMargins.h"
#include "core/printing/SheetFaceMetrics.h"
#include "support/printing/RecordingPageDevice.h"

#include <QTest>

#include <cmath>

using namespace quilloa;

namespace {

constexpr double kBodyLineHeight = 11 * 24; // the recording device's line height at 11 pt
constexpr int kSheetTexts = 13 + 9;         // captions and fields come before the body

PrescriptionPrintout::Sheet sampleSheet(const QString& body = QString())
{
    PrescriptionPrintout::Sheet sheet;
    sheet.captions[0] = QStringLiteral("城关诊所处方笺");
    sheet.fields = {QStringLiteral("张三"),       QStringLiteral("男"),   QStringLiteral("45"),
                    QStringLiteral("2009-03-25"), QStringLiteral("感冒"), QStringLiteral("城关镇"),
                    QStringLiteral("李四"),       QStringLiteral("王五"), QStringLiteral("12.5")};
    sheet.body = body;
    return sheet;
}

QString numberedLines(int count, const QString& lineEnd = QStringLiteral("\r\n"))
{
    QString body;
    for (int i = 1; i <= count; ++i) {
        body += QStringLiteral("line %1").arg(i) + lineEnd;
    }
    return body;
}

QList<PageItem> bodyTexts(const RecordingPageDevice& device, int sheet = 1)
{
    return device.texts(sheet).mid(kSheetTexts);
}

RecordingPageDevice& printed(RecordingPageDevice& device, const QString& body,
                             PrintMargins margins = PrintMargins())
{
    PrescriptionPrintout(sampleSheet(body), margins).print(device);
    return device;
}

// The texts whose left edge lies at x, on the first sheet.
QList<PageItem> textsAt(const RecordingPageDevice& device, double x)
{
    QList<PageItem> found;
    for (const PageItem& item : device.texts(1)) {
        if (std::abs(item.position.x() - x) < 0.01) {
            found.append(item);
        }
    }
    return found;
}

} // namespace

class TestPrescriptionPrintout : public QObject
{
    Q_OBJECT

private slots:
    void marginTexts_data();
    void marginTexts();
    void bodyLines_data();
    void bodyLines();
    void bodyLinesStopAtTheLimit();

    void marginsMoveTheOriginFromThePrintableCorner();
    void captionsKeepFaceAndBoldAtPrintedSizes();
    void fieldsPrintInKaitiAtScaledPositions();
    void linesAreScaled();
    void drawsCaptionsFieldsLinesThenBody();

    void oneLineBodyStartsBelowTheScaledBodyTop();
    void bodyLinesAreOneLineHeightPlusGapApart();
    void bodyBeyondTwentyLinesGoesOnASecondSheet();
    void aDrugStaysWithItsUsageLine();
    void usageLineWrapsInsideTheBody();
    void fieldsStayInsideTheirRooms();
    void blankLineInTheBodyCounts();
    void trailingEmptyLineCounts();
    void emptyBodyPrintsNoText();

    void refusedJobDrawsNothingAndSaysWhy();
    void printingTwiceGivesIdenticalPages();
};

void TestPrescriptionPrintout::marginTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("twips");

    QTest::newRow("whole") << "10" << 560;
    QTest::newRow("half rounds down to even") << "12.5" << 672;
    QTest::newRow("half rounds up to even") << "13.5" << 784;
    QTest::newRow("half to zero") << "0.5" << 0;
    QTest::newRow("above half") << "2.51" << 168;
    QTest::newRow("negative half to even") << "-2.5" << -112;
    QTest::newRow("leading blanks and unit") << "  7mm" << 392;
    QTest::newRow("leading number only") << "5 6" << 280;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("not a number") << "abc" << 0;
    QTest::newRow("lone point") << "." << 0;
    QTest::newRow("exponent") << "1e1" << 560;
    QTest::newRow("full-width digits and point") << "１２．５" << 672;
    QTest::newRow("full-width minus") << "－３毫米" << -168;
    QTest::newRow("absurdly large is held") << "1e300" << PrintMargins::kLimitMillimetres * 56;
    QTest::newRow("overflowing") << "1e999" << 0;
}

void TestPrescriptionPrintout::marginTexts()
{
    QFETCH(QString, text);
    QFETCH(int, twips);
    QCOMPARE(PrintMargins::twipsFromText(text), twips);
}

void TestPrescriptionPrintout::bodyLines_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("one line") << "a" << QStringList{"a"};
    QTest::newRow("crlf ended") << "a\r\nb\r\n" << QStringList{"a", "b", ""};
    QTest::newRow("lone cr") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("lone lf") << "a\nb\n" << QStringList{"a", "b", ""};
    QTest::newRow("cr before crlf") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("lf cr is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("only crlf") << "\r\n" << QStringList{"", ""};
    QTest::newRow("blank middle") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("paragraph separator")
        << QStringLiteral("阿莫西林") + QChar(QChar::ParagraphSeparator) +
               QStringLiteral("    用法：口服")
        << QStringList{QStringLiteral("阿莫西林"), QStringLiteral("    用法：口服")};
    QTest::newRow("chinese kept whole")
        << QStringLiteral("青霉素 80万单位\r\n    用法：肌注")
        << QStringList{QStringLiteral("青霉素 80万单位"), QStringLiteral("    用法：肌注")};
}

void TestPrescriptionPrintout::bodyLines()
{
    QFETCH(QString, body);
    QFETCH(QStringList, lines);
    QCOMPARE(BodyLines::split(body), lines);
}

void TestPrescriptionPrintout::bodyLinesStopAtTheLimit()
{
    QCOMPARE(BodyLines::split(QStringLiteral("a\r\nb\r\nc"), 2), (QStringList{"a", "b"}));
    QCOMPARE(BodyLines::split(QStringLiteral("a\r\n"), 2), (QStringList{"a", ""}));
    QCOMPARE(BodyLines::split(QStringLiteral("a\r\n"), 1), (QStringList{"a"}));
    QCOMPARE(BodyLines::split(QString(), 0), QStringList());
}

void TestPrescriptionPrintout::marginsMoveTheOriginFromThePrintableCorner()
{
    RecordingPageDevice device;
    printed(device, QString(), PrintMargins(QStringLiteral("20"), QStringLiteral("10")));

    const QList<PageItem> rp = textsNamed(device, QStringLiteral("Rp"));
    QCOMPARE(rp.size(), 1);
    QUILLOA_COMPARE_POINT(rp[0].origin, -1120, -560);
    QUILLOA_COMPARE_POINT(rp[0].position, 620.64, 2249.82);
    QUILLOA_COMPARE_POINT(rp[0].fromCorner(), 1740.64, 2809.82);
    QCOMPARE(rp[0].font, (PageFont{QStringLiteral("宋体"), 18, true}));
    QCOMPARE(rp[0].unit, PageUnit::Twips);
}

void TestPrescriptionPrintout::captionsKeepFaceAndBoldAtPrintedSizes()
{
    struct Expected
    {
        const char16_t* text;
        double x;
        double y;
        const char16_t* face;
        double size;
        bool bold;
    };
    const Expected expected[] = {
        {u"城关诊所处方笺", 2398.515, 465.48, u"黑体", 18, false},
        {u"Rp", 620.64, 2249.82, u"宋体", 18, true},
        {u"姓名：", 620.64, 1241.28, u"黑体", 11, false},
        {u"年龄：", 3723.84, 1241.28, u"黑体", 11, false},
        {u"日期：", 4965.12, 1241.28, u"黑体", 11, false},
        {u"诊断：", 620.64, 1784.34, u"黑体", 11, false},
        {u"地址：", 3258.36, 1784.34, u"黑体", 11, false},
        {u"性别：", 2560.14, 1241.28, u"黑体", 11, false},
        {u"医生：", 5042.70, 9619.92, u"黑体", 11, false},
        {u"配药：", 5042.70, 10007.82, u"黑体", 11, false},
        {u"划价", 930.96, 9775.08, u"楷体_GB2312", 11, false},
        {u"收费", 3723.84, 9619.92, u"楷体_GB2312", 11, false},
        {u"盖章", 3723.84, 10007.82, u"楷体_GB2312", 11, false},
    };
    RecordingPageDevice device;
    printed(device, QString());
    const QList<PageItem> texts = device.texts();
    QVERIFY(texts.size() > 13);
    for (int i = 0; i < 13; ++i) {
        const PageItem& item = texts[i];
        QCOMPARE(item.text, QString::fromUtf16(expected[i].text));
        QUILLOA_COMPARE_POINT(item.position, expected[i].x, expected[i].y);
        QCOMPARE(item.font, (PageFont{QString::fromUtf16(expected[i].face), expected[i].size,
                                      expected[i].bold}));
    }
}

void TestPrescriptionPrintout::fieldsPrintInKaitiAtScaledPositions()
{
    const QPointF expected[] = {{1396.44, 1267.14}, {3258.36, 1267.14},  {4422.06, 1267.14},
                                {5663.34, 1267.14}, {1396.44, 1823.13},  {3956.58, 1823.13},
                                {5740.92, 9639.32}, {5740.92, 10027.21}, {2017.08, 9775.08}};
    RecordingPageDevice device;
    printed(device, QString());
    const QList<PageItem> fields = device.texts().mid(13, 9);
    const PrescriptionPrintout::Sheet sheet = sampleSheet();
    QCOMPARE(fields.size(), 9);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(fields[i].text, sheet.fields[i]);
        QUILLOA_COMPARE_POINT(fields[i].position, expected[i].x(), expected[i].y());
        QCOMPARE(fields[i].font, (PageFont{QStringLiteral("楷体_GB2312"), 11, false}));
    }
}

void TestPrescriptionPrintout::linesAreScaled()
{
    const QLineF expected[] = {
        {620.64, 1086.12, 6982.20, 1086.12},   {620.64, 2172.24, 6982.20, 2172.24},
        {620.64, 9387.18, 6982.20, 9387.18},   {620.64, 9542.34, 2948.04, 9542.34},
        {620.64, 9542.34, 620.64, 10318.14},   {1784.34, 9542.34, 1784.34, 10318.14},
        {2948.04, 9542.34, 2948.04, 10318.14}, {620.64, 10318.14, 2948.04, 10318.14},
    };
    RecordingPageDevice device;
    printed(device, QString());
    const QList<PageItem> lines = device.lines();
    QCOMPARE(lines.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QUILLOA_COMPARE_POINT(lines[i].position, expected[i].x1(), expected[i].y1());
        QUILLOA_COMPARE_POINT(lines[i].lineEnd, expected[i].x2(), expected[i].y2());
    }
}

void TestPrescriptionPrintout::drawsCaptionsFieldsLinesThenBody()
{
    RecordingPageDevice device;
    QVERIFY(PrescriptionPrintout(sampleSheet(QStringLiteral("阿莫西林")), PrintMargins())
                .print(device));

    QList<PageItem::Kind> kinds;
    for (const PageItem& item : device.items()) {
        kinds.append(item.kind);
    }
    QList<PageItem::Kind> expected{PageItem::Kind::Unit, PageItem::Kind::Origin,
                                   PageItem::Kind::Begin};
    expected += QList<PageItem::Kind>(kSheetTexts, PageItem::Kind::Text);
    expected += QList<PageItem::Kind>(8, PageItem::Kind::Line);
    expected += {PageItem::Kind::Text, PageItem::Kind::End};
    QCOMPARE(kinds, expected);
    QCOMPARE(device.pageCount(), 1);
    QVERIFY(device.hasEnded());
}

void TestPrescriptionPrintout::oneLineBodyStartsBelowTheScaledBodyTop()
{
    RecordingPageDevice device;
    printed(device, QStringLiteral("阿莫西林胶囊"));
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 1);
    QCOMPARE(body[0].text, QStringLiteral("阿莫西林胶囊"));
    QUILLOA_COMPARE_POINT(body[0].position, 1784.34, 2862.88);
    QCOMPARE(body[0].font, (PageFont{QStringLiteral("楷体_GB2312"), 11, false}));
    // The body's left is the fee-box divider's x.
    QVERIFY(isNear(body[0].position.x(), device.lines()[5].position.x()));
}

void TestPrescriptionPrintout::bodyLinesAreOneLineHeightPlusGapApart()
{
    RecordingPageDevice device;
    printed(device, QStringLiteral("阿莫西林\r\n    用法：口服\r\n"));
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 3);
    QCOMPARE(body[1].text, QStringLiteral("    用法：口服"));
    QCOMPARE(body[2].text, QString());
    for (int i = 0; i < 3; ++i) {
        QUILLOA_COMPARE_POINT(body[i].position, 1784.34, 2862.88 + i * (kBodyLineHeight + 70));
        QCOMPARE(body[i].advance, LineAdvance::NextLine);
    }
}

void TestPrescriptionPrintout::bodyBeyondTwentyLinesGoesOnASecondSheet()
{
    RecordingPageDevice device;
    const PrescriptionPrintout printout(sampleSheet(numberedLines(25)), PrintMargins());
    QCOMPARE(printout.sheetCount(), 2);
    QCOMPARE(printout.rowsAfterFirstSheet(), 5);
    QVERIFY(printout.print(device));
    QCOMPARE(device.pageCount(), 2);
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 20);
    QCOMPARE(body.first().text, QStringLiteral("line 1"));
    QCOMPARE(body.last().text, QStringLiteral("line 20"));
    QUILLOA_COMPARE_POINT(body.last().position, 1784.34, 2862.88 + 19 * (kBodyLineHeight + 70));
    // The second sheet is laid out like the first, its body going on from the top.
    QCOMPARE(device.texts(2).mid(0, kSheetTexts).last().text, QStringLiteral("12.5"));
    QCOMPARE(device.lines(2).size(), 8);
    const QList<PageItem> rest = bodyTexts(device, 2);
    QCOMPARE(rest.size(), 5);
    QCOMPARE(rest.first().text, QStringLiteral("line 21"));
    QUILLOA_COMPARE_POINT(rest.first().position, 1784.34, 2862.88);
}

// The twentieth row is a drug whose usage line would be the twenty-first: both go over.
void TestPrescriptionPrintout::aDrugStaysWithItsUsageLine()
{
    const QString drug = QStringLiteral("布洛芬缓释胶囊 0.3×20\r\n    用法：0.3 bid\r\n");
    RecordingPageDevice device;
    QVERIFY(
        PrescriptionPrintout(sampleSheet(numberedLines(19) + drug), PrintMargins()).print(device));
    QCOMPARE(bodyTexts(device).size(), 19);
    const QList<PageItem> rest = bodyTexts(device, 2);
    QCOMPARE(rest.size(), 2);
    QCOMPARE(rest[0].text, QStringLiteral("布洛芬缓释胶囊 0.3×20"));
    QCOMPARE(rest[1].text, QStringLiteral("    用法：0.3 bid"));
}

// Wrapped rows as the sheet on screen shows them, and a row wider than the printed body
// wrapped on: no row runs past the body's right edge, and the wrapped rows stay together.
void TestPrescriptionPrintout::usageLineWrapsInsideTheBody()
{
    PrescriptionPrintout::Sheet sheet = sampleSheet();
    const QString usage = QStringLiteral("    用法：") + QString(40, QChar(u'服'));
    sheet.bodyRows = {
        {QStringLiteral("阿莫西林胶囊"), false}, {usage.left(20), false}, {usage.mid(20), true}};
    RecordingPageDevice device;
    QVERIFY(PrescriptionPrintout(sheet, PrintMargins()).print(device));
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 4);
    QCOMPARE(body[1].text, usage.left(20));
    QCOMPARE(body[2].text + body[3].text, usage.mid(20));
    for (const PageItem& row : body) {
        QVERIFY(row.position.x() + SheetFaceMetrics::textWidthTwips(row.text, 11) <=
                1.293 * (1380 + 3915) + 0.01);
    }
}

// A field at its longest keeps to its room: up to the next caption of its row, or to the
// rules' end, set smaller first and wrapped only when that is not enough.
void TestPrescriptionPrintout::fieldsStayInsideTheirRooms()
{
    PrescriptionPrintout::Sheet sheet = sampleSheet();
    sheet.fields[sheet::AgeField] = QStringLiteral("八十五岁");
    sheet.fields[sheet::AddressField] = QString(18, QChar(u'镇'));
    sheet.fields[sheet::NameField] = QStringLiteral("欧阳娜娜");
    RecordingPageDevice device;
    QVERIFY(PrescriptionPrintout(sheet, PrintMargins()).print(device));
    const auto rightEnd = [](const PageItem& item) {
        return item.position.x() + SheetFaceMetrics::textWidthTwips(item.text, item.font.pointSize);
    };
    const QList<PageItem> age = textsAt(device, 1.293 * 3420);
    QCOMPARE(age.size(), 2); // too long for one row even at the smallest size
    for (const PageItem& row : age) {
        QVERIFY2(rightEnd(row) <= 1.293 * 3840, qPrintable(row.text));
    }
    const QList<PageItem> address = textsAt(device, 1.293 * 3060);
    QCOMPARE(address.size(), 1); // set smaller, still one row
    QVERIFY(address[0].font.pointSize < 11 && rightEnd(address[0]) <= 1.293 * 5400);
    const QList<PageItem> name = textsAt(device, 1.293 * 1080);
    QCOMPARE(name.first().font.pointSize, 11.0); // fits as it is
}

void TestPrescriptionPrintout::blankLineInTheBodyCounts()
{
    RecordingPageDevice device;
    printed(device, numberedLines(4) + QStringLiteral("\r\n") + numberedLines(16));
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 20);
    QCOMPARE(body[4].text, QString());
    QCOMPARE(body[5].text, QStringLiteral("line 1"));
    QCOMPARE(body.last().text, QStringLiteral("line 15"));
}

void TestPrescriptionPrintout::trailingEmptyLineCounts()
{
    RecordingPageDevice nineteen;
    printed(nineteen, numberedLines(19));
    QCOMPARE(bodyTexts(nineteen).size(), 20);
    QCOMPARE(bodyTexts(nineteen).last().text, QString());

    RecordingPageDevice twenty;
    printed(twenty, numberedLines(20, QStringLiteral("\n")));
    QCOMPARE(bodyTexts(twenty).size(), 20);
    QCOMPARE(bodyTexts(twenty).last().text, QStringLiteral("line 20"));
}

void TestPrescriptionPrintout::emptyBodyPrintsNoText()
{
    RecordingPageDevice device;
    printed(device, QString());
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 1);
    QCOMPARE(body[0].text, QString());
    QCOMPARE(device.lines().size(), 8);
    QCOMPARE(device.texts().mid(0, kSheetTexts).last().text, QStringLiteral("12.5"));
}

void TestPrescriptionPrintout::refusedJobDrawsNothingAndSaysWhy()
{
    RecordingPageDevice device;
    device.refuseJob(QStringLiteral("没有默认打印机"));
    QVERIFY(!PrescriptionPrintout(sampleSheet(QStringLiteral("a")), PrintMargins()).print(device));
    QCOMPARE(device.errorText(), QStringLiteral("没有默认打印机"));
    QVERIFY(device.texts().isEmpty());
    QVERIFY(device.lines().isEmpty());
    QCOMPARE(device.pageCount(), 0);
}

void TestPrescriptionPrintout::printingTwiceGivesIdenticalPages()
{
    const PrescriptionPrintout printout(sampleSheet(numberedLines(3)),
                                        PrintMargins(QStringLiteral("3"), QStringLiteral("4.5")));
    RecordingPageDevice first;
    RecordingPageDevice second;
    QVERIFY(printout.print(first));
    QVERIFY(printout.print(second));
    QCOMPARE(first.items().size(), second.items().size());
    for (qsizetype i = 0; i < first.items().size(); ++i) {
        const PageItem& a = first.items()[i];
        const PageItem& b = second.items()[i];
        QVERIFY(a.kind == b.kind && a.text == b.text && a.font == b.font &&
                a.position == b.position && a.lineEnd == b.lineEnd && a.origin == b.origin);
    }
}

QTEST_MAIN(TestPrescriptionPrintout)
#include "TestPrescriptionPrintout.moc"
