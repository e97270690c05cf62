#include "core/entry/SheetGeometry.h"
#include "core/printing/AlignmentPrintout.h"
#include "core/printing/PaperSetup.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/PrintJobName.h"
#include "core/printing/SheetFaceMetrics.h"
#include "core/printing/SheetTitle.h"
#include "support/printing/RecordingPageDevice.h"

#include <QTest>

using namespace quilloa;

class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void describedFaceIsOneEmTallWithHalfWidthAscii()
    {
        QCOMPARE(SheetFaceMetrics::lineHeightTwips(12), 240.0);
        QCOMPARE(SheetFaceMetrics::ascentTwips(12), 240.0 * 220 / 256);
        QCOMPARE(SheetFaceMetrics::advanceTwips(U'门', 12), 240.0);
        QCOMPARE(SheetFaceMetrics::advanceTwips(U' ', 12), 120.0);
        QCOMPARE(SheetFaceMetrics::advanceTwips(U'9', 12), 120.0);
        QCOMPARE(SheetFaceMetrics::advanceTwips(U'\uFF1A', 12), 240.0); // full-width colon
        QCOMPARE(SheetFaceMetrics::advanceTwips(U'\U00020000', 12), 240.0);
        // The register heading "姓    名": two Han characters and four spaces, 4 em.
        QCOMPARE(SheetFaceMetrics::textWidthTwips(QStringLiteral("姓    名"), 12), 4 * 240.0);
        QCOMPARE(SheetFaceMetrics::textWidthTwips(QStringLiteral("2009-03-25 09:30"), 12),
                 8 * 240.0);
    }

    void landscapePagesTakeTheirCornerFromThePaperTurned()
    {
        PaperSetup paper;
        paper.size = QSizeF(210, 297);
        paper.unprintable = QMarginsF(1, 2, 3, 4);
        QCOMPARE(paper.pageSize(PageOrientation::Landscape), QSizeF(297, 210));
        QCOMPARE(paper.printableCorner(PageOrientation::Portrait), QPointF(1, 2));
        // A quarter turn counter-clockwise: the page's left strip is the paper's bottom one,
        // its top strip the paper's left one.
        QCOMPARE(paper.unprintableOnPage(PageOrientation::Landscape), QMarginsF(4, 1, 2, 3));
        QCOMPARE(paper.printableCorner(PageOrientation::Landscape), QPointF(4, 1));
    }

    void jobNamesSayWhatAndWhom()
    {
        const QDate today(2026, 12, 8);
        QCOMPARE(PrintJobName::compose(QStringLiteral("处方"), QStringLiteral(" 张三 "),
                                       QStringLiteral("2026-12-07"), today),
                 QStringLiteral("处方 张三 2026-12-07"));
        QCOMPARE(PrintJobName::compose(QStringLiteral("处方"), QString(), QString(), today),
                 QStringLiteral("处方 2026-12-08"));
        QCOMPARE(PrintJobName::compose(QStringLiteral("处方"), QStringLiteral("张\r\n三"),
                                       QString(), today),
                 QStringLiteral("处方 张 三 2026-12-08"));

        PrescriptionPrintout::Sheet sheet;
        sheet.fields[sheet::NameField] = QStringLiteral("张三");
        QCOMPARE(PrescriptionPrintout(sheet, PrintMargins()).jobName(today),
                 QStringLiteral("处方 张三 2026-12-08"));
    }

    void titleIsCentredByItsSheetFaceWidth()
    {
        // Seven Han characters at 15.75 pt: 2205 twips, so the left is (5915 - 2205) / 2.
        const SheetTitle::Placement sheetPlace =
            SheetTitle::onSheet(QStringLiteral("城关诊所处方笺"));
        QCOMPARE(sheetPlace.left, 1855.0);
        QCOMPARE(sheetPlace.pointSize, 15.75);
        // An odd number of characters centres to a half twip, which the paper keeps.
        const SheetTitle::Placement odd = SheetTitle::onPaper(QStringLiteral("城关镇诊所处方笺"));
        QCOMPARE(odd.left, 1.293 * (5915 - 8 * 315) / 2.0);
        QCOMPARE(odd.pointSize, 18.0);
    }

    void longClinicNameShrinksToFitTheSheet()
    {
        const QString title = QString(50, QChar(u'医')) + QStringLiteral("处方笺");
        const SheetTitle::Placement sheetPlace = SheetTitle::onSheet(title);
        const double sheetWidth = SheetFaceMetrics::textWidthTwips(title, sheetPlace.pointSize);
        QVERIFY(sheetPlace.pointSize < 15.75);
        QVERIFY(std::abs(sheetPlace.left - SheetTitle::kSideRoomTwips) < 1e-6);
        QVERIFY(sheetPlace.left + sheetWidth <= sheet::kSheetSize.width - 119.999);

        const SheetTitle::Placement paper = SheetTitle::onPaper(title);
        const double paperWidth = SheetFaceMetrics::textWidthTwips(title, paper.pointSize);
        QCOMPARE(paper.pointSize / 18, sheetPlace.pointSize / 15.75);
        QVERIFY(paper.left > 0);
        QVERIFY(paper.left + paperWidth <= sheet::kSheetSize.width * 1.293);

        RecordingPageDevice device;
        PrescriptionPrintout::Sheet sheet;
        sheet.captions[0] = title;
        QVERIFY(PrescriptionPrintout(sheet, PrintMargins()).print(device));
        QCOMPARE(device.texts().first().font.pointSize, paper.pointSize);
        QCOMPARE(device.texts().first().position.x(), paper.left);
    }

    void alignmentPageOutlinesTheSheetAndTheCardAtTheirMargins()
    {
        RecordingPageDevice device;
        QVERIFY(AlignmentPrintout(PrintMargins(QStringLiteral("10"), QStringLiteral("5")),
                                  PrintMargins(QStringLiteral("3"), QStringLiteral("0")))
                    .print(device));
        QCOMPARE(device.pageCount(), 2);
        const QList<PageItem> sheetLines = device.lines(1);
        // The eight rules and a four-sided box round each of the nine fields and the body.
        QCOMPARE(sheetLines.size(), 8 + 4 * 10);
        QCOMPARE(sheetLines.first().origin, QPointF(-560, -280));
        const QRectF name(1080 * 1.293, 980 * 1.293, 795 * 1.293, 270 * 1.293);
        bool nameBoxed = false;
        for (const PageItem& line : sheetLines) {
            nameBoxed =
                nameBoxed || (line.position == name.topLeft() && line.lineEnd == name.topRight());
        }
        QVERIFY(nameBoxed);
        QCOMPARE(device.texts(1).size(), 13);
        const QList<PageItem> cardLines = device.lines(2);
        QCOMPARE(cardLines.first().origin, QPointF(-168, 0));
        QCOMPARE(device.texts(2).first().text, QStringLiteral("门诊注射卡"));

        // Every outline stays on its own paper, and the card's inside the card's frame.
        const double scale = PrescriptionPrintout::kPaperScale;
        const QRectF sheetPaper(0, 0, sheet::kSheetSize.width * scale,
                                sheet::kSheetSize.height * scale);
        const QRectF cardFrame(QPointF(sheet::kCardLines[2].from.x, 0),
                               QPointF(sheet::kCardLines[3].from.x, sheet::kCardSize.height));
        for (const auto& [page, paper] : {std::pair{1, sheetPaper}, std::pair{2, cardFrame}}) {
            for (const PageItem& line : device.lines(page)) {
                QVERIFY2(paper.contains(line.position) && paper.contains(line.lineEnd),
                         qPrintable(QStringLiteral("page %1: (%2, %3) to (%4, %5)")
                                        .arg(page)
                                        .arg(line.position.x())
                                        .arg(line.position.y())
                                        .arg(line.lineEnd.x())
                                        .arg(line.lineEnd.y())));
            }
        }
    }
};

QTEST_MAIN(TestPrintLayout)
#include "TestPrintLayout.moc"
