#include "core/printing/PageDevice.h"

namespace quilloa {

PageDevice::~PageDevice() = default;

void PageDevice::setUnit(PageUnit unit)
{
    m_unit = unit;
    unitChanged();
}

void PageDevice::setOrigin(double left, double top)
{
    m_origin = QPointF(left, top);
    originChanged();
}

void PageDevice::setOrientation(PageOrientation orientation)
{
    m_orientation = orientation;
    orientationChanged();
}

void PageDevice::printText(const QString& text, LineAdvance advance)
{
    drawTextAt(m_position, text, advance);
    if (advance == LineAdvance::NextLine) {
        m_position = QPointF(m_origin.x(), m_position.y() + lineHeight());
    } else {
        m_position.setX(m_position.x() + textWidth(text));
    }
}

void PageDevice::drawLine(QPointF from, QPointF to)
{
    drawLineBetween(from, to);
}

} // namespace quilloa
