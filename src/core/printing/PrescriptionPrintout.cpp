#include "core/printing/PrescriptionPrintout.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/BodyLines.h"
#include "core/printing/PageDevice.h"
#include "core/printing/PrintJobName.h"
#include "core/printing/SheetTitle.h"

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
}

bool PrescriptionPrintout::print(PageDevice& device) const
{
    device.setUnit(PageUnit::Twips);
    device.setOrigin(-m_margins.leftTwips(), -m_margins.topTwips());
    if (!device.begin()) {
        return false;
    }
    printCaptions(device);
    printFields(device);
    printLines(device);
    printBody(device);
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
    device.setFont({sheet::kKaiti.toString(), kFieldPointSize, false});
    for (std::size_t i = 0; i < m_sheet.fields.size(); ++i) {
        const sheet::TwipRect& rect = sheet::kFields[i].rect;
        device.setPosition(QPointF(scaled(rect.left), scaled(rect.top)));
        device.printText(m_sheet.fields[i], LineAdvance::NextLine);
    }
}

void PrescriptionPrintout::printLines(PageDevice& device) const
{
    for (const sheet::TwipLine& line : sheet::kLines) {
        device.drawLine(scaled(line.from), scaled(line.to));
    }
}

void PrescriptionPrintout::printBody(PageDevice& device) const
{
    device.setFont({sheet::kKaiti.toString(), kBodyPointSize, false});
    device.setCurrentY(scaled(sheet::kBodyRect.top));
    for (const QString& line : BodyLines::split(m_sheet.body, kMaxBodyLines)) {
        device.setCurrentX(scaled(sheet::kBodyRect.left));
        device.setCurrentY(device.currentY() + kBodyLineGap);
        device.printText(line, LineAdvance::NextLine);
    }
}

} // namespace quilloa
