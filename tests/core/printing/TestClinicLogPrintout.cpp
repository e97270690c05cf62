#include "PagePositions.h"

#include "core/printing/ClinicLogPrintout.h"
#include "support/printing/RecordingPageDevice.h"

#include <QTest>

using namespace quilloa;

namespace {

const QStringList kGridHeadings{QStringLiteral("姓    名"), QStringLiteral("性别"),
                                QStringLiteral("年龄"),     QStringLiteral("诊    断"),
                                QStringLiteral("地    址"), QStringLiteral("就诊时间"),
                                QStringLiteral("备    注")};

const QStringList kPrintedHeadings{QStringLiteral("姓    名"),
                                   QStringLiteral("性别"),
                                   QStringLiteral("年龄"),
                                   QStringLiteral("诊            断"),
                                   QStringLiteral("地            址"),
                                   QStringLiteral("就诊时间"),
                                   QStringLiteral("备    注")};

// The grid as the clinic log window leaves it after a query that found this many visits;
// no visits leaves the heading row and one empty row.
QList<QStringList> grid(int visits)
{
    QList<QStringList> rows{kGridHeadings};
    if (visits == 0) {
        rows.append(QStringList(7));
    }
    for (int i = 1; i <= visits; ++i) {
        rows.append({QStringLiteral("病人%1").arg(i), QStringLiteral("男"), QStringLiteral("30"),
                     QStringLiteral("感冒"), QStringLiteral("城关镇"),
                     QStringLiteral("2009-03-25 08:%1").arg(i, 2, 10, QLatin1Char('0')),
                     QStringLiteral("备注%1").arg(i)});
    }
    return rows;
}

RecordingPageDevice& printed(RecordingPageDevice& device, int visits,
                             const QString& doctor = QStringLiteral("李四"))
{
    ClinicLogPrintout(grid(visits), doctor).print(device);
    return device;
}

// The visit names printed on a page, in order.
QStringList namesOnPage(const RecordingPageDevice& device, int page)
{
    QStringList names;
    for (const PageItem& item : device.texts(page)) {
        if (item.text.startsWith(QStringLiteral("病人"))) {
            names.append(item.text);
        }
    }
    return names;
}

} // namespace

class TestClinicLogPrintout : public QObject
{
    Q_OBJECT

private slots:
    void pageCount_data();
    void pageCount();
    void setsMillimetresOriginAndLandscapeBeforeTheJob();
    void emptyGridGivesOneFullyRuledPage();
    void everyPageCarriesTheFurniture();
    void visitRowPrintsSixCellsOnOneLine();
    void twentyVisitsFillOnePage();
    void twentyFirstVisitStartsPageTwoAtTheTop();
    void fortyFiveVisitsTakeThreePages();
    void notesColumnIsNeverPrinted();
    void gridHeadingRowIsNeverPrintedAsAVisit();
    void shortRowsAndEmptyDoctorPrintEmptyTexts();
    void refusedJobDrawsNothingAndSaysWhy();
};

void TestClinicLogPrintout::pageCount_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");

    QTest::newRow("no grid rows at all") << 0 << 1;
    QTest::newRow("heading only") << 1 << 1;
    QTest::newRow("heading and empty row") << 2 << 1;
    QTest::newRow("20 visits") << 21 << 1;
    QTest::newRow("21 visits") << 22 << 2;
    QTest::newRow("40 visits") << 41 << 2;
    QTest::newRow("41 visits") << 42 << 3;
    QTest::newRow("45 visits") << 46 << 3;
}

void TestClinicLogPrintout::pageCount()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    QCOMPARE(ClinicLogPrintout::pageCount(rows), pages);
}

void TestClinicLogPrintout::setsMillimetresOriginAndLandscapeBeforeTheJob()
{
    RecordingPageDevice device;
    QVERIFY(ClinicLogPrintout(grid(0), QStringLiteral("李四")).print(device));
    const QList<PageItem>& items = device.items();
    QVERIFY(items.size() > 4);
    QCOMPARE(items[0].kind, PageItem::Kind::Unit);
    QCOMPARE(items[0].unit, PageUnit::Millimetres);
    QCOMPARE(items[1].kind, PageItem::Kind::Origin);
    QUILLOA_COMPARE_POINT(items[1].origin, -20, -10);
    QCOMPARE(items[2].kind, PageItem::Kind::Orientation);
    QCOMPARE(items[2].orientation, PageOrientation::Landscape);
    QCOMPARE(items[3].kind, PageItem::Kind::Begin);
    QCOMPARE(items.last().kind, PageItem::Kind::End);
}

