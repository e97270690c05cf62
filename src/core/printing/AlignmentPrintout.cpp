#include "core/printing/AlignmentPrintout.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/PageDevice.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/SheetFaceMetrics.h"
#include "core/printing/SheetTitle.h"

#include <QRectF>

namespace quilloa {

namespace {

void outline(PageDevice& device, QRectF box)
{
    device.drawLine(box.topLeft(), box.topRight());
    device.drawLine(box.topRight(), box.bottomRight());
    device.drawLine(box.bottomRight(), box.bottomLeft());
    device.drawLine(box.bottomLeft(), box.topLeft());
}

QRectF rectOf(const sheet::TwipRect& r, double scale)
{
    return QRectF(r.left * scale, r.top * scale, r.width * scale, r.height * scale);
}

void setOrigin(PageDevice& device, const PrintMargins& margins)
{
    device.setUnit(PageUnit::Twips);
    device.setOrigin(-margins.leftTwips(), -margins.topTwips());
}

} // namespace

AlignmentPrintout::AlignmentPrintout(PrintMargins prescriptionMargins, PrintMargins cardMargins)
    : m_prescription(prescriptionMargins), m_card(cardMargins)
{
}

bool AlignmentPrintout::print(PageDevice& device) const
{
    setOrigin(device, m_prescription);
    if (!device.begin()) {
        return false;
    }
    printPrescription(device);
    device.newPage();
    setOrigin(device, m_card);
    printCard(device);
    return device.end();
}

void AlignmentPrintout::printPrescription(PageDevice& device) const
{
    // Every caption as it prints, with a sample title so that the title's place shows too.
    const double scale = PrescriptionPrintout::kPaperScale;
    for (std::size_t i = 0; i < sheet::kCaptions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCaptions[i];
        const bool large = i == sheet::TitleCaption || i == sheet::RpCaption;
        device.setFont({shape.face.toString(),
                        large ? PrescriptionPrintout::kTitleAndRpPointSize
                              : PrescriptionPrintout::kCaptionPointSize,
                        shape.bold});
        device.setPosition(QPointF(shape.left, shape.top) * scale);
        QString text = shape.text.toString();
        if (i == sheet::TitleCaption) {
            text = QStringLiteral("诊所名称") + sheet::kTitleSuffix.toString();
            const SheetTitle::Placement place = SheetTitle::onPaper(text);
            device.setFontSize(place.pointSize);
            device.setCurrentX(place.left);
        }
        device.printText(text, LineAdvance::NextLine);
    }
    for (const sheet::TwipLine& line : sheet::kLines) {
        device.drawLine(QPointF(line.from.x, line.from.y) * scale,
                        QPointF(line.to.x, line.to.y) * scale);
    }
    for (const sheet::FieldLayout& field : sheet::kFields) {
        outline(device, rectOf(field.rect, scale));
    }
    outline(device, rectOf(sheet::kBodyRect, scale));
}

void AlignmentPrintout::printCard(PageDevice& device) const
{
    const sheet::CaptionLayout& title = sheet::kCardCaptions[sheet::CardTitleCaption];
    device.setFont({title.face.toString(), title.pointSize, title.bold});
    device.setPosition(QPointF(title.left, title.top));
    device.printText(title.text.toString(), LineAdvance::NextLine);
    // The patient line may run up to the date; the date is as wide as its ten half-width
    // characters, so both boxes stay inside the card's frame.
    const sheet::CaptionLayout& patient = sheet::kCardCaptions[sheet::CardPatientCaption];
    const sheet::CaptionLayout& date = sheet::kCardCaptions[sheet::CardDateCaption];
    const double patientEm = SheetFaceMetrics::lineHeightTwips(patient.pointSize);
    outline(device, QRectF(patient.left, patient.top, date.left - patient.left, patientEm));
    outline(device,
            QRectF(date.left, date.top,
                   SheetFaceMetrics::textWidthTwips(QStringLiteral("2026-12-08"), date.pointSize),
                   SheetFaceMetrics::lineHeightTwips(date.pointSize)));
    for (const sheet::TwipLine& line : sheet::kCardLines) {
        device.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
    }
    outline(device, rectOf(sheet::kCardBodyRect, 1.0));
}

} // namespace quilloa
