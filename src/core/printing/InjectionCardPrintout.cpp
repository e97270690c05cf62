#include "core/printing/InjectionCardPrintout.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/BodyLines.h"
#include "core/printing/PageDevice.h"
#include "core/printing/PrintJobName.h"

#include <utility>

namespace quilloa {

InjectionCardPrintout::Card::Card()
{
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = sheet::kCardCaptions[i].text.toString();
    }
}

InjectionCardPrintout::InjectionCardPrintout(Card card, PrintMargins margins)
    : m_card(std::move(card)), m_margins(margins)
{
}

bool InjectionCardPrintout::print(PageDevice& device) const
{
    device.setUnit(PageUnit::Twips);
    device.setOrigin(-m_margins.leftTwips(), -m_margins.topTwips());
    if (!device.begin()) {
        return false;
    }
    printCaptions(device);
    printBody(device);
    // Drawn last, over the texts: nothing is clipped to the frame.
    printFrame(device);
    return device.end();
}

QString InjectionCardPrintout::jobName(QDate today) const
{
    const QString patient = m_card.captions[sheet::CardPatientCaption].section(QChar(0xFF0C), 0, 0);
    return PrintJobName::compose(QStringLiteral("注射卡"), patient,
                                 m_card.captions[sheet::CardDateCaption], today);
}

void InjectionCardPrintout::printCaptions(PageDevice& device) const
{
    for (std::size_t i = 0; i < m_card.captions.size(); ++i) {
        const sheet::CaptionLayout& shape = sheet::kCardCaptions[i];
        device.setFont({shape.face.toString(), shape.pointSize, shape.bold});
        device.setPosition(QPointF(shape.left, shape.top));
        device.printText(m_card.captions[i], LineAdvance::NextLine);
    }
}

void InjectionCardPrintout::printBody(PageDevice& device) const
{
    device.setFont({sheet::kCardBodyFace.toString(), kBodyPointSize, false});
    device.setCurrentY(sheet::kCardBodyRect.top);
    for (const QString& line : BodyLines::split(m_card.body, kMaxBodyLines)) {
        device.setCurrentX(sheet::kCardBodyRect.left);
        device.setCurrentY(device.currentY() + kBodyLineGap);
        device.printText(line, LineAdvance::NextLine);
    }
}

void InjectionCardPrintout::printFrame(PageDevice& device) const
{
    for (const sheet::TwipLine& line : sheet::kCardLines) {
        device.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
    }
}

} // namespace quilloa
