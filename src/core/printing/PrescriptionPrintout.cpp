#include "core/printing/PrescriptionPrintout.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/FieldFit.h"
#include "core/printing/PageDevice.h"
#include "core/printing/PrintJobName.h"
#include "core/printing/SheetFaceMetrics.h"
#include "core/printing/SheetTitle.h"

#include <array>
#include <utility>

namespace quilloa {

namespace {

constexpr double scaled(double sheetTwips)
{
    return PrescriptionPrintout::kPaperScale * sheetTwips;
}

QPointF scaled(sheet::TwipPoint point)
{
    return QPointF(scaled(point.x), scaled(point.y));
}

// Where each field's room on paper ends, right and below, in sheet twips: at the next caption
// of its row less a small gap, at the rules' end, or at the rule or caption beneath it. On
// screen a field scrolls its text; on paper it has only this room.
struct FieldRoom
{
    int right;
    int bottom;
};
constexpr int kCaptionGap = 60;
constexpr std::array<FieldRoom, 9> kFieldRooms{{
    {1980 - kCaptionGap, 1380},     // name, up to "性别："
    {2880 - kCaptionGap, 1380},     // sex, up to "年龄："
    {3840 - kCaptionGap, 1380},     // age, up to "日期："
    {5400, 1380},                   // visit date, to the rules' end
    {2520 - kCaptionGap, 1680},     // diagnosis, up to "地址："
    {5400, 1680},                   // address
    {5400, 7740},                   // doctor, down to "配药："
    {5400, 8100},                   // dispensed by
    {2280 - kCaptionGap / 2, 7980}, // fee, inside its box
}};

} // namespace

PrescriptionPrintout::Sheet::Sheet()
{
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = sheet::kCaptions[i].text.toString();
    }
}

PrescriptionPrintout::PrescriptionPrintout(Sheet sheet, PrintMargins margins)
    : m_sheet(std::move(sheet)), m_margins(margins)
{
    const double width = scaled(sheet::kBodyRect.width);
    const QList<BodyRow> rows = m_sheet.bodyRows.isEmpty()
                                    ? BodySheets::wrapped(m_sheet.body, width, kBodyPointSize)
                                    : BodySheets::fitted(m_sheet.bodyRows, width, kBodyPointSize);
    m_body = BodySheets(rows, kMaxBodyLines);
}

bool PrescriptionPrintout::print(PageDevice& device) const
{
    device.setUnit(PageUnit::Twips);
    device.setOrigin(-m_margins.leftTwips(), -m_margins.topTwips());
    if (!device.begin()) {
        return false;
    }
    for (int i = 0; i < m_body.sheetCount(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        printCaptions(device);
        printFields(device);
        printLines(device);
        printBody(device, m_body.sheet(i));
    }
    return device.end();
}

QString PrescriptionPrintout::jobName(QDate today) const
{
    return PrintJobName::compose(QStringLiteral("处方"), m_sheet.fields[sheet::NameField],
                                 m_sheet.fields[sheet::VisitDateField], today);
}

void PrescriptionPrintout::printCaptions(PageDevice& device) const
{
    for (std::size_t i = 0; i < m_sheet.captions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCaptions[i];
        const bool large = i == sheet::TitleCaption || i == sheet::RpCaption;
        device.setFont(
            {shape.face.toString(), large ? kTitleAndRpPointSize : kCaptionPointSize, shape.bold});
        device.setPosition(QPointF(scaled(shape.left), scaled(shape.top)));
        if (i == sheet::TitleCaption) {
            const SheetTitle::Placement title = SheetTitle::onPaper(m_sheet.captions[i]);
            device.setFontSize(title.pointSize);
            device.setCurrentX(title.left);
        }
        device.printText(m_sheet.captions[i], LineAdvance::NextLine);
    }
}

void PrescriptionPrintout::printFields(PageDevice& device) const
{
    for (std::size_t i = 0; i < m_sheet.fields.size(); ++i) {
        const sheet::TwipRect& rect = sheet::kFields[i].rect;
        const FieldRoom& room = kFieldRooms[i];
        const FieldFit fit =
            FieldFit::of(m_sheet.fields[i], kFieldPointSize, scaled(room.right - rect.left),
                         scaled(room.bottom - rect.top));
        device.setFont({sheet::kKaiti.toString(), fit.pointSize, false});
        for (qsizetype row = 0; row < fit.rows.size(); ++row) {
            const double below = double(row) * SheetFaceMetrics::lineHeightTwips(fit.pointSize);
            device.setPosition(QPointF(scaled(rect.left), scaled(rect.top) + below));
            device.printText(fit.rows[row], LineAdvance::NextLine);
        }
    }
}

void PrescriptionPrintout::printLines(PageDevice& device) const
{
    for (const sheet::TwipLine& line : sheet::kLines) {
        device.drawLine(scaled(line.from), scaled(line.to));
    }
}

void PrescriptionPrintout::printBody(PageDevice& device, const QList<BodyRow>& rows) const
{
    device.setFont({sheet::kKaiti.toString(), kBodyPointSize, false});
    device.setCurrentY(scaled(sheet::kBodyRect.top));
    for (const BodyRow& row : rows) {
        device.setCurrentX(scaled(sheet::kBodyRect.left));
        device.setCurrentY(device.currentY() + kBodyLineGap);
        device.printText(row.text, LineAdvance::NextLine);
    }
}

} // namespace quilloa
