#include "core/printing/InjectionCardPrintout.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/FieldFit.h"
#include "core/printing/PageDevice.h"
#include "core/printing/PrintJobName.h"
#include "core/printing/SheetFaceMetrics.h"

#include <array>
#include <utility>

namespace quilloa {

InjectionCardPrintout::Card::Card()
{
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = sheet::kCardCaptions[i].text.toString();
    }
}

InjectionCardPrintout::InjectionCardPrintout(Card card, PrintMargins margins)
    : m_card(std::move(card)), m_margins(margins),
      m_body(BodySheets::wrapped(m_card.body, sheet::kCardBodyRect.width, kBodyPointSize),
             kMaxBodyLines)
{
}

bool InjectionCardPrintout::print(PageDevice& device) const
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
        printBody(device, m_body.sheet(i));
        // Drawn last, over the texts: nothing is clipped to the frame.
        printFrame(device);
    }
    return device.end();
}

QString InjectionCardPrintout::jobName(QDate today) const
{
    const QString patient = m_card.captions[sheet::CardPatientCaption].section(QChar(0xFF0C), 0, 0);
    return PrintJobName::compose(QStringLiteral("注射卡"), patient,
                                 m_card.captions[sheet::CardDateCaption], today);
}

// The patient line ends before the date, the date at the frame's right side: on screen a long
// name is cut off at the date, on paper it is set smaller or wrapped in its room instead.
void InjectionCardPrintout::printCaptions(PageDevice& device) const
{
    const std::array<int, 3> rightEnds{sheet::kCardLines[0].to.x,
                                       sheet::kCardCaptions[sheet::CardDateCaption].left - 60,
                                       sheet::kCardLines[0].to.x};
    for (std::size_t i = 0; i < m_card.captions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCardCaptions[i];
        const FieldFit fit =
            FieldFit::of(m_card.captions[i], shape.pointSize, rightEnds[i] - shape.left,
                         sheet::kCardLines[0].from.y - shape.top);
        device.setFont({shape.face.toString(), fit.pointSize, shape.bold});
        for (qsizetype row = 0; row < fit.rows.size(); ++row) {
            const double below = double(row) * SheetFaceMetrics::lineHeightTwips(fit.pointSize);
            device.setPosition(QPointF(shape.left, shape.top + below));
            device.printText(fit.rows[row], LineAdvance::NextLine);
        }
    }
}

void InjectionCardPrintout::printBody(PageDevice& device, const QList<BodyRow>& rows) const
{
    device.setFont({sheet::kCardBodyFace.toString(), kBodyPointSize, false});
    device.setCurrentY(sheet::kCardBodyRect.top);
    for (const BodyRow& row : rows) {
        device.setCurrentX(sheet::kCardBodyRect.left);
        device.setCurrentY(device.currentY() + kBodyLineGap);
        device.printText(row.text, LineAdvance::NextLine);
    }
}

void InjectionCardPrintout::printFrame(PageDevice& device) const
{
    for (const sheet::TwipLine& line : sheet::kCardLines) {
        device.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
    }
}

} // namespace quilloa
