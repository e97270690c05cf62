#include "PagePositions.h"

#include "core/printing/InjectionCardPrintout.h"
#include "core/printing/PrintMargins.h"
#include "support/printing/RecordingPageDevice.h"

#include <QTest>

using namespace quilloa;

namespace {

constexpr double kBodyLineHeight = 10 * 24; // the recording device's line height at 10 pt

InjectionCardPrintout::Card sampleCard(const QString& body = QString())
{
    InjectionCardPrintout::Card card;
    card.captions[1] = QStringLiteral("张三，男，45");
    card.captions[2] = QStringLiteral("2009-03-25");
    card.body = body;
    return card;
}

QString numberedLines(int count)
{
    QString body;
    for (int i = 1; i <= count; ++i) {
        body += QStringLiteral("注射 %1\r\n").arg(i);
    }
    return body;
}

QList<PageItem> bodyTexts(const RecordingPageDevice& device, int card = 1)
{
    return device.texts(card).mid(3);
}

} // namespace

class TestInjectionCardPrintout : public QObject
{
    Q_OBJECT

private slots:
    void printsAtCardCoordinatesWithoutMargins();
    void captionsKeepTheirOwnFonts();
    void cardMarginOfFiveMillimetresIs280Twips();
    void emptyPatientLinePrintsTheTwoCommas();
    void bodyStartsBelowTheBodyTopInSongti();
    void bodyBeyondFifteenLinesGoesOnASecondCard();
    void printsOnlyItsOwnCaptionsAndBody();
    void frameIsDrawnAfterTheTexts();
    void refusedJobDrawsNothingAndSaysWhy();
};

void TestInjectionCardPrintout::printsAtCardCoordinatesWithoutMargins()
{
    RecordingPageDevice device;
    QVERIFY(InjectionCardPrintout(sampleCard(), PrintMargins(QStringLiteral("0"), QString()))
                .print(device));

    const QList<PageItem> title = textsNamed(device, QStringLiteral("门诊注射卡"));
    QCOMPARE(title.size(), 1);
    QUILLOA_COMPARE_POINT(title[0].fromCorner(), 1320, 300);
    QCOMPARE(title[0].unit, PageUnit::Twips);

    const QList<PageItem> frame = device.lines();
    QCOMPARE(frame.size(), 4);
    QUILLOA_COMPARE_POINT(frame[0].position, 300, 900);
    QUILLOA_COMPARE_POINT(frame[0].lineEnd, 3540, 900);
    QUILLOA_COMPARE_POINT(frame[1].position, 300, 5280);
    QUILLOA_COMPARE_POINT(frame[1].lineEnd, 3540, 5280);
    QUILLOA_COMPARE_POINT(frame[2].position, 300, 900);
    QUILLOA_COMPARE_POINT(frame[2].lineEnd, 300, 5280);
    QUILLOA_COMPARE_POINT(frame[3].position, 3540, 5280);
    QUILLOA_COMPARE_POINT(frame[3].lineEnd, 3540, 900);
}

void TestInjectionCardPrintout::captionsKeepTheirOwnFonts()
{
    RecordingPageDevice device;
    InjectionCardPrintout(sampleCard(), PrintMargins()).print(device);
    const QList<PageItem> texts = device.texts();
    QVERIFY(texts.size() >= 3);
    QCOMPARE(texts[0].font, (PageFont{QStringLiteral("黑体"), 12, false}));
    QCOMPARE(texts[1].text, QStringLiteral("张三，男，45"));
    QUILLOA_COMPARE_POINT(texts[1].position, 300, 660);
    QCOMPARE(texts[1].font, (PageFont{QStringLiteral("宋体"), 9.75, false}));
    QCOMPARE(texts[2].text, QStringLiteral("2009-03-25"));
    QUILLOA_COMPARE_POINT(texts[2].position, 2460, 660);
    QCOMPARE(texts[2].font, (PageFont{QStringLiteral("宋体"), 9.75, false}));
}

void TestInjectionCardPrintout::cardMarginOfFiveMillimetresIs280Twips()
{
    RecordingPageDevice device;
    InjectionCardPrintout(sampleCard(QStringLiteral("青霉素")),
                          PrintMargins(QStringLiteral("5"), QStringLiteral("5")))
        .print(device);
    for (const PageItem& item : device.items()) {
        if (item.kind == PageItem::Kind::Text || item.kind == PageItem::Kind::Line) {
            QUILLOA_COMPARE_POINT(item.origin, -280, -280);
        }
    }
    QUILLOA_COMPARE_POINT(device.texts()[0].fromCorner(), 1600, 580);
    QUILLOA_COMPARE_POINT(device.lines()[0].fromCorner(), 580, 1180);
}

