#include "ui/printing/PainterPageDevice.h"

#include "core/printing/SheetFaceMetrics.h"
#include "ui/printing/CellText.h"

namespace quilloa {

PainterPageDevice::PainterPageDevice(PaperSetup paper) : m_paper(paper) {}

PainterPageDevice::~PainterPageDevice() = default;

bool PainterPageDevice::begin()
{
    if (m_painter.isActive()) {
        return true;
    }
    m_jobOrientation = orientation();
    if (!openTarget(m_painter, m_paper.pageSize(m_jobOrientation), m_jobOrientation)) {
        return m_error.isEmpty() ? fail(QStringLiteral("无法开始打印。")) : false;
    }
    preparePage();
    return true;
}

bool PainterPageDevice::end()
{
    if (!m_painter.isActive()) {
        return m_error.isEmpty() ? fail(QStringLiteral("打印任务没有开始。")) : false;
    }
    if (!closeTarget(m_painter)) {
        return m_error.isEmpty() ? fail(QStringLiteral("打印任务未能完成。")) : false;
    }
    return m_error.isEmpty();
}

void PainterPageDevice::newPage()
{
    if (!m_painter.isActive()) {
        return;
    }
    if (!nextTargetPage(m_painter)) {
        fail(QStringLiteral("无法开始新的一页。"));
        return;
    }
    preparePage();
}

QSizeF PainterPageDevice::printableMillimetres() const
{
    const QSizeF page = m_paper.pageSize(orientation());
    const QMarginsF strips = m_paper.unprintableOnPage(orientation());
    return {page.width() - strips.left() - strips.right(),
            page.height() - strips.top() - strips.bottom()};
}

bool PainterPageDevice::fail(const QString& error)
{
    m_error = error;
    return false;
}

// Every page starts in twips with (0, 0) at the printable corner, whatever the target's own
// resolution.
void PainterPageDevice::preparePage()
{
    m_painter.resetTransform();
    const QPaintDevice* target = m_painter.device();
    m_painter.scale(target->logicalDpiX() / 1440.0, target->logicalDpiY() / 1440.0);
    m_painter.translate(m_paper.printableCorner(m_jobOrientation) * kTwipsPerMillimetre);
    m_painter.scale(scale(), scale());
    m_painter.setPen(QPen(Qt::black, 0)); // width 0: the thinnest line the device draws
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void PainterPageDevice::drawTextAt(QPointF topLeft, const QString& text, LineAdvance)
{
    if (!m_painter.isActive() || text.isEmpty()) {
        return;
    }
    // Sized in twips, the painter's unit, so that the target's resolution plays no part.
    const double em = SheetFaceMetrics::emTwips(font().pointSize);
    m_painter.setFont(CellText::standIn(font().face, em, font().bold));
    CellText::draw(m_painter, toTwips(topLeft), text, em);
}

void PainterPageDevice::drawLineBetween(QPointF from, QPointF to)
{
    if (m_painter.isActive()) {
        m_painter.drawLine(toTwips(from), toTwips(to));
    }
}

double PainterPageDevice::lineHeight() const
{
    return SheetFaceMetrics::lineHeightTwips(font().pointSize) / twipsPerUnit();
}

double PainterPageDevice::textWidth(const QString& text) const
{
    return SheetFaceMetrics::textWidthTwips(text, font().pointSize) / twipsPerUnit();
}

double PainterPageDevice::twipsPerUnit() const
{
    return unit() == PageUnit::Millimetres ? kTwipsPerMillimetre : 1.0;
}

QPointF PainterPageDevice::toTwips(QPointF position) const
{
    return (position - origin()) * twipsPerUnit();
}

} // namespace quilloa