void TestClinicLogPrintout::emptyGridGivesOneFullyRuledPage()
{
    RecordingPageDevice device;
    printed(device, 0);
    QCOMPARE(device.pageCount(), 1);

    const QList<PageItem> lines = device.lines();
    QCOMPARE(lines.size(), 30);
    for (int k = 0; k < 22; ++k) {
        QUILLOA_COMPARE_POINT(lines[k].position, 0, 30 + 7 * k);
        QUILLOA_COMPARE_POINT(lines[k].lineEnd, 240, 30 + 7 * k);
    }
    const double columns[] = {0, 25, 35, 47, 100, 170, 207, 240};
    for (int i = 0; i < 8; ++i) {
        QUILLOA_COMPARE_POINT(lines[22 + i].position, columns[i], 30);
        QUILLOA_COMPARE_POINT(lines[22 + i].lineEnd, columns[i], 177);
    }

    const QList<PageItem> texts = device.texts();
    QCOMPARE(texts.size(), 1 + 7 + 2 + 6);
    QCOMPARE(texts[0].text, QStringLiteral("门 诊 日 志 登 记 本"));
    QUILLOA_COMPARE_POINT(texts[0].position, 80, 20);
    QCOMPARE(texts[0].font, (PageFont{QStringLiteral("宋体"), 22, true}));

    const double headingLefts[] = {2, 26, 36, 55, 117, 179, 214};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(texts[1 + i].text, kPrintedHeadings[i]);
        QUILLOA_COMPARE_POINT(texts[1 + i].position, headingLefts[i], 32);
        QCOMPARE(texts[1 + i].font, (PageFont{QStringLiteral("宋体"), 12, true}));
    }
    QCOMPARE(texts[8].text, QStringLiteral("医生：李四"));
    QUILLOA_COMPARE_POINT(texts[8].position, 0, 178);
    QCOMPARE(texts[9].text, QStringLiteral("第1页共1页"));
    QUILLOA_COMPARE_POINT(texts[9].position, 215, 178);
    QCOMPARE(texts[9].font, (PageFont{QStringLiteral("宋体"), 12, true}));

    for (int i = 10; i < 16; ++i) {
        QCOMPARE(texts[i].text, QString());
        QVERIFY(isNear(texts[i].position.y(), 39));
    }
}

void TestClinicLogPrintout::everyPageCarriesTheFurniture()
{
    RecordingPageDevice device;
    printed(device, 45);
    QCOMPARE(device.pageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
        QCOMPARE(device.lines(page).size(), 30);
        const QList<PageItem> texts = device.texts(page);
        QVERIFY(texts.size() >= 10);
        QCOMPARE(texts[0].text, QStringLiteral("门 诊 日 志 登 记 本"));
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(texts[1 + i].text, kPrintedHeadings[i]);
        }
        QCOMPARE(texts[8].text, QStringLiteral("医生：李四"));
        QCOMPARE(texts[9].text, QStringLiteral("第%1页共3页").arg(page));
        // The ruling comes first on every page, before any text.
        QList<PageItem::Kind> kinds;
        for (const PageItem& item : device.items()) {
            if (item.page == page &&
                (item.kind == PageItem::Kind::Text || item.kind == PageItem::Kind::Line)) {
                kinds.append(item.kind);
            }
        }
        QCOMPARE(kinds.mid(0, 30), QList<PageItem::Kind>(30, PageItem::Kind::Line));
        QVERIFY(!kinds.mid(30).contains(PageItem::Kind::Line));
    }
    QCOMPARE(device.items(PageItem::Kind::NewPage).size(), 2);
}

void TestClinicLogPrintout::visitRowPrintsSixCellsOnOneLine()
{
    RecordingPageDevice device;
    printed(device, 2);
    const QList<PageItem> row = device.texts().mid(10 + 6, 6);
    const double lefts[] = {2, 28, 36, 48, 101, 171};
    const QStringList cells = grid(2)[2].mid(0, 6);
    QCOMPARE(row.size(), 6);
    for (int c = 0; c < 6; ++c) {
        QCOMPARE(row[c].text, cells[c]);
        QUILLOA_COMPARE_POINT(row[c].position, lefts[c], 46);
        QCOMPARE(row[c].font, (PageFont{QStringLiteral("宋体"), 12, false}));
        QCOMPARE(row[c].advance, LineAdvance::SameLine);
    }
}