void TestInjectionCardPrintout::emptyPatientLinePrintsTheTwoCommas()
{
    InjectionCardPrintout::Card card;
    card.captions[1] = QStringLiteral("，，");
    RecordingPageDevice device;
    InjectionCardPrintout(card, PrintMargins()).print(device);
    const QList<PageItem> patient = textsNamed(device, QStringLiteral("，，"));
    QCOMPARE(patient.size(), 1);
    QUILLOA_COMPARE_POINT(patient[0].position, 300, 660);
}

void TestInjectionCardPrintout::bodyStartsBelowTheBodyTopInSongti()
{
    RecordingPageDevice device;
    InjectionCardPrintout(sampleCard(QStringLiteral("青霉素皮试\r\n(-)")), PrintMargins())
        .print(device);
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 2);
    QCOMPARE(body[0].text, QStringLiteral("青霉素皮试"));
    QUILLOA_COMPARE_POINT(body[0].position, 540, 1190);
    QUILLOA_COMPARE_POINT(body[1].position, 540, 1190 + kBodyLineHeight + 50);
    QCOMPARE(body[1].font, (PageFont{QStringLiteral("宋体"), 10, false}));
}

void TestInjectionCardPrintout::bodyBeyondFifteenLinesGoesOnASecondCard()
{
    RecordingPageDevice device;
    const InjectionCardPrintout printout(sampleCard(numberedLines(18)), PrintMargins());
    QCOMPARE(printout.rowsAfterFirstSheet(), 3);
    QVERIFY(printout.print(device));
    const QList<PageItem> body = bodyTexts(device);
    QCOMPARE(body.size(), 15);
    QCOMPARE(body.last().text, QStringLiteral("注射 15"));
    QUILLOA_COMPARE_POINT(body.last().position, 540, 1190 + 14 * (kBodyLineHeight + 50));
    const QList<PageItem> rest = bodyTexts(device, 2);
    QCOMPARE(rest.size(), 3);
    QCOMPARE(rest.first().text, QStringLiteral("注射 16"));
    QCOMPARE(device.lines(2).size(), 4);
}

void TestInjectionCardPrintout::printsOnlyItsOwnCaptionsAndBody()
{
    RecordingPageDevice device;
    InjectionCardPrintout(sampleCard(QStringLiteral("注射用水")), PrintMargins()).print(device);
    QStringList printed;
    for (const PageItem& item : device.texts()) {
        printed.append(item.text);
    }
    QCOMPARE(printed, (QStringList{QStringLiteral("门诊注射卡"), QStringLiteral("张三，男，45"),
                                   QStringLiteral("2009-03-25"), QStringLiteral("注射用水")}));
}

void TestInjectionCardPrintout::frameIsDrawnAfterTheTexts()
{
    RecordingPageDevice device;
    InjectionCardPrintout(sampleCard(numberedLines(2)), PrintMargins()).print(device);
    QList<PageItem::Kind> kinds;
    for (const PageItem& item : device.items()) {
        kinds.append(item.kind);
    }
    QList<PageItem::Kind> expected{PageItem::Kind::Unit, PageItem::Kind::Origin,
                                   PageItem::Kind::Begin};
    expected += QList<PageItem::Kind>(3 + 3, PageItem::Kind::Text);
    expected += QList<PageItem::Kind>(4, PageItem::Kind::Line);
    expected += PageItem::Kind::End;
    QCOMPARE(kinds, expected);
}

void TestInjectionCardPrintout::refusedJobDrawsNothingAndSaysWhy()
{
    RecordingPageDevice device;
    device.refuseJob(QStringLiteral("打印机拒绝了打印任务。"));
    QVERIFY(!InjectionCardPrintout(sampleCard(), PrintMargins()).print(device));
    QCOMPARE(device.errorText(), QStringLiteral("打印机拒绝了打印任务。"));
    QVERIFY(device.texts().isEmpty());
    QVERIFY(device.lines().isEmpty());
}

QTEST_MAIN(TestInjectionCardPrintout)
#include "TestInjectionCardPrintout.moc"