void TestClinicLogPrintout::twentyVisitsFillOnePage()
{
    RecordingPageDevice device;
    printed(device, 20);
    QCOMPARE(device.pageCount(), 1);
    QCOMPARE(namesOnPage(device, 1).size(), 20);
    const QList<PageItem> last = textsNamed(device, QStringLiteral("病人20"));
    QCOMPARE(last.size(), 1);
    QUILLOA_COMPARE_POINT(last[0].position, 2, 39 + 7 * 19);
    QCOMPARE(textsNamed(device, QStringLiteral("第1页共1页")).size(), 1);
}

void TestClinicLogPrintout::twentyFirstVisitStartsPageTwoAtTheTop()
{
    RecordingPageDevice device;
    printed(device, 21);
    QCOMPARE(device.pageCount(), 2);
    QCOMPARE(namesOnPage(device, 1).size(), 20);
    QCOMPARE(namesOnPage(device, 2), QStringList{QStringLiteral("病人21")});
    const QList<PageItem> first = textsNamed(device, QStringLiteral("病人21"));
    QCOMPARE(first.size(), 1);
    QCOMPARE(first[0].page, 2);
    QUILLOA_COMPARE_POINT(first[0].position, 2, 39);
    QCOMPARE(textsNamed(device, QStringLiteral("第1页共2页")).size(), 1);
    QCOMPARE(textsNamed(device, QStringLiteral("第2页共2页")).size(), 1);
}

void TestClinicLogPrintout::fortyFiveVisitsTakeThreePages()
{
    RecordingPageDevice device;
    printed(device, 45);
    QCOMPARE(device.pageCount(), 3);
    QCOMPARE(namesOnPage(device, 1).size(), 20);
    QCOMPARE(namesOnPage(device, 2).size(), 20);
    const QStringList third = namesOnPage(device, 3);
    QCOMPARE(third.size(), 5);
    QCOMPARE(third.first(), QStringLiteral("病人41"));
    QCOMPARE(third.last(), QStringLiteral("病人45"));
    const QList<PageItem> last = textsNamed(device, QStringLiteral("病人45"));
    QUILLOA_COMPARE_POINT(last[0].position, 2, 39 + 7 * 4);
}

void TestClinicLogPrintout::notesColumnIsNeverPrinted()
{
    RecordingPageDevice device;
    printed(device, 25);
    for (const PageItem& item : device.texts()) {
        QVERIFY2(!item.text.startsWith(QStringLiteral("备注")), qPrintable(item.text));
        QVERIFY(item.position.x() < 207 || item.text == QStringLiteral("备    注") ||
                item.text.startsWith(QStringLiteral("第")));
    }
}

void TestClinicLogPrintout::gridHeadingRowIsNeverPrintedAsAVisit()
{
    QList<QStringList> rows = grid(1);
    rows[0] = QStringList{"H0", "H1", "H2", "H3", "H4", "H5", "H6"};
    RecordingPageDevice device;
    ClinicLogPrintout(rows, QStringLiteral("李四")).print(device);
    for (const PageItem& item : device.texts()) {
        QVERIFY2(!item.text.startsWith(QLatin1Char('H')), qPrintable(item.text));
    }
    QCOMPARE(textsNamed(device, QStringLiteral("诊            断")).size(), 1);
    QUILLOA_COMPARE_POINT(textsNamed(device, QStringLiteral("病人1")).value(0).position, 2, 39);
}

void TestClinicLogPrintout::shortRowsAndEmptyDoctorPrintEmptyTexts()
{
    RecordingPageDevice device;
    QVERIFY(
        ClinicLogPrintout({kGridHeadings, {QStringLiteral("王五")}, {}}, QString()).print(device));
    QCOMPARE(textsNamed(device, QStringLiteral("医生：")).size(), 1);
    const QList<PageItem> cells = device.texts().mid(10);
    QCOMPARE(cells.size(), 12);
    QCOMPARE(cells[0].text, QStringLiteral("王五"));
    for (int i = 1; i < 12; ++i) {
        QCOMPARE(cells[i].text, QString());
    }
    QVERIFY(isNear(cells[6].position.y(), 46));
}

void TestClinicLogPrintout::refusedJobDrawsNothingAndSaysWhy()
{
    RecordingPageDevice device;
    device.refuseJob(QStringLiteral("没有默认打印机，无法打印。"));
    QVERIFY(!ClinicLogPrintout(grid(3), QStringLiteral("李四")).print(device));
    QCOMPARE(device.errorText(), QStringLiteral("没有默认打印机，无法打印。"));
    QVERIFY(device.texts().isEmpty());
    QVERIFY(device.lines().isEmpty());
}

QTEST_MAIN(TestClinicLogPrintout)
#include "TestClinicLogPrintout.moc"
